#!/bin/sh
# qtxhost refuses what it cannot do with one clear line and exit code 2, never a crash; a script
# whose expectation fails, or whose line hangs, ends with exit code 1 and one FAIL line.
# Arguments: the wine wrapper, qtxhost.exe, the module, a scratch folder.
wine="$1" host="$2" module="$3" work="$4"
mkdir -p "$work" && cd "$work" || exit 1
failures=0

# expect STATUS NAME PATTERN COMMAND...: exit STATUS and one line matching PATTERN, on stderr for
# a refusal (2), among the FAIL lines on stdout for a failed expectation (1).
expect() {
    wanted="$1" name="$2" pattern="$3"
    shift 3
    "$wine" "$host" "$@" </dev/null >out.txt 2>err.txt
    status=$?
    if [ "$wanted" -eq 2 ]; then said="$(cat err.txt)"; else said="$(grep ': FAIL: ' out.txt)"; fi
    if [ "$status" -ne "$wanted" ] || [ "$(printf '%s\n' "$said" | wc -l)" -ne 1 ] ||
        ! printf '%s\n' "$said" | grep -q "$pattern"; then
        echo "FAIL $name: expected exit $wanted and one line matching '$pattern', got exit $status:"
        cat err.txt out.txt
        failures=$((failures + 1))
    else
        printf 'ok %s: %s\n' "$name" "$said"
    fi
}

printf 'not a module' >plain.txt
expect 2 missing-module "no such file" describe missing.qtx
expect 2 not-a-module "not a module" describe plain.txt
expect 2 usage "usage" frobnicate
expect 2 no-script "cannot read the script" run "$module" nothing.qtxs
# One-line scripts: STATUS|NAME|PATTERN|LINE. A text expectation fails on an integer or null
# result, negated or not.
while IFS="|" read -r code name pattern line; do
    printf '%s\n' "$line" >"$name.qtxs"
    expect "$code" "$name" "$pattern" run "$module" "$name.qtxs"
done <<'EOF'
2|unknown-entry|no condition is named|condition "No such entry"
2|too-few-parameters|takes 1 parameter|condition "Name exists"
2|one-of-two-parameters|takes 2 parameter|action "Copy a file" "a"
2|wrong-type|must be a text|expression "Sizeof(" 12
2|unknown-command|unknown command|frobnicate 1
2|device-file|no file on disk|file "aux.tar.gz"
2|fifo-file|no file on disk|file "M:\fifo"
1|not-like-integer|expected not like "5", got -1|expression "Sizeof(" "missing" -> not like "5"
1|not-length-integer|expected not length 3, got -1|expression "Sizeof(" "missing" -> not length 3
1|not-like-null|expected not like "x", got null|file "missing" -> not like "x"
EOF
# A line that waits for ever (a saved state read from a pipe whose server never writes) fails at
# its limit, naming the call the module was in, and the script stops there.
printf 'pipe-server "qtx_silent"\nload-state "\\\\.\\pipe\\qtx_silent"\necho "not reached"\n' >hang.qtxs
expect 1 hanging-line 'no answer after 10 s, in load-state .*ReadFile' run "$module" hang.qtxs
if grep -q "not reached" out.txt; then
    echo "FAIL hanging-line: the script went on after the line that hung"
    failures=$((failures + 1))
fi

echo "qtxhost_errors: $failures failure(s)"
[ "$failures" -eq 0 ]
