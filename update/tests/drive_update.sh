#!/usr/bin/env bash
# drive_update.sh MODE PROGRAM_DIR
# Runs the updater from PROGRAM_DIR on the display given in DISPLAY (the test
# starts this under tools/testing/with-xvfb.sh) and plays the user:
#   close-when-done   click in the window until the updater leaves (it only
#                     leaves on a click once its work is finished); the exit
#                     status is the updater's, 124 if it never left
#   second-instance   start a second updater while the first shows its
#                     window; exit 0 when the second left at once with status
#                     0 and the first was still running
# The updater's standard error goes to PROGRAM_DIR/update.log.
set -u
mode=$1
cd "$2"
./update 2>>update.log &
pid=$!

# Wait up to 10 s for the window.
wid=""
for _ in $(seq 100); do
    wid=$(xdotool search --name "Update" 2>/dev/null | head -1)
    [ -n "$wid" ] && break
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
done

case $mode in
close-when-done)
    for _ in $(seq 100); do
        kill -0 $pid 2>/dev/null || break
        [ -n "$wid" ] && xdotool mousemove --window "$wid" 250 100 click 1 2>/dev/null
        sleep 0.2
    done
    if kill -0 $pid 2>/dev/null; then
        kill $pid
        wait $pid
        exit 124
    fi
    wait $pid
    exit $?
    ;;
second-instance)
    [ -n "$wid" ] || { kill $pid 2>/dev/null; exit 2; }
    timeout 5 ./update 2>>update.log
    second=$?
    kill -0 $pid 2>/dev/null
    first_alive=$?
    kill $pid 2>/dev/null
    wait $pid 2>/dev/null
    [ $second -eq 0 ] && [ $first_alive -eq 0 ] && exit 0
    echo "second=$second first_alive=$first_alive" >&2
    exit 1
    ;;
esac
exit 2
