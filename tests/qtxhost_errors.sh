#!/bin/sh
# qtxhost refuses what it cannot do with one clear line and exit code 2, never a crash.
# Arguments: the wine wrapper, qtxhost.exe, the module, a scratch folder.
wine="$1" host="$2" module="$3" work="$4"
mkdir -p "$work" && cd "$work" || exit 1
failures=0

expect_refusal() {   # expect_refusal NAME PATTERN COMMAND...
    name="$1" pattern="$2"
    shift 2
    "$wine" "$host" "$@" >out.txt 2>err.txt
    status=$?
    lines=$(wc -l <err.txt)
    if [ "$status" -ne 2 ] || [ "$lines" -ne 1 ] || ! grep -q "$pattern" err.txt; then
        echo "FAIL $name: expected exit 2 and one line matching '$pattern', got exit $status:"
        cat err.txt
        failures=$((failures + 1))
    else
        printf 'ok %s: %s\n' "$name" "$(cat err.txt)"
    fi
}

printf 'not a module' >plain.txt
printf 'condition "No such entry"\n' >unknown.qtxs
printf 'condition "Name exists"\n' >missing.qtxs
printf 'action "Copy a file" "a"\n' >short.qtxs
printf 'expression "Sizeof(" 12\n' >wrongtype.qtxs
printf 'frobnicate 1\n' >command.qtxs

expect_refusal missing-module "no such file" describe missing.qtx
expect_refusal not-a-module "not a module" describe plain.txt
expect_refusal unknown-entry "no condition is named" run "$module" unknown.qtxs
expect_refusal too-few-parameters "takes 1 parameter" run "$module" missing.qtxs
expect_refusal one-of-two-parameters "takes 2 parameter" run "$module" short.qtxs
expect_refusal wrong-type "must be a text" run "$module" wrongtype.qtxs
expect_refusal unknown-command "unknown command" run "$module" command.qtxs
expect_refusal no-script "cannot read the script" run "$module" nothing.qtxs
expect_refusal usage "usage" frobnicate

echo "qtxhost_errors: $failures failure(s)"
[ "$failures" -eq 0 ]
