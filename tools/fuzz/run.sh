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
all=(settings workspace content_layout png jpeg gif bmp update_reply servers_cfg uri_list
     lz77_decode block_file)
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")

jobs=${JOBS:-$(nproc)}
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DND_FUZZ=ON -DND_WERROR=OFF >/dev/null
programs=()
for t in "${targets[@]}"; do programs+=("fuzz_$t"); done
cmake --build "$build" -j "$jobs" --target "${programs[@]}"

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
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
    program=$(find "$build" -name "fuzz_$t" -type f -perm -u+x | head -n 1)
    log=$build/found/$t.log
    if ! "$program" -max_total_time="$seconds" -max_len=70000 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$build/found/$t-" -print_final_stats=1 "$corpus" >"$log" 2>&1; then
        tail -n 40 "$log" >&2
        echo "fuzz: $t found a failing input: $(ls "$build/found/$t-"* 2>/dev/null)" >&2
        exit 1
    fi
    runs=$(awk '/stat::number_of_executed_units/ {print $2}' "$log")
    echo "fuzz: $t: $runs executions in $seconds s"
done
