# Sourced by the long unattended run (tools/soak.sh) and the kill test
# (tools/tests/kill_test.sh): they drive the real nodrel on the display that
# tools/testing/with-xvfb.sh gives them (1600x900, no window manager).
#
# nd_prepare DIR WK    a program directory DIR/prog, a temporary folder
#                      DIR/tmp and a file chooser stand-in that answers the
#                      start page's "open" with WK
# nd_start DIR ARGS... starts nodrel (ND_NODREL) in DIR/prog, its output in
#                      DIR/nodrel.log; its process id in ND_PID
# nd_open_board [SECS] clicks "open" on the start page until the main window
#                      shows (1 when it did not within SECS, or nodrel ended)
# nd_alive             0 while nodrel runs
# nd_rss_kib, nd_fds   its resident memory (KiB) and open descriptors; the
#                      descriptors are the fewest of five looks 0.1 s apart,
#                      so a file a worker has open for a moment does not count
# nd_files_whole ROOT  every record file below the workspace folder ROOT has
#                      its record's exact size (the names of the bad ones on
#                      standard output)

# The centre of the start page's "open" button (app/start/layout.h, kOpen).
ND_OPEN_X=660
ND_OPEN_Y=317

nd_prepare() {
    local dir=$1 wk=$2
    mkdir -p "$dir/prog" "$dir/tmp"
    printf '#!/bin/sh\necho %s\n' "'$wk'" >"$dir/chooser.sh"
    chmod 700 "$dir/chooser.sh"
}

nd_start() {
    local dir=$1
    shift
    (
        cd "$dir/prog" || exit 127
        TMPDIR=$dir/tmp ND_FILE_CHOOSER=$dir/chooser.sh exec "$ND_NODREL" "$@" \
            >>"$dir/nodrel.log" 2>&1
    ) &
    ND_PID=$!
}

nd_alive() {
    kill -0 "$ND_PID" 2>/dev/null && [ "$(awk '{print $3}' "/proc/$ND_PID/stat" 2>/dev/null)" != Z ]
}

# The id of a shown window of nodrel that is WIDTH wide, or nothing.
nd_window_of_width() {
    local w geometry
    for w in $(xdotool search --onlyvisible --pid "$ND_PID" 2>/dev/null); do
        geometry=$(xdotool getwindowgeometry --shell "$w" 2>/dev/null) || continue
        if grep -qx "WIDTH=$1" <<<"$geometry"; then
            echo "$w"
            return
        fi
    done
}

nd_open_board() {
    local limit=$((${1:-30} * 10)) tenths=0 page
    while [ $tenths -lt $limit ] && nd_alive; do
        [ -n "$(nd_window_of_width 1600)" ] && return 0
        page=$(nd_window_of_width 1000)
        # A page that was not yet taking input gets another click; once
        # the workspace loads, the page ignores clicks.
        if [ -n "$page" ] && [ $((tenths % 10)) -eq 0 ]; then
            xdotool mousemove --window "$page" $ND_OPEN_X $ND_OPEN_Y click 1 2>/dev/null || true
        fi
        sleep 0.1
        tenths=$((tenths + 1))
    done
    return 1
}

nd_rss_kib() {
    awk '/^VmRSS:/ {print $2}' "/proc/$ND_PID/status"
}

nd_fds() {
    local fewest= n
    for _ in 1 2 3 4 5; do
        n=$(ls "/proc/$ND_PID/fd" | wc -l)
        if [ -z "$fewest" ] || [ "$n" -lt "$fewest" ]; then fewest=$n; fi
        sleep 0.1
    done
    echo "$fewest"
}

nd_files_whole() {
    local root=${1%/}
    find "$root" -type f -printf '%s %p\n' | awk '
        function want(path) {
            if (path ~ /\/0\/frame\/root\.frame$/) return 4804
            if (path ~ /\/0\/frame\/[0-9_A-F]+$/) return 1604
            if (path ~ /\.frame$/) return 24864
            if (path ~ /\.(case|pass)$/) return 65536
            if (path ~ /\.pos$/) return 12004
            return -1
        }
        { size = $1; sub(/^[0-9]+ /, ""); w = want($0); if (w >= 0 && w != size) print $0 " (" size " bytes, not " w ")" }'
}
