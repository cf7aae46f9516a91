#!/bin/sh
# The module beside other programs on the same disk, each a neighbour.exe in the build's Wine
# session, in the folder WORK made afresh for each case:
#   held      a neighbour holds log.txt open for writing and writes to it while SCRIPT (a qtxhost
#             script) tries every transfer onto it and from it: each is refused, nothing changes;
#   appended  a logger appends numbered lines to log.txt while a second program moves log.txt away
#             again and again: every line ends up once in log.txt or in one of the moved copies;
#   renamed   two copies of an application rename their own file into final.txt and back, at once:
#             both files survive, each with its content.
# The last two are races. Their sizes are chosen so that the module as it was before it held its
# files (it deleted a moved file by name after letting it go; after a failed rename it deleted
# what it took for its own leftover) lost a line or a file in most runs. Now none may be lost.
#
#   neighbours.sh WINE_SH NEIGHBOUR_EXE QTXHOST_EXE MODULE SCRIPT WORK
set -u
wine="$1" neighbour="$2" qtxhost="$3" module="$4" script="$5" work="$6"
LINES=2000
ROUNDS=400
WAIT_TENTHS=600   # a neighbour that has not said it is ready after a minute has failed
failures=0

fail() {
    echo "FAIL $*"
    failures=$((failures + 1))
}

fresh() {
    cd / && rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 2
}

# Starts a neighbour in the background, its output in NAME.out, its process in $started, and
# waits until it says WORD (its setup is done).
start() {
    name="$1" word="$2"
    shift 2
    : >"$name.out"
    "$wine" "$neighbour" "$@" >"$name.out" &
    started=$!
    tenths=0
    until tr -d '\r' <"$name.out" | grep -qx "$word"; do
        tenths=$((tenths + 1))
        if [ "$tenths" -ge "$WAIT_TENTHS" ] || ! kill -0 "$started" 2>/dev/null; then
            fail "$name never said $word: $(cat "$name.out")"
            return
        fi
        sleep 0.1
    done
}

contents() {
    if [ -f "$1" ]; then tr -d '\r' <"$1"; else printf '(missing)'; fi
}

held() {
    fresh
    printf 'source' >source.txt
    printf 'log' >log.txt
    start holder held hold log.txt release
    "$wine" "$qtxhost" run "$module" "$script" || fail "held: $script"
    touch release
    wait "$started"
    # The holder's bytes alone follow the old content: nothing of the source reached the log.
    contents log.txt | grep -qx 'logw*' || fail "held: log.txt holds \"$(contents log.txt)\""
}

appended() {
    fresh
    start logger ready append log.txt "$LINES"
    logger=$started
    start mover ready moves "$module" log.txt appended
    mover=$started
    touch go
    wait "$logger" || fail "appended: the logger failed: $(contents logger.out)"
    touch appended
    wait "$mover"
    cat log.txt* 2>/dev/null | tr -d '\r' | sort -n >lines
    seq 1 "$LINES" >expected
    cmp -s lines expected || fail "appended: $(sort -nu lines | wc -l) different lines of $LINES kept, $(wc -l <lines) in all"
    tail -n 1 mover.out
}

renamed() {
    fresh
    printf 'first' >first.txt
    printf 'second' >second.txt
    start first ready renames "$module" first.txt final.txt "$ROUNDS"
    first=$started
    start second ready renames "$module" second.txt final.txt "$ROUNDS"
    second=$started
    touch go
    wait "$first" || fail "renamed: $(contents first.out)"
    wait "$second" || fail "renamed: $(contents second.out)"
    [ "$(contents first.txt)" = first ] || fail "renamed: first.txt holds \"$(contents first.txt)\""
    [ "$(contents second.txt)" = second ] || fail "renamed: second.txt holds \"$(contents second.txt)\""
    tail -q -n 1 first.out second.out
}

for case in held appended renamed; do
    "$case"
    echo "$case: done"
done
cd / && [ -n "${KEEP:-}" ] || rm -rf "$work"
echo "neighbours: $failures failed"
[ "$failures" -eq 0 ]
