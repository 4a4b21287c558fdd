#!/usr/bin/env bash
# Installs what is missing, builds, runs every test and ends with CTest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default "$@"
