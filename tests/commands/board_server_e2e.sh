#!/bin/bash
# The board of records end to end: the real vinkla-server on loopback ports, on a SQLite file
# in a temporary folder and on a throwaway PostgreSQL cluster, fed by the real vinkla-board.
#   board_server_e2e.sh BUILD_DIR DATA_DIR
# Every process it starts (servers, postgres, chromium) is ended by its pid, SIGKILL after a
# short wait.
set -uo pipefail
BUILD=$(realpath "$1")
DATA=$(realpath "$2")
HERE=$(cd "$(dirname "$0")" && pwd)
PY=/usr/bin/python3
source "$HERE/pg_cluster.sh"
W=$(mktemp -d /tmp/vinkla-board.XXXXXX)
chmod 755 "$W"
started=()

fail() { echo "FAIL: $*" >&2; exit 1; }

stop_pid() {  # PID SIGNAL: the signal, then SIGKILL when it has not ended within 5 s
    local pid=$1 sig=$2
    kill -0 "$pid" 2>/dev/null || return 0
    kill -"$sig" "$pid" 2>/dev/null
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null
}
cleanup() {
    for pid in "${started[@]}"; do stop_pid "$pid" TERM; done
    pg_cluster_stop
    [ -n "${chrome_pid:-}" ] && kill -KILL -- -"$chrome_pid" 2>/dev/null
    rm -rf "$W"
}
trap cleanup EXIT

# start_server NAME DB [ARGS...]: a server on a free loopback port; its URL in URL_NAME.
start_server() {
    local name=$1 db=$2
    shift 2
    "$BUILD/vinkla-server" --db "$db" --listen 127.0.0.1:0 "$@" >"$W/$name.out" 2>&1 &
    local pid=$!
    started+=("$pid")
    eval "PID_$name=$pid"
    for _ in $(seq 200); do
        local port
        port=$(sed -n 's/^vinkla-server: listening on 127.0.0.1:\([0-9]*\),.*/\1/p' "$W/$name.out")
        if [ -n "$port" ]; then
            eval "URL_$name=http://127.0.0.1:$port"
            return 0
        fi
        kill -0 "$pid" 2>/dev/null || fail "$name did not start: $(cat "$W/$name.out")"
        sleep 0.05
    done
    fail "$name never said it listens"
}

time_text() { printf '%d:%02d,%02d' $(($1 / 6000)) $(($1 / 100 % 60)) $(($1 % 100)); }

# The hundredths vinkla-replay gives a run: its frames and 2,07 s for each fall.
replay_time() {
    local out frames falls
    out=$(env -u DISPLAY "$BUILD/vinkla-replay" "$1" "$2") || return 1
    frames=$(echo "$out" | sed -n 's/^won in \([0-9]*\) frames, \([0-9]*\) falls\{0,1\}$/\1/p')
    falls=$(echo "$out" | sed -n 's/^won in \([0-9]*\) frames, \([0-9]*\) falls\{0,1\}$/\2/p')
    echo $((frames + 207 * falls))
}

board() { env -u DISPLAY "$BUILD/vinkla-board" "$@"; }

mapfile -t levels < <(ls "$DATA"/sarjat/*/*.vkl "$DATA"/*.vkl)
[ ${#levels[@]} -eq 37 ] || fail "expected the 37 shipped levels, found ${#levels[@]}"

# --- SQLite: the shipped runs, each with exactly the time vinkla-replay gives ---
start_server sq "$W/board.db" --address-rate 0 --key-rate 0
for level in "${levels[@]}"; do
    for way in mouse keys; do
        run=$level.$way.run
        [ -f "$run" ] || continue
        name=$([ $way = mouse ] && echo "Hiiri" || echo "Näppäimet")
        want=$(replay_time "$level" "$run") || fail "vinkla-replay refuses $run"
        out=$(board submit "$URL_sq" "$level" "$run" --name "$name" --folder "$W/player1") ||
            fail "refused: $run"
        [ "$(echo "$out" | cut -f2)" = "$(time_text "$want")" ] || fail "$run: $out, vinkla-replay $want"
    done
    board top "$URL_sq" "$level" >"$W/top.txt" || fail "no table for $level"
    grep -qx "[12]	Hiiri	$(time_text "$(replay_time "$level" "$level.mouse.run")")" "$W/top.txt" ||
        fail "$level: the mouse run is not on the board: $(cat "$W/top.txt")"
done
[ "$(stat -c %a "$W/player1/vinkla.avain")" = 600 ] || fail "the key file is readable by others"

# --- The refusals: each with a reason, none on the board ---
alku=$DATA/sarjat/1_alkeet/01_alku.vkl
mutkat=$DATA/standardfile.vkl
board top "$URL_sq" "$alku" >"$W/before.txt"
refused() {  # REASON_PATTERN ARGS...: vinkla-board exits 1 saying REASON_PATTERN
    local pattern=$1
    shift
    board submit "$URL_sq" "$@" >"$W/out.txt" 2>"$W/err.txt" && fail "accepted: $*"
    grep -q "$pattern" "$W/err.txt" || fail "refused without '$pattern': $(cat "$W/err.txt")"
}
$PY "$HERE/run_edit.py" flip 80 "$alku.mouse.run" "$W/flipped.run"
refused "damaged" "$alku" "$W/flipped.run" --name Huijari --folder "$W/player2"
refused "another board" "$alku" "$mutkat.mouse.run" --name Huijari --folder "$W/player2"
$PY "$HERE/run_edit.py" cut 200 "$alku.mouse.run" "$W/short.run"
refused "ends before the last flag" "$alku" "$W/short.run" --name Huijari --folder "$W/player2"
$PY "$HERE/run_edit.py" rest 3 "$alku.mouse.run" "$W/slower.run"
refused "belongs to another" "$alku" "$W/slower.run" --name "hiiri" --folder "$W/player2"
refused "already on the board" "$alku" "$alku.mouse.run" --name Huijari --folder "$W/player2"
board top "$URL_sq" "$alku" | cmp -s - "$W/before.txt" || fail "a refused run changed the table"
board top "$URL_sq" "$alku" | grep -q Huijari && fail "a refused player is on the board"
# The same name, any case, from its own key: accepted.
board submit "$URL_sq" "$alku" "$W/slower.run" --name "HIIRI" --folder "$W/player1" >/dev/null ||
    fail "the key that holds a name cannot use it"

# --- Many at once, then SIGKILL: every accepted run is there after the restart ---
# bulk URL1 [URL2]: 20 clients, 25 runs each, alternating between the servers given.
bulk() {
    local tag=$1
    shift
    local urls=("$@")
    mkdir -p "$W/$tag"
    local clients=() edits=()
    for n in $(seq 0 499); do
        edits+=($((n + 11)) "${levels[$((n % 37))]}.mouse.run" "$W/$tag/$n.run")
    done
    $PY "$HERE/run_edit.py" rest "${edits[@]}"
    for c in $(seq 0 19); do
        (
            for r in $(seq 0 24); do
                n=$((c * 25 + r))
                level=${levels[$((n % 37))]}
                url=${urls[$((n % ${#urls[@]}))]}
                if out=$(board submit "$url" "$level" "$W/$tag/$n.run" --name "Pelaaja $c" --folder "$W/$tag/key$c"); then
                    echo "$n $(echo "$out" | cut -f3)" >>"$W/$tag/accepted.$c"
                fi
            done
        ) &
        clients+=($!)
    done
    wait "${clients[@]}"
    cat "$W/$tag"/accepted.* >"$W/$tag/accepted"
}
every_run_there() {  # TAG URL: each accepted run's bytes are served again
    local tag=$1 url=$2 n link
    while read -r n link; do
        curl -sf "$url/api/v1/runs/${link##*/}" -o "$W/$tag/back.run" || fail "$tag: run $n lost ($link)"
        cmp -s "$W/$tag/back.run" "$W/$tag/$n.run" || fail "$tag: run $n came back changed"
    done <"$W/$tag/accepted"
}
bulk sqlite "$URL_sq"
[ "$(wc -l <"$W/sqlite/accepted")" -eq 500 ] || fail "only $(wc -l <"$W/sqlite/accepted") of 500 accepted"
{ kill -KILL "$PID_sq"; wait "$PID_sq"; } 2>/dev/null
start_server sq2 "$W/board.db" --address-rate 0
every_run_there sqlite "$URL_sq2"

# --- PostgreSQL: a throwaway cluster run as an ordinary user (initdb refuses root) ---
pg_cluster_start "$W/pg" || fail "no PostgreSQL cluster"
PG=$PG_URI
start_server pa "$PG" --address-rate 0 --key-rate 0
start_server pb "$PG" --address-rate 0 --key-rate 0
bulk postgres "$URL_pa" "$URL_pb"
[ "$(wc -l <"$W/postgres/accepted")" -eq 500 ] || fail "PostgreSQL: only $(wc -l <"$W/postgres/accepted") of 500"
for level in "$alku" "$mutkat"; do
    board top "$URL_pa" "$level" >"$W/pa.txt"
    board top "$URL_pb" "$level" >"$W/pb.txt"
    [ -s "$W/pa.txt" ] && cmp -s "$W/pa.txt" "$W/pb.txt" || fail "two servers on one database show two tables"
done
{ kill -KILL "$PID_pa" "$PID_pb"; wait "$PID_pa" "$PID_pb"; } 2>/dev/null
start_server pc "$PG" --address-rate 0
every_run_there postgres "$URL_pc"

# --- Hostile requests against the default limits: clear refusals, the server answering ---
start_server hostile "$W/board.db"
code() { curl -s -o "$W/body.txt" -w '%{http_code}' "$@"; }
head -c 10000000 /dev/zero | tr '\0' 'a' >"$W/big.json"
[ "$(code -H 'Content-Type: application/json' --data-binary @"$W/big.json" "$URL_hostile/api/v1/runs")" = 413 ] ||
    fail "a 10 MB body was not refused with 413"
[ "$(code -H 'Content-Type: application/json' --data-binary '{"level": [1,' "$URL_hostile/api/v1/runs")" = 400 ] ||
    fail "malformed JSON: $(cat "$W/body.txt")"
grep -q '"error"' "$W/body.txt" || fail "no reason given for malformed JSON"
hex64=$(printf 'a%.0s' $(seq 64))
json='{"level":"**\nAF\n","run":"","name":"X","key":"'$hex64'","signature":"'$hex64$hex64'"}'
[ "$(code --data-binary "$json" "$URL_hostile/api/v1/runs")" = 422 ] || fail "a malformed level: $(cat "$W/body.txt")"
grep -q 'level' "$W/body.txt" || fail "the malformed level's reason: $(cat "$W/body.txt")"
for _ in $(seq 1000); do echo "url = \"$URL_hostile/api/v1/boards\""; echo 'output = "/dev/null"'; done >"$W/flood.cfg"
curl -s --parallel --parallel-max 50 -K "$W/flood.cfg" -w '%{http_code}\n' >"$W/flood.txt" 2>/dev/null
ok=$(grep -c '^200$' "$W/flood.txt")
limited=$(grep -c '^429$' "$W/flood.txt")
[ "$limited" -gt 500 ] && [ "$ok" -ge 100 ] || fail "1,000 requests: $ok answered, $limited limited"
# The bucket fills again at 50 a second: within a second of the flood the server answers.
last=none
for _ in $(seq 100); do
    last=$(code "$URL_hostile/api/v1/boards")
    [ "$last" = 200 ] && break
    sleep 0.1
done
[ "$last" = 200 ] || fail "the server stopped answering after the flood: $last $(cat "$W/body.txt")"

# --- The page in headless Chromium ---
chromium_shot() {  # OUT.png: the page's picture, and its DOM in $W/dom.html
    setsid chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --user-data-dir="$W/chrome" \
        --window-size=1600,1100 --screenshot="$1" "$URL_hostile/" >"$W/chrome.log" 2>&1 &
    chrome_pid=$!
    for _ in $(seq 600); do kill -0 "$chrome_pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL -- -"$chrome_pid" 2>/dev/null
    setsid chromium --headless --no-sandbox --disable-gpu --user-data-dir="$W/chrome" --dump-dom \
        "$URL_hostile/" >"$W/dom.html" 2>"$W/chrome.log" &
    chrome_pid=$!
    for _ in $(seq 600); do kill -0 "$chrome_pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL -- -"$chrome_pid" 2>/dev/null
    chrome_pid=
}
chromium_shot "$W/page.png"
[ -s "$W/page.png" ] || fail "no screenshot from chromium: $(tail -3 "$W/chrome.log")"
grep -q "<h2>Alku</h2>" "$W/dom.html" || fail "the page does not show the board Alku"
grep -q "Näppäimet" "$W/dom.html" || fail "the page does not show a player's name"
[ "$(grep -o '<section class="board"' "$W/dom.html" | wc -l)" -eq 37 ] || fail "the page does not show 37 boards"
grep -q 'href="/api/v1/runs/1"' "$W/dom.html" || fail "no link to a run"
# The page is drawn: the header's wood and a card's cream at their places.
$PY - "$W/page.png" <<'PY' || fail "the page's picture is not the board page"
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert("RGB")
def near(p, c): return all(abs(a - b) < 40 for a, b in zip(p, c))
assert near(im.getpixel((700, 10)), (160, 106, 64)), im.getpixel((700, 10))
assert any(near(im.getpixel((x, 150)), (246, 234, 210)) for x in range(30, 700)), "no cream card"
PY
[ -n "${VINKLA_BOARD_SHOT:-}" ] && cp "$W/page.png" "$VINKLA_BOARD_SHOT"

# --- SIGTERM: the requests in flight are finished, exit 0 ---
submitters=()
for n in 1 2 3 4 5; do
    $PY "$HERE/run_edit.py" rest $((600 + n)) "$mutkat.mouse.run" "$W/term$n.run"
    board submit "$URL_hostile" "$mutkat" "$W/term$n.run" --name "Loppu" --folder "$W/player3" >"$W/term$n.out" 2>&1 &
    submitters+=($!)
    started+=($!)
done
kill -TERM "$PID_hostile"
wait "$PID_hostile"
status=$?
[ "$status" -eq 0 ] || fail "SIGTERM: exit status $status"
start_server last "$W/board.db"
wait "${submitters[@]}" 2>/dev/null
for n in 1 2 3 4 5; do
    link=$(cut -f3 "$W/term$n.out")
    case $link in http*)
        curl -sf "$URL_last/api/v1/runs/${link##*/}" -o "$W/back.run" && cmp -s "$W/back.run" "$W/term$n.run" ||
            fail "a run accepted as the server was ending is lost" ;;
    esac
done
echo "board server: all checks passed"
