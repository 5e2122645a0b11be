#!/usr/bin/env bash
# Installs, builds, starts a throwaway PostgreSQL server and runs every test through ctest.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
scripts/build.sh
source scripts/pg-throwaway.sh
pg_throwaway_start
trap pg_throwaway_stop EXIT
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)" "$@"
