#!/bin/bash
# The board of records under load: vinkla-server on a loopback port, on a SQLite file in a
# temporary folder and then on a throwaway PostgreSQL cluster, each sent BOARD_SUBMISSIONS
# (10000) verified submissions by BOARD_CLIENTS (32) clients at once.
# usage: scripts/board_bench.sh [BUILD_DIR]
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath "${1:-$ROOT/build-bench}")
CLIENTS=${BOARD_CLIENTS:-32}
TOTAL=${BOARD_SUBMISSIONS:-10000}
source "$ROOT/tests/commands/pg_cluster.sh"
W=$(mktemp -d /tmp/vinkla-board-bench.XXXXXX)
chmod 755 "$W"  # PostgreSQL runs as another user below it
server=
cleanup() {
    if [ -n "$server" ]; then
        kill -TERM "$server" 2>/dev/null
        for _ in $(seq 50); do kill -0 "$server" 2>/dev/null || break; sleep 0.1; done
        kill -KILL "$server" 2>/dev/null
    fi
    pg_cluster_stop
    rm -rf "$W"
}
trap cleanup EXIT
mapfile -t levels < <(ls "$ROOT"/data/sarjat/*/*.vkl "$ROOT"/data/*.vkl)

run_against() {  # LABEL DB
    "$BUILD/vinkla-server" --db "$2" --listen 127.0.0.1:0 --address-rate 0 --key-rate 0 >"$W/server.out" 2>&1 &
    server=$!
    local port=
    for _ in $(seq 200); do
        port=$(sed -n 's/^vinkla-server: listening on 127.0.0.1:\([0-9]*\),.*/\1/p' "$W/server.out")
        [ -n "$port" ] && break
        sleep 0.05
    done
    [ -n "$port" ] || { echo "the server did not start: $(cat "$W/server.out")" >&2; exit 1; }
    echo "== $1"
    "$BUILD/bench/vinkla_board_bench" "http://127.0.0.1:$port" "$CLIENTS" "$TOTAL" "$W/keys" "${levels[@]}"
    kill -TERM "$server"
    wait "$server"
    server=
}

run_against SQLite "$W/board.db"
pg_cluster_start "$W/pg" || exit 1
run_against PostgreSQL "$PG_URI"
