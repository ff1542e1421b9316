#!/usr/bin/env bash
# Installs what is needed, builds and starts Korvanta. Arguments go to korvanta.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build -DKORVANTA_BENCHMARKS=OFF
exec build/src/korvanta "$@"
