#!/usr/bin/env bash
# Set up, build, and run the whole test suite headless.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${HMK_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build_dir" --output-on-failure --timeout 600 -j2
