#!/usr/bin/env bash
# Runs the fuzz targets for a long time each, by hand: a clang build with
# sanitizers and the fuzz targets goes to ./build-fuzz (or $HMK_BUILD_DIR),
# then each target runs for the given number of seconds on its seed corpus.
# New inputs collect under the build folder; a crash leaves its input in
# <build>/fuzz-long/artifacts and makes the script fail.
#
#   scripts/fuzz-long.sh [seconds] [target...]     (default 600, all targets)
#   HMK_FUZZ_JOBS=2 runs two targets at a time.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${HMK_BUILD_DIR:-$root/build-fuzz}
seconds=${1:-600}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(fuzz_image fuzz_settings fuzz_picture fuzz_codepage)
jobs=${HMK_FUZZ_JOBS:-1}

if [ -z "${HMK_FUZZ_NO_BUILD:-}" ]; then
    CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build_dir" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
        -DHMK_SANITIZE=ON -DHMK_FUZZ=ON -DHMK_BUILD_BENCHMARKS=OFF >/dev/null
    cmake --build "$build_dir" --target "${targets[@]}"
fi

out=$build_dir/fuzz-long
mkdir -p "$out/artifacts"
export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS=suppressions=$root/cmake/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

run() {
    local target=$1 corpus=${1#fuzz_}
    mkdir -p "$out/$corpus"
    echo "$target: ${seconds}s, log in $out/$target.log"
    "$build_dir/bin/$target" -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
        -artifact_prefix="$out/artifacts/$corpus-" \
        "$out/$corpus" "$root/tests/fuzz/corpus/$corpus" </dev/null >"$out/$target.log" 2>&1
}

failed=0
pids=()
names=()
wait_one() {
    if ! wait "${pids[0]}"; then
        echo "${names[0]} FAILED: see $out/${names[0]}.log and $out/artifacts"
        failed=1
    else
        echo "${names[0]}: $(grep -E '^(Done|stat::number_of_executed_units)' "$out/${names[0]}.log" | tr '\n' ' ')"
    fi
    pids=("${pids[@]:1}")
    names=("${names[@]:1}")
}
for target in "${targets[@]}"; do
    ((${#pids[@]} < jobs)) || wait_one
    run "$target" &
    pids+=($!)
    names+=("$target")
done
while ((${#pids[@]})); do wait_one; done
exit $failed
