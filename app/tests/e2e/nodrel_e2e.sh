#!/usr/bin/env bash
# nodrel_e2e.sh NODREL PROBE CASE
# Display tests of the real program; run under tools/testing/with-xvfb.sh,
# which gives a private 1600x900 X server with no window manager. Each case
# starts nodrel in a fresh program directory and always cleans up after it.
set -uo pipefail
nodrel=$1
probe=$2
case_name=$3
class="Nodrel Canvas"
background=5a5c50

work=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid" 2>/dev/null; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

start() {
    mkdir -p "$work/prog" "$work/tmp"
    "$probe" atoms -
    (cd "$work/prog" && TMPDIR="$work/tmp" exec "$nodrel" "$@") &
    pid=$!
    "$probe" wait "$class" 5000 >/dev/null || fail "no window appeared"
}

# Waits up to 5 s for nodrel to end and checks its exit status.
expect_exit_zero() {
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "nodrel did not end"
    wait "$pid"
    local rc=$?
    pid=
    [ "$rc" -eq 0 ] || fail "exit status $rc"
}

# Processor time of nodrel over $1 seconds, in percent of one core.
cpu_percent() {
    local hz ticks0 ticks1
    hz=$(getconf CLK_TCK)
    ticks0=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    sleep "$1"
    ticks1=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    awk -v a="$ticks0" -v b="$ticks1" -v hz="$hz" -v s="$1" \
        'BEGIN { printf "%.1f", (b - a) * 100 / hz / s }'
}

check_window() {
    read -r x y w h borderless < <("$probe" geometry "$class") || fail "no geometry"
    [ "$x $y $w $h" = "0 0 1600 900" ] || fail "window at $x,$y size ${w}x$h, want the work area"
    [ "$borderless" = 1 ] || fail "window has decorations"
    local match total
    for _ in $(seq 20); do
        read -r match total < <("$probe" count "$class" "$background")
        [ "$match" = "$total" ] && return 0
        sleep 0.1
    done
    fail "$match of $total pixels are the background colour"
}

case "$case_name" in
    start)
        start
        [ -d "$work/prog/workspace" ] || fail "workspace/ was not created"
        [ -d "$work/tmp/{0319-0407-0119-0418-dc85ec87209e}" ] || fail "temporary folder missing"
        check_window
        sleep 3  # let the idle rate set in
        echo "idle processor time: $(cpu_percent 2)% of one core"
        "$probe" close "$class" || fail "close request not sent"
        expect_exit_zero
        ;;
    sigterm)
        start
        check_window
        # The second signal arrives while the first one's shutdown runs.
        kill -TERM "$pid"
        kill -TERM "$pid"
        expect_exit_zero
        ;;
    sigint)
        start
        kill -INT "$pid"
        expect_exit_zero
        ;;
    other-argument)
        start -x
        [ -d "$work/prog/workspace" ] || fail "workspace/ was not created"
        check_window
        "$probe" close "$class" || fail "close request not sent"
        expect_exit_zero
        ;;
    *)
        fail "unknown case $case_name"
        ;;
esac
echo "ok: $case_name"
