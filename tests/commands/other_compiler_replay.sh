#!/bin/bash
# A run proves a record only if every build steps it alike. vinkla-replay is built a second time,
# by the other compiler at -O0 (against the main build's -O2), into BUILD, and every shipped run
# must end on the same frame with the same falls in both builds.
#   other_compiler_replay.sh SOURCE BUILD COMPILER LAUNCHER REPLAY DATA
set -uo pipefail
source=$1 build=$2 compiler=$3 launcher=$4 replay=$5 data=$6
fail() { echo "FAIL: $*"; exit 1; }

command -v "$compiler" >/dev/null || fail "no $compiler (scripts/install-deps installs it)"
mkdir -p "$build"
started=$SECONDS
cmake -S "$source" -B "$build" -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG=-O0 -DVINKLA_TESTS=OFF ${launcher:+-DCMAKE_CXX_COMPILER_LAUNCHER="$launcher"} \
    >"$build/configure.log" 2>&1 || { cat "$build/configure.log"; fail "cannot configure the $compiler build"; }
cmake --build "$build" --target vinkla-replay -j "$(nproc)" >"$build/build.log" 2>&1 ||
    { tail -40 "$build/build.log"; fail "cannot build vinkla-replay with $compiler"; }
other=$build/vinkla-replay
echo "vinkla-replay built by $compiler -O0 in $((SECONDS - started)) s"

# Without a display or the data file, as the shipped runs' own tests step them.
mkdir -p "$build/replay_cwd"
cd "$build/replay_cwd" || fail "no folder to run in"
count=0
while IFS= read -r run; do
    level=${run%.*.run}
    main_says=$(env -u DISPLAY "$replay" "$level" "$run" 2>&1)
    other_says=$(env -u DISPLAY "$other" "$level" "$run" 2>&1)
    [[ $main_says == "won in "* ]] || fail "${run#"$data"/}: the main build says: $main_says"
    [ "$other_says" = "$main_says" ] ||
        fail "${run#"$data"/}: the main build says '$main_says', the $compiler -O0 build '$other_says'"
    count=$((count + 1))
done < <(find "$data" -name '*.vkl.*.run' | sort)
[ "$count" -gt 0 ] || fail "no shipped runs in $data"
echo "$count shipped runs end on the same frame with the same falls in both builds"
