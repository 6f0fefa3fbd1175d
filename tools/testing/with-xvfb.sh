#!/usr/bin/env bash
# with-xvfb.sh [--screen WxHxD] CMD ARGS...
# Runs CMD with DISPLAY set to a private Xvfb server that this script starts
# and always stops. The server picks a free display number itself, so
# display tests can run in parallel.
set -euo pipefail
screen=1600x900x24
if [ "${1:-}" = "--screen" ]; then screen=$2; shift 2; fi

fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$fifo" 2>/dev/null &
xpid=$!
trap 'kill $xpid 2>/dev/null || true; wait $xpid 2>/dev/null || true; rm -f "$fifo"' EXIT
if ! read -r -t 20 num <"$fifo"; then
    echo "with-xvfb: Xvfb did not start" >&2
    exit 1
fi
export DISPLAY=":$num"
unset WAYLAND_DISPLAY
"$@"
