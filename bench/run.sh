#!/usr/bin/env bash
# Builds and runs the benchmarks at the given scale (1 = 200,000 books, 2,000,000 loans).
# The generated SQLite library is kept in build/bench-data/ and reused; PostgreSQL gets a
# throwaway server with the library generated afresh.
set -euo pipefail
cd "$(dirname "$0")/.."
SCALE="${1:-1}"
scripts/deps.sh
scripts/build.sh
mkdir -p build/bench-data
export PG_PORT="${PG_PORT:-54340}"
source scripts/pg-throwaway.sh
pg_throwaway_start
trap pg_throwaway_stop EXIT
export QT_QPA_PLATFORM=offscreen
build/bench/bench_data "$SCALE" "build/bench-data/library-$SCALE.db" "$LBSYS_TEST_PG"
for b in build/bench/bench_*; do
    case "$b" in */bench_data) continue ;; esac
    if [ -f "$b" ] && [ -x "$b" ]; then "$b" "$SCALE"; fi
done
