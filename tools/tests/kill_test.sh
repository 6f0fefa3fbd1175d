#!/usr/bin/env bash
# kill_test.sh SOURCE_DIR BUILD_DIR [KILLS]
# A crash of the program itself, on the display of tools/testing/with-xvfb.sh:
# `nodrel -test` on a generated workspace of 6 boards x 20 Cases is killed
# with SIGKILL at KILLS (default 50) random moments of its life (the start
# page, the loading, the exerciser's clicks and board switches and their
# saves). After each kill the workspace must pass `nodrel-tool check`, every
# record file must have its record's size and no file may have been kept
# aside as damaged; the next run opens it again. At the end the program opens
# it once more and ends normally. ND_KILL_SEED repeats a run's moments.
set -uo pipefail
src=$1
build=$2
kills=${3:-50}
export ND_NODREL=$build/app/nodrel
tool=$build/tools/nodrel-tool
# shellcheck source=../testing/nodrel_run.sh
. "$src/tools/testing/nodrel_run.sh"

seed=${ND_KILL_SEED:-$(od -An -N2 -tu2 /dev/urandom | tr -d ' ')}
RANDOM=$seed
echo "kill test: seed $seed (ND_KILL_SEED=$seed repeats these moments)"

work=$(mktemp -d "${TMPDIR:-/tmp}/nd_kill.XXXXXX")
ND_PID=
cleanup() {
    if [ -n "$ND_PID" ] && nd_alive; then kill -9 "$ND_PID" 2>/dev/null; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    echo "--- nodrel.log (last lines)" >&2
    tail -n 20 "$work/nodrel.log" >&2
    exit 1
}

wk=$work/Kill.wk
root=$work/Kill
"$build/tools/nd_make_workspace" "$wk" 6 20 || fail "the workspace could not be made"
nd_prepare "$work" "$wk"

# Whether the workspace on disk is sound: the check passes, every record
# file is whole, and nothing was kept aside as damaged.
expect_sound() {
    local what=$1 out broken kept
    if ! out=$("$tool" check "$wk" 2>&1); then
        fail "$what: the check failed:
$out"
    fi
    broken=$(nd_files_whole "$root")
    [ -z "$broken" ] || fail "$what: files not whole: $broken"
    kept=$(find "$work" -name '*.bad*')
    [ -z "$kept" ] || fail "$what: files kept aside as damaged: $kept"
}

start=$(date +%s)
on_board=0
for ((kill_no = 1; kill_no <= kills; kill_no++)); do
    # A moment from the start of the program to three seconds after it:
    # the board of this workspace shows after about one.
    delay_ms=$((RANDOM % 3000))
    nd_start "$work" -test
    (
        sleep "$((delay_ms / 1000)).$(printf '%03d' $((delay_ms % 1000)))"
        kill -9 "$ND_PID" 2>/dev/null
    ) &
    killer=$!
    nd_open_board 10 >/dev/null 2>&1 && on_board=$((on_board + 1))
    wait "$killer"
    status=0
    wait "$ND_PID" || status=$?
    ND_PID=
    [ $status -eq 137 ] || fail "kill $kill_no: nodrel ended with status $status before the kill at $delay_ms ms"
    expect_sound "after kill $kill_no at $delay_ms ms"
done
echo "kill test: $kills kills in $(($(date +%s) - start)) s ($on_board of them with the board" \
     "shown), the workspace sound after each"

# It opens in the program once more, and a normal end leaves it sound.
nd_start "$work"
nd_open_board 30 || fail "the workspace did not open after the kills"
kill -TERM "$ND_PID"
status=0
wait "$ND_PID" || status=$?
ND_PID=
[ $status -eq 0 ] || fail "nodrel ended with status $status after SIGTERM"
expect_sound "after the last, normal run"
echo "kill test: PASS"
