#!/usr/bin/env bash
# Set up, build, and run the whole test suite headless.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${HMK_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build_dir" --output-on-failure --timeout 600 -j2

# Once more built with clang under AddressSanitizer and UndefinedBehaviorSanitizer
# (any report fails its test), with the fuzz targets' bounded runs (label fuzz).
# Leaks of Qt's and fontconfig's own caches are suppressed, not ours.
sanitize_dir=$root/build-sanitize
HMK_BUILD_DIR=$sanitize_dir "$root/scripts/setup.sh" -DCMAKE_CXX_COMPILER=clang++-14 \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DHMK_SANITIZE=ON -DHMK_FUZZ=ON \
    -DHMK_BUILD_BENCHMARKS=OFF
LSAN_OPTIONS=suppressions=$root/cmake/lsan.supp:print_suppressions=0 \
    ctest --test-dir "$sanitize_dir" --output-on-failure --timeout 600 -j2
