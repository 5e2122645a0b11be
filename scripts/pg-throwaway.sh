# Sourced by test.sh and bench/run.sh: a throwaway PostgreSQL cluster in a temporary folder,
# run as the postgres user on a loopback port. Exports LBSYS_TEST_PG, the connection string
# the tests and benchmarks use.
PG_BIN="$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -1)"
PG_PORT="${PG_PORT:-54329}"

pg_as_postgres() {
    if [ "$(id -un)" = postgres ]; then "$@"; else runuser -u postgres -- "$@"; fi
}

pg_throwaway_start() {
    PG_DIR="$(mktemp -d /tmp/lbsys-pg.XXXXXX)"
    chown postgres:postgres "$PG_DIR" 2>/dev/null || true
    pg_as_postgres "$PG_BIN/initdb" -D "$PG_DIR/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >"$PG_DIR/initdb.log"
    pg_as_postgres "$PG_BIN/pg_ctl" -D "$PG_DIR/data" -l "$PG_DIR/server.log" -w \
        -o "-p $PG_PORT -k $PG_DIR -c listen_addresses=127.0.0.1 -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_parallel_workers_per_gather=0 -c shared_buffers=256MB -c max_connections=50" start >/dev/null
    pg_as_postgres "$PG_BIN/createdb" -h 127.0.0.1 -p "$PG_PORT" -U postgres lbsys_test
    export LBSYS_TEST_PG="Provider=PostgreSQL;Data Source=127.0.0.1;Port=$PG_PORT;User ID=postgres;Password=;Initial Catalog=lbsys_test;"
    export PG_DIR
}

pg_throwaway_stop() {
    if [ -n "${PG_DIR:-}" ] && [ -d "$PG_DIR/data" ]; then
        pg_as_postgres "$PG_BIN/pg_ctl" -D "$PG_DIR/data" -m immediate stop >/dev/null 2>&1 || true
        rm -rf "$PG_DIR"
    fi
}
