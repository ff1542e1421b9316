#!/usr/bin/env bash
# Installs what is needed, builds the application alone and starts it.
# Arguments go to korvanta. Its build folder is its own, so running and
# testing never reconfigure each other's builds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build-app --target korvanta -DKORVANTA_BENCHMARKS=OFF
exec build-app/src/korvanta "$@"
