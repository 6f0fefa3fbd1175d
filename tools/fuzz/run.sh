#!/usr/bin/env bash
# run.sh SECONDS [BUILD_DIR] [TARGET...]
# Builds the libFuzzer programs with clang in BUILD_DIR (default build-fuzz)
# and runs each for SECONDS on a copy of its seeds and kept failures, one
# after the other. Prints the executions of each and fails on the first
# target that finds a failing input: the input is left in BUILD_DIR/found/
# to be kept in tools/fuzz/regressions/<target>/ (or zip/fuzz/regressions/)
# once the fault is fixed. Without TARGET names, every target runs.
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:?usage: tools/fuzz/run.sh SECONDS [BUILD_DIR] [TARGET...]}
build=${2:-$src/build-fuzz}
shift $(($# >= 2 ? 2 : 1))
targets=("$@")

jobs=${JOBS:-$(nproc)}
# The build runs the skin picture generator, instrumented as well: the leaks
# of system libraries are suppressed as in `make test-asan`.
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export LSAN_OPTIONS=suppressions=$src/tools/testing/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DND_FUZZ=ON -DND_WERROR=OFF >/dev/null
if [ ${#targets[@]} -eq 0 ]; then
    cmake --build "$build" -j "$jobs" --target fuzz_targets
    mapfile -t targets < <(find "$build" -maxdepth 2 -type f -perm -u+x -name 'fuzz_*' \
        -printf '%f\n' | sed 's/^fuzz_//' | sort)
else
    programs=()
    for t in "${targets[@]}"; do programs+=("fuzz_$t"); done
    cmake --build "$build" -j "$jobs" --target "${programs[@]}"
fi

mkdir -p "$build/found"
for t in "${targets[@]}"; do
    corpus=$build/corpus/$t
    rm -rf "$corpus"
    mkdir -p "$corpus"
    case $t in
        lz77_decode | block_file) kept=(zip/fuzz/regressions) ;;
        *) kept=(tools/fuzz/seeds/$t tools/fuzz/regressions/$t) ;;
    esac
    for k in "${kept[@]}"; do
        [ -d "$src/$k" ] && cp "$src/$k"/* "$corpus"/ 2>/dev/null || true
    done
    program=$(find "$build" -maxdepth 2 -name "fuzz_$t" -type f -perm -u+x | head -n 1)
    log=$build/found/$t.log
    # The codec target compresses and decodes every input twice over; short
    # inputs find its faults as well and many more of them run.
    max_len=70000
    [ "$t" = lz77_decode ] && max_len=4096
    if ! "$program" -max_total_time="$seconds" -max_len=$max_len -timeout=30 -rss_limit_mb=2048 \
        -artifact_prefix="$build/found/$t-" -print_final_stats=1 "$corpus" >"$log" 2>&1; then
        tail -n 40 "$log" >&2
        echo "fuzz: $t found a failing input: $(ls "$build/found/$t-"* 2>/dev/null)" >&2
        exit 1
    fi
    runs=$(awk '/stat::number_of_executed_units/ {print $2}' "$log")
    echo "fuzz: $t: $runs executions in $seconds s"
done
