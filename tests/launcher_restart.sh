#!/bin/sh
# scripts/wine.sh starts a program again only when Wine ended with status 1 before the program
# could have run, twice at most; every other ending is passed on as it is. A stand-in for wine64
# (QTFILE_WINE64) ends as each case says, its Nth start as the case's Nth word ("quick1": status
# 1 at once, "slow1": status 1 after 2 s, "quick2": status 2 at once, "ran": it prints and ends 0).
# What counts as at once is 1 s here (QTFILE_QUICK_MS), so that a loaded machine cannot make a
# quick ending slow.
#
#   launcher_restart.sh WINE_SH WORK   (WINE_SH: a build's wine.sh)
launcher="$1" work="$2"
failures=0
rm -rf "$work" && mkdir -p "$work" || exit 2
cat >"$work/wine64" <<'STANDIN'
#!/bin/sh
PROGRAM="$*"
read -r count <"$WORK/starts"
count=$((count + 1))
echo "$count" >"$WORK/starts"
set -- $ENDINGS
shift $((count - 1))
case "$1" in
quick1) exit 1 ;;
slow1) sleep 2; exit 1 ;;
quick2) exit 2 ;;
*) echo "ran $PROGRAM" ;;
esac
STANDIN
chmod +x "$work/wine64"

# case ENDINGS STATUS STARTS SAID: the launcher must end with STATUS after STARTS starts, and say
# it started again exactly when SAID is yes.
case_of() {
    echo 0 >"$work/starts"
    status=0
    env -u QTFILE_DISPLAYS -u QTFILE_COUNT_STARTS WORK="$work" ENDINGS="$1" QTFILE_WINE64="$work/wine64" QTFILE_QUICK_MS=1000 \
        "$launcher" program.exe word >"$work/out" 2>"$work/err" || status=$?
    said=no
    grep -q "before the program ran; starting it again" "$work/err" && said=yes
    found="status $status, $(cat "$work/starts") start(s), said $said"
    if [ "$found" = "status $2, $3 start(s), said $4" ]; then
        echo "ok $1: $found"
    else
        echo "FAIL $1: expected status $2, $3 start(s), said $4; found $found: $(cat "$work/err")"
        failures=$((failures + 1))
    fi
}
case_of "ran" 0 1 no
case_of "quick1 ran" 0 2 yes
# The program started again gets its arguments, and its output is what the test reads.
grep -qx "ran program.exe word" "$work/out" || { echo "FAIL the program's words: $(cat "$work/out")"; failures=$((failures + 1)); }
case_of "quick1 quick1 ran" 0 3 yes
case_of "quick1 quick1 quick1 ran" 1 3 yes
case_of "slow1 ran" 1 1 no
case_of "quick2 ran" 2 1 no
rm -rf "$work"
echo "launcher_restart: $failures failure(s)"
[ "$failures" -eq 0 ]
