#!/usr/bin/env bash
# The main job: installs what is missing, builds, creates the demo database, starts the
# reference server on 127.0.0.1:9090 and the client against it, and stops the server when
# the client exits.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default

echo "morvex: the reference server and the client windows are not built yet;"
echo "        the build and the tests (scripts/test.sh) are what exists so far."
