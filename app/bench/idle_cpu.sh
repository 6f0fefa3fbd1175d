#!/usr/bin/env bash
# idle_cpu.sh BUILD_DIR [SECONDS]
# Processor time of an idle nodrel, shown and in front, then minimised, each
# over SECONDS (default 10), under a private Xvfb. Prints percent of one core
# and the main thread's wake-ups per second, which is about the frame rate.
# Needs the nd_app_e2e target built (it also builds nodrel and nodrel-tool).
set -euo pipefail
build=$(realpath "$1")
seconds=${2:-10}
here=$(dirname "$(realpath "$0")")
ND_IDLE_SECONDS=$seconds "$here/../../tools/testing/with-xvfb.sh" \
    "$build/app/tests/nd_app_e2e" --gtest_filter=*E2e.Idle* | grep '^idle'
