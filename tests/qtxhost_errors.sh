#!/bin/sh
# qtxhost refuses what it cannot do with one clear line and exit code 2, never a crash: a script
# line is checked whole before any of it runs, and its refusal ends with its command's usage. A
# script whose expectation fails, or whose line hangs, ends with exit code 1 and one FAIL line.
# Arguments: the wine wrapper, qtxhost.exe, the module, a scratch folder, emptied first: nothing
# an earlier run left may stand in for what a case makes.
wine="$1" host="$2" module="$3" work="$4"
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
failures=0

# judge STATUS NAME PATTERN ACTUAL: the run NAME (its output in NAME.out and NAME.err) ended with
# ACTUAL; it must end with STATUS and say one line matching PATTERN, on stderr for a refusal (2),
# among the FAIL lines on stdout for a failed expectation (1); a run that passes (0) says none.
judge() {
    wanted="$1" name="$2" pattern="$3" status="$4"
    if [ "$wanted" -eq 2 ]; then said="$(cat "$name.err")"; else said="$(grep ': FAIL: ' "$name.out")"; fi
    if [ "$status" -ne "$wanted" ] || [ "$(printf '%s\n' "$said" | wc -l)" -ne 1 ] ||
        ! printf '%s\n' "$said" | grep -q "$pattern"; then
        echo "FAIL $name: expected exit $wanted and one line matching '$pattern', got exit $status:"
        cat "$name.err" "$name.out"
        failures=$((failures + 1))
    else
        printf 'ok %s: %s\n' "$name" "$said"
    fi
}

# expect STATUS NAME PATTERN COMMAND...: runs qtxhost with COMMAND and judges it.
expect() {
    wanted="$1" name="$2" pattern="$3"
    shift 3
    $runner "$wine" "$host" "$@" </dev/null >"$name.out" 2>"$name.err"
    judge "$wanted" "$name" "$pattern" $?
}

# A line that waits for ever (a saved state read from a pipe whose server never writes) fails at
# its limit, naming the call the module was in, and the script stops there. It waits out its
# 10 s beside the other cases.
printf 'pipe-server "qtx_silent"\nload-state "\\\\.\\pipe\\qtx_silent"\necho "not reached"\n' >hang.qtxs
"$wine" "$host" run "$module" hang.qtxs </dev/null >hanging-line.out 2>hanging-line.err &
hanging=$!

printf 'not a module' >plain.txt
expect 2 missing-module "no such file" describe missing.qtx
expect 2 not-a-module "not a module" describe plain.txt
expect 2 usage "usage: .*qtxhost --help lists the commands" frobnicate
expect 2 unknown-option "unknown option --frob (qtxhost --help" --frob run "$module" nothing.qtxs
expect 2 option-without-value "a value is missing after --set" run "$module" nothing.qtxs --set
# --help, -h and /? print every command, option and script command, the developers' apart, and
# the guide's name, on stdout; options are taken after the command too.
for asked in --help -h '/?'; do
    "$wine" "$host" "$asked" </dev/null >help.out 2>help.err
    status=$?
    if [ "$status" -ne 0 ] || [ -s help.err ] || ! grep -q "^  qtxhost \[OPTION...\] run MODULE SCRIPT" help.out ||
        ! grep -q "^  filetime PATH created|modified|accessed" help.out ||
        ! grep -q "^For the object's developers: command line:" help.out || ! grep -q "QTXHOST.txt" help.out; then
        echo "FAIL help $asked: exit $status:"
        cat help.err help.out
        failures=$((failures + 1))
    else
        echo "ok help $asked"
    fi
done
# Each call reads as the editor writes it, the first object named File. A failed action says so
# on its own line, in the error table's words; one that succeeds says nothing more, and neither
# does the action that clears the error.
printf 'said' >said.txt
printf 'action "Copy a file" "missing.txt" "b.txt"\naction "Clear the last error"\naction "Copy a file" "said.txt" "copy.txt"\ncondition "Last action OK"\nexpression "LastError("\n' >said.qtxs
"$wine" "$host" run "$module" said.qtxs </dev/null >said.raw 2>said.err
status=$?
tr -d '\r' <said.raw >said.out
if [ "$status" -ne 0 ] || [ "$(grep -c -- '-> last error' said.out)" -ne 1 ] ||
    ! grep -qx '1: -> last error 2: The file or folder is not there' said.out ||
    ! grep -qx '1: Copy "missing.txt" to "b.txt"' said.out || ! grep -qx '4: File: Last action OK = 1' said.out ||
    ! grep -qx '5: LastError( ) = 0' said.out; then
    echo "FAIL failed-action-said: exit $status:"
    cat said.err said.out
    failures=$((failures + 1))
else
    echo "ok failed-action-said"
fi
printf 'write "late.txt" $LATE\nfile "late.txt" -> "given after run"\n' >late-option.qtxs
expect 0 late-option "" run "$module" late-option.qtxs --set "LATE=given after run"
expect 2 no-script "cannot read the script" run "$module" nothing.qtxs
# Short scripts: STATUS|NAME|PATTERN|LINES (\n between lines), the first seven the mistakes a new
# user makes; the line without a display runs with DISPLAY unset (and Wine silent about it). A
# script is checked whole before its first line runs, a kept value with the type its entry gives.
# A text expectation fails on an integer or null result, negated or not. None of the refused
# lines may run: kept.txt stays, made is not made.
printf 'kept' >kept.txt
while IFS="|" read -r code name pattern line; do
    printf '%b\n' "$line" >"$name.qtxs"
    runner="$([ "$name" = no-display ] && echo env -u DISPLAY WINEDEBUG=-all)"
    expect "$code" "$name" "$pattern" run "$module" "$name.qtxs"
done <<'EOF'
2|expectation-on-action|action gives no value to compare (usage: action ENTRY|action "Delete a file" "kept.txt" -> 0
2|unterminated-string|unterminated string (usage: action ENTRY|action "Copy a file "kept.txt" "b.txt"
2|unknown-command|unknown command acton (did you mean action?) (usage: action ENTRY|acton "Delete a file" "kept.txt"
2|misspelt-entry|no action is named "Delete a fil" (did you mean "Delete a file", |action "Delete a fil" "kept.txt"
2|too-few-parameters|condition "Name exists" takes 1 parameter ("Name to test"), the line gives 0 (usage: condition ENTRY|condition "Name exists"
2|unknown-variable|unknown value $NAME (usage: action ENTRY|action "Delete a file" $NAME
2|no-display|no display: .* (usage: action ENTRY|action "Open load selector" "kept.txt"
2|extra-parameter|unexpected "extra" at the end of the line (usage: mkdir PATH)|mkdir "made" "extra"
2|wrong-type|must be a text|expression "Sizeof(" 12
2|device-file|no file on disk|file "aux.tar.gz"
2|fifo-file|no file on disk|file "M:\\fifo"
2|let-without-command|the command is missing after let x =|let x =
2|windows-reason|cannot create missing.sub (error 3: |mkdir "missing\\sub"
2|checked-before-run|:2: no action is named "Delete a fil"|action "Delete a file" "kept.txt"\naction "Delete a fil" "kept.txt"
2|kept-type-checked|:2: parameter 1 of "Size of a file" must be a text|let size = expression "Sizeof(" "kept.txt"\nexpression "Sizeof(" $size
0|kept-value-either-type||let here = cwd\nexpression "Sizeof(" $here + "\\kept.txt" -> 4
1|not-like-integer|expected not like "5", got -1|expression "Sizeof(" "missing" -> not like "5"
1|not-length-integer|expected not length 3, got -1|expression "Sizeof(" "missing" -> not length 3
1|not-like-null|expected not like "x", got null|file "missing" -> not like "x"
EOF
if [ "$(cat kept.txt)" != kept ] || [ -e made ]; then
    echo "FAIL: a refused line ran"
    failures=$((failures + 1))
fi
wait "$hanging"
judge 1 hanging-line 'no answer after 10 s, in load-state .*ReadFile' $?
if grep -q "not reached" hanging-line.out; then
    echo "FAIL hanging-line: the script went on after the line that hung"
    failures=$((failures + 1))
fi

echo "qtxhost_errors: $failures failure(s)"
[ "$failures" -eq 0 ]
