# A throwaway PostgreSQL cluster in a folder of its own, for the board server's test and
# benchmark. Sourced; run as root (as CI is) it runs as the user nobody, since initdb refuses root
# (FOLDER's parents must let nobody pass).
#   pg_cluster_start FOLDER    sets PG_URI and PG_PID, or returns 1 saying why
#   pg_cluster_stop            fast shutdown by its pid, SIGKILL after 5 s
pg_cluster_start() {
    local dir=$1 as_user=() bin port
    bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
    [ -x "$bin/initdb" ] || { echo "no PostgreSQL server (the postgresql package)" >&2; return 1; }
    mkdir -p "$dir/data" "$dir/socket"
    if [ "$(id -u)" -eq 0 ]; then
        as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
        chmod 755 "$dir"
        chown nobody:nogroup "$dir/data" "$dir/socket"
    fi
    "${as_user[@]}" "$bin/initdb" -D "$dir/data" -U vinkla --auth=trust -E UTF8 >"$dir/initdb.log" 2>&1 ||
        { echo "initdb: $(tail -3 "$dir/initdb.log")" >&2; return 1; }
    port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    "${as_user[@]}" "$bin/postgres" -D "$dir/data" -k "$dir/socket" -p "$port" -c listen_addresses=127.0.0.1 \
        -c max_connections=200 >"$dir/postgres.log" 2>&1 &
    PG_PID=$!
    PG_URI="postgresql://vinkla@127.0.0.1:$port/postgres"
    for _ in $(seq 300); do
        grep -q "ready to accept connections" "$dir/postgres.log" && return 0
        kill -0 "$PG_PID" 2>/dev/null || { echo "postgres: $(tail -3 "$dir/postgres.log")" >&2; return 1; }
        sleep 0.1
    done
    echo "postgres did not become ready" >&2
    return 1
}

pg_cluster_stop() {
    [ -n "${PG_PID:-}" ] || return 0
    kill -INT "$PG_PID" 2>/dev/null
    for _ in $(seq 50); do kill -0 "$PG_PID" 2>/dev/null || { PG_PID=; return 0; }; sleep 0.1; done
    kill -KILL "$PG_PID" 2>/dev/null
    PG_PID=
}
