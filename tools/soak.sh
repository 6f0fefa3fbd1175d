#!/usr/bin/env bash
# soak.sh MINUTES [BUILD_DIR]
# The long unattended run: `nodrel -test` on a private Xvfb server, on a
# generated workspace of 80 boards x 80 Cases (6,400), for MINUTES minutes.
# The exerciser clicks cards and switches boards on its own the whole time.
# Afterwards the program is ended with SIGTERM and the workspace must pass
# `nodrel-tool check` with every record file whole.
#
# It reports the resident memory after the warm-up (a tenth of the run, at
# least 30 s) and at the end, the open descriptors over the run and how many
# boards the exerciser showed and left, and fails when the program ended on
# its own or by a signal, when the memory grew by 2 % or more after the
# warm-up, when the descriptors changed, when no board was switched, or when
# the workspace is damaged. BUILD_DIR (default build) must hold nodrel,
# nodrel-tool and nd_make_workspace. ND_SOAK_KEEP=1 keeps the scratch folder.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ $# -lt 1 ] || ! [[ $1 =~ ^[0-9]+$ ]] || [ "$1" -lt 1 ]; then
    echo "usage: tools/soak.sh MINUTES [BUILD_DIR]" >&2
    exit 2
fi
if [ "${ND_SOAK_INNER:-}" != 1 ]; then
    ND_SOAK_INNER=1 exec "$here/testing/with-xvfb.sh" "$0" "$@"
fi

minutes=$1
build=$(cd "${2:-$here/../build}" && pwd)
export ND_NODREL=$build/app/nodrel
tool=$build/tools/nodrel-tool
for program in "$ND_NODREL" "$tool" "$build/tools/nd_make_workspace"; do
    [ -x "$program" ] || { echo "soak: $program is not built" >&2; exit 2; }
done
# shellcheck source=testing/nodrel_run.sh
. "$here/testing/nodrel_run.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/nd_soak.XXXXXX")
ND_PID=
cleanup() {
    if [ -n "$ND_PID" ] && nd_alive; then kill -9 "$ND_PID" 2>/dev/null || true; fi
    if [ "${ND_SOAK_KEEP:-}" = 1 ]; then echo "soak: kept $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT
fail() {
    echo "soak: FAIL: $*" >&2
    echo "--- nodrel.log (last lines)" >&2
    tail -n 30 "$work/nodrel.log" >&2 || true
    exit 1
}

wk=$work/Soak.wk
echo "soak: generating 80 boards x 80 Cases in $work"
"$build/tools/nd_make_workspace" "$wk" 80 80
nd_prepare "$work" "$wk"
nd_start "$work" -test
nd_open_board 60 || fail "the main window did not show"
# Boards written after this are the exerciser's doing: leaving a board
# saves it.
touch "$work/started"
start=$(date +%s)
total=$((minutes * 60))
warmup=$((total / 10 > 30 ? total / 10 : 30))
[ $warmup -lt $total ] || warmup=$((total / 2))

# One line every 10 s in samples.txt: seconds, resident KiB, descriptors.
samples=$work/samples.txt
rss_warm= fds_warm= fds_min= fds_max=
while :; do
    now=$(($(date +%s) - start))
    nd_alive || fail "nodrel ended after $now s"
    rss=$(nd_rss_kib) fds=$(nd_fds)
    echo "$now $rss $fds" >>"$samples"
    if [ -z "$rss_warm" ] && [ $now -ge $warmup ]; then
        rss_warm=$rss fds_warm=$fds fds_min=$fds fds_max=$fds
        echo "soak: after the warm-up ($now s): resident $rss KiB, $fds descriptors"
    fi
    if [ -n "$rss_warm" ]; then
        [ "$fds" -lt "$fds_min" ] && fds_min=$fds
        [ "$fds" -gt "$fds_max" ] && fds_max=$fds
    fi
    [ $now -ge $total ] && break
    left=$((total - now))
    sleep $((left < 10 ? left : 10))
done
cpu=$(awk '{printf "%.0f", ($14 + $15) / 100}' "/proc/$ND_PID/stat")

kill -TERM "$ND_PID"
for _ in $(seq 100); do nd_alive || break; sleep 0.1; done
nd_alive && fail "nodrel did not end within 10 s of SIGTERM"
status=0
wait "$ND_PID" || status=$?
ND_PID=
growth=$(awk -v a="$rss_warm" -v b="$rss" 'BEGIN { printf "%.2f", (b - a) * 100 / a }')
echo "soak: at the end ($now s): resident $rss KiB (${growth} % after the warm-up)," \
     "$fds descriptors (between $fds_min and $fds_max after the warm-up)," \
     "$cpu s of processor time"
[ $status -eq 0 ] || fail "nodrel ended with status $status after SIGTERM"
range=$(awk -v w="$warmup" '$1 >= w { if (lo == "" || $2 < lo) lo = $2; if ($2 > hi) hi = $2 }
    END { print lo " to " hi }' "$samples")
saved=$(find "${wk%.wk}/0/frame" -name '*.frame' ! -name root.frame -newer "$work/started" | wc -l)
echo "soak: resident $range KiB over the samples after the warm-up; $saved of the 80 boards" \
     "were shown and left (saved) during the run"
[ "$saved" -gt 0 ] || fail "the exerciser switched no board"
awk -v g="$growth" 'BEGIN { exit !(g < 2) }' || fail "resident memory grew by $growth %"
[ "$fds_min" -eq "$fds_warm" ] && [ "$fds_max" -eq "$fds_warm" ] ||
    fail "open descriptors changed: $fds_warm after the warm-up, $fds_min to $fds_max later"
"$tool" check "$wk" >"$work/check.txt" 2>&1 || { cat "$work/check.txt" >&2; fail "the check failed"; }
broken=$(nd_files_whole "${wk%.wk}")
[ -z "$broken" ] || fail "files not whole: $broken"
echo "soak: the workspace passes the check: $(grep '^groups=' "$work/check.txt")"
echo "soak: PASS"
