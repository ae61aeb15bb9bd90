#!/usr/bin/env bash
# Set up, build, and start HMK725Config with the shipped settings file.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
exec "${HMK_BUILD_DIR:-$root/build}/bin/HMK725Config"
