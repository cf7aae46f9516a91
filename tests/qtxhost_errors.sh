#!/bin/sh
# qtxhost refuses what it cannot do with one clear line and exit code 2, never a crash.
# Arguments: the wine wrapper, qtxhost.exe, the module, a scratch folder.
wine="$1" host="$2" module="$3" work="$4"
mkdir -p "$work" && cd "$work" || exit 1
failures=0

expect_refusal() {   # expect_refusal NAME PATTERN COMMAND...
    name="$1" pattern="$2"
    shift 2
    "$wine" "$host" "$@" </dev/null >out.txt 2>err.txt
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
expect_refusal missing-module "no such file" describe missing.qtx
expect_refusal not-a-module "not a module" describe plain.txt
expect_refusal usage "usage" frobnicate
expect_refusal no-script "cannot read the script" run "$module" nothing.qtxs
# One-line scripts: NAME|PATTERN|LINE
while IFS='|' read -r name pattern line; do
    printf '%s\n' "$line" >"$name.qtxs"
    expect_refusal "$name" "$pattern" run "$module" "$name.qtxs"
done <<'EOF'
unknown-entry|no condition is named|condition "No such entry"
too-few-parameters|takes 1 parameter|condition "Name exists"
one-of-two-parameters|takes 2 parameter|action "Copy a file" "a"
wrong-type|must be a text|expression "Sizeof(" 12
unknown-command|unknown command|frobnicate 1
EOF

# A text expectation fails on an integer or null result, negated or not: exit 1.
for line in 'expression "Sizeof(" "missing" -> not like "5"' \
    'expression "Sizeof(" "missing" -> not length 3' 'file "missing" -> not like "x"'; do
    printf '%s\n' "$line" >expectation.qtxs
    "$wine" "$host" run "$module" expectation.qtxs </dev/null >out.txt 2>&1
    status=$?
    if [ "$status" -ne 1 ]; then
        echo "FAIL expectation $line: expected exit 1, got $status"
        failures=$((failures + 1))
    fi
done

echo "qtxhost_errors: $failures failure(s)"
[ "$failures" -eq 0 ]
