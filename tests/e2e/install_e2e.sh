#!/bin/bash
# Installed like a desktop game: `make install` with nothing built stops and says so; `make` builds
# the game and its commands and not the tests; `make install` into a temporary DESTDIR puts the
# build's icons in every size, a desktop entry that desktop-file-validate passes, the level sets,
# the manual pages and the AppStream metadata (both checked); the installed
# launcher started twice with a fresh HOME (the player's folder made and filled on the first start,
# the sets linked into it, where the run's music from the installed patch set is heard; the
# player's own and changed levels and set kept on the second), then without HOME (the home from the
# password database, or the reason in a window), then uninstall.sh removes every installed file and
# leaves the player's folder; BINDIR=/usr/games puts the commands there, and uninstall takes them.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
root="$(cd "$(dirname "$0")/../.." && pwd)"
exe=$(readlink -f "$1")
build=$(dirname "$exe")
e2e_start "174 175 176 177" "$exe" "$2"
W=$E2E_WORK
prefix=/usr/local
dest="$W/dest"
P="$dest$prefix"

# A make that runs this test passes its own flags down; these calls are the player's.
plain_make() { env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL make -C "$root" "$@"; }

# Nothing built: nothing made, nothing installed, and the reason given, with a command that
# builds it.
if plain_make install BUILD="$W/nobuild" PREFIX="$prefix" DESTDIR="$W/nodest" >"$W/nobuild.txt" 2>&1; then
    fail "make install with nothing built succeeded: $(cat "$W/nobuild.txt")"
fi
grep -q "has not been built" "$W/nobuild.txt" && grep -qF "(make, or make run)" "$W/nobuild.txt" ||
    fail "make install with nothing built does not say why: $(cat "$W/nobuild.txt")"
[ ! -e "$W/nobuild" ] && [ ! -e "$W/nodest" ] || fail "make install with nothing built made files"

# `make` alone builds what playing and installing need and nothing more: on a fresh build
# folder (a dry run) it configures that folder and builds the game and its data file there, and
# no test; on this build it has nothing left to build.
plain_make -n BUILD="$W/fresh" >"$W/dry.txt" 2>&1 || fail "make -n failed: $(cat "$W/dry.txt")"
grep -q "^cmake -S \. -B $W/fresh\( \|$\)" "$W/dry.txt" || fail "make does not configure a fresh folder: $(cat "$W/dry.txt")"
builds=$(grep "^cmake --build $W/fresh " "$W/dry.txt" || true)
[ "$(echo "$builds" | grep -c .)" = 1 ] && echo "$builds" | grep -q " --target vinkla vinkla-replay vinkla-solve data$" ||
    fail "make does not build only the game, its commands and its data file: $(cat "$W/dry.txt")"
! grep -q "ctest\|vinkla_tests" "$W/dry.txt" || fail "make runs or builds tests: $(cat "$W/dry.txt")"
[ ! -e "$W/fresh" ] || fail "make -n made the build folder"
# Then `make && make install DESTDIR=...`, as the README says.
plain_make BUILD="$build" >"$W/make.txt" 2>&1 || fail "make failed: $(cat "$W/make.txt")"
plain_make install BUILD="$build" PREFIX="$prefix" DESTDIR="$dest" >"$W/install.txt" 2>&1 ||
    fail "make install failed: $(cat "$W/install.txt")"

# What was installed, and where.
for f in bin/vinkla bin/vinkla-replay bin/vinkla-solve lib/vinkla/vinkla; do
    [ -x "$P/$f" ] || fail "$prefix/$f is not an installed executable"
done
[ -f "$build/patches.dat" ] || fail "no patch set beside the executable: $build/patches.dat"
cmp -s "$build/patches.dat" "$P/lib/vinkla/patches.dat" || fail "patches.dat is not beside the installed game"
cmp -s "$build/data1.dat" "$P/share/vinkla/data1.dat" || fail "data1.dat not installed"
shipped=$(cd "$root/data" && ls -- *.vkl)
[ -n "$shipped" ] || fail "no shipped levels in $root/data"
for level in $shipped; do
    cmp -s "$root/data/$level" "$P/share/vinkla/levels/$level" || fail "level $level not installed"
done
desktop="$P/share/applications/vinkla.desktop"
[ -f "$desktop" ] || fail "no .desktop entry"
for line in '[Desktop Entry]' 'Type=Application' 'Name=vinkla' "Exec=$prefix/bin/vinkla" 'Icon=vinkla' \
    'Terminal=false' 'StartupWMClass=Vinkla'; do
    grep -qxF "$line" "$desktop" || fail "vinkla.desktop lacks the line $line"
done
grep -q '^Categories=.*Game;' "$desktop" || fail "vinkla.desktop is not in the Game category"
validated=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $validated"
[ -z "$validated" ] || fail "desktop-file-validate: $validated"
for s in 16 24 32 48 64 128 256; do
    icon="$P/share/icons/hicolor/${s}x${s}/apps/vinkla.png"
    [ "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)" = "PNG ${s}x${s}" ] || fail "no ${s}x${s} PNG icon at $icon"
    cmp -s "$build/icons/hicolor/${s}x${s}/apps/vinkla.png" "$icon" || fail "the ${s}x${s} icon is not the build's"
done
grep -q '<svg ' "$P/share/icons/hicolor/scalable/apps/vinkla.svg" || fail "no scalable icon"
# A manual page for each command, in section 6 as a game's, that man formats without a warning;
# the metadata a software centre reads, which appstreamcli passes (without the network: its
# screenshots' site is not up).
for page in vinkla vinkla-replay vinkla-solve; do
    gz="$P/share/man/man6/$page.6.gz"
    zcat "$gz" 2>/dev/null | grep -q "^\.TH $(echo "$page" | tr a-z A-Z) 6 " || fail "no manual page $gz"
    shown=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$gz" 2>&1 >/dev/null) && [ -z "$shown" ] ||
        fail "man warns of $page.6: $shown"
done
metainfo="$P/share/metainfo/example.c_seed_2cd98258.vinkla.metainfo.xml"
validated=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $validated"
# The installed commands: a set's kept run wins on its level.
level="$P/share/vinkla/sarjat/1_alkeet/01_alku.vkl"
"$P/bin/vinkla-replay" "$level" "$level.mouse.run" >"$W/replay.txt" 2>&1 &&
    grep -q "^won in [0-9]* frames" "$W/replay.txt" || fail "the installed vinkla-replay: $(cat "$W/replay.txt")"
sets=$(cd "$root/data/sarjat" && ls)
[ -n "$sets" ] || fail "no level sets in $root/data/sarjat"
for f in "$root"/data/sarjat/*/*; do
    cmp -s "$f" "$P/share/vinkla/sarjat/${f#"$root"/data/sarjat/}" || fail "${f#"$root"/} not installed"
done

# The player: a home of their own, no XDG_DATA_HOME, so the folder is ~/.local/share/vinkla.
home="$W/home"
mkdir -p "$home"
export HOME="$home"
unset XDG_DATA_HOME
player="$home/.local/share/vinkla"
E2E_EXE="$P/bin/vinkla"

# The game's sound goes to a WAV file (ALSA's default device is a file with a null sink).
mkdir -p "$W/xdg/alsa"
export XDG_CONFIG_HOME="$W/xdg"
cat >"$XDG_CONFIG_HOME/alsa/asoundrc" <<EOF
pcm.!default {
    type plug
    slave { pcm "vinkla_capture"; format S16_LE; rate 44100; channels 2 }
}
pcm.vinkla_capture { type file; slave.pcm "null"; file "$W/installed.wav"; format "wav" }
EOF

# captured TENTHS: the capture holds that many tenths of a second, 17640 bytes each.
captured() {
    [ "$(stat -c %s "$W/installed.wav" 2>/dev/null || echo 0)" -ge $((44 + 17640 * $1)) ]
}

# play_and_quit [run]: starts the launcher, skips the title, plays the default level for about
# four seconds of the capture (the null sink runs faster than the clock) when asked, "Lopeta",
# exit status 0.
play_and_quit() {
    e2e_game
    menu_skip_title
    e2e_wait_pixel "$W/menu.png" 330 480 "170 170 170" 10
    if [ "${1:-}" = run ]; then
        e2e_press menu:Pelaa
        e2e_wait_marble "59 59" 10 >/dev/null || fail "no run on the default level: $(e2e_marble)"
        local before
        before=$(stat -c %s "$W/installed.wav" 2>/dev/null || echo 0)
        e2e_until 60 "the capture did not grow (see $W/installed.wav)" captured $((before / 17640 + 40))
        xdotool key Escape
        e2e_wait_pixel "$W/menu.png" 330 480 "170 170 170" 10
    fi
    e2e_press menu:Lopeta
    e2e_wait_exit 10 >"$W/exit_status.txt"
    [ "$(cat "$W/exit_status.txt")" = 0 ] || fail "exit status $(cat "$W/exit_status.txt") (stderr: $(tail -3 "$W/stderr.txt"))"
}

play_and_quit run
[ -d "$player" ] || fail "the launcher made no $player"
for level in $shipped; do
    cmp -s "$root/data/$level" "$player/$level" || fail "shipped level $level not in the player's folder"
done
[ -L "$player/data1.dat" ] || fail "data1.dat in the player's folder is not a link"
[ "$(readlink -f "$player/data1.dat")" = "$(readlink -f "$P/share/vinkla/data1.dat")" ] ||
    fail "data1.dat links to $(readlink -f "$player/data1.dat")"
[ ! -e "$W/vinkla.cfg" ] || fail "the game wrote vinkla.cfg outside the player's folder"
for set in $sets; do
    [ -L "$player/sarjat/$set" ] && [ "$(readlink -f "$player/sarjat/$set")" = "$(readlink -f "$P/share/vinkla/sarjat/$set")" ] ||
        fail "the set $set is not linked into the player's folder"
done
# The installed game reaches its patch set: the run's music is in the capture (nothing else
# sounds in a run without a tilt).
music_rms=$(sox "$W/installed.wav" -n stat 2>&1 | sed -n 's/^RMS *amplitude: *//p')
awk -v r="${music_rms:-0}" 'BEGIN { exit !(r >= 0.003) }' ||
    fail "no music from the installed game (RMS ${music_rms:-none} over $(soxi -D "$W/installed.wav" 2>/dev/null) s)"

# Second start: a level the player changed and one of their own are kept, the settings too.
first=$(echo "$shipped" | head -1)
printf '%s\n' '**************' '*AF..........*' '*............*' '*............*' '*............*' \
    '*............*' '*............*' '*............*' '*............*' '*............*' \
    '*............*' '*............*' '*............*' '**************' noname 9999 >"$player/oma.vkl"
cp "$player/oma.vkl" "$player/$first"
printf '[settings]\nsound = 51\nlastgame = oma.vkl\n' >"$player/vinkla.cfg"
# A set of the player's own, and the link of a shipped set a later version no longer has.
mkdir "$player/sarjat/omat"
cp "$player/oma.vkl" "$player/sarjat/omat/"
ln -s "$(readlink -f "$P/share/vinkla/sarjat")/poistunut" "$player/sarjat/poistunut"
play_and_quit
[ -f "$player/sarjat/omat/oma.vkl" ] || fail "the player's own set is gone"
[ ! -L "$player/sarjat/poistunut" ] || fail "the link to a set no longer shipped stays"
cmp -s "$player/oma.vkl" "$player/$first" || fail "the launcher overwrote the player's $first"
[ -f "$player/oma.vkl" ] || fail "the player's own level is gone"
grep -q '^lastgame = oma.vkl$' "$player/vinkla.cfg" || fail "the player's lastgame was lost: $(cat "$player/vinkla.cfg")"
grep -q '^sound = 51$' "$player/vinkla.cfg" || fail "the player's volume was lost: $(cat "$player/vinkla.cfg")"

# Without HOME (a session that never set it) the player's home comes from the password
# database: a copy of /etc/passwd that gives this user a home in the work folder is bound over
# the real one in a mount namespace of the launcher's own. A user the database does not know
# (started under a free uid) gets the reason in a window. Both need root, which CI is.
if [ "$(id -u)" -eq 0 ] && unshare -m true 2>/dev/null; then
    pwhome="$W/passwd-home"
    awk -F: -v OFS=: -v home="$pwhome" '$3 == 0 { $6 = home } { print }' /etc/passwd >"$W/passwd"
    (cd "$W" && exec unshare -m sh -c 'mount --bind "$1" /etc/passwd && exec env -u HOME -u XDG_DATA_HOME "$2"' \
        sh "$W/passwd" "$P/bin/vinkla" >"$W/stdout.txt" 2>"$W/stderr.txt") &
    e2e_track_game $!
    timeout 20 xdotool search --sync --name '^vinkla 1.0$' >/dev/null 2>&1 ||
        fail "no game window without HOME: $(cat "$W/stderr.txt")"
    menu_skip_title
    e2e_wait_pixel "$W/menu.png" 330 480 "170 170 170" 10
    e2e_click 400 488
    e2e_wait_exit 10 >"$W/exit_status.txt"
    [ "$(cat "$W/exit_status.txt")" = 0 ] || fail "exit status $(cat "$W/exit_status.txt") without HOME"
    [ -L "$pwhome/.local/share/vinkla/data1.dat" ] ||
        fail "without HOME the game did not play in $pwhome/.local/share/vinkla: $(cat "$W/stderr.txt")"

    stranger=54321
    while getent passwd "$stranger" >/dev/null; do stranger=$((stranger + 1)); done
    chmod 755 "$W"
    (cd / && exec setpriv --reuid="$stranger" --regid="$stranger" --clear-groups \
        env -u HOME -u XDG_DATA_HOME "$P/bin/vinkla" >"$W/stdout.txt" 2>"$W/stderr.txt") &
    e2e_track_game $!
    timeout 20 xdotool search --sync --name '^vinkla$' >"$W/message_window.txt" 2>/dev/null ||
        fail "no window tells why the game cannot start: $(cat "$W/stderr.txt")"
    grep -q "kotikansiota ei löydy" "$W/stderr.txt" || fail "no reason on stderr: $(cat "$W/stderr.txt")"
    e2e_wait_still 1024x768+0+0 10
    cp "$W/still.png" "$W/message.png"
    /usr/bin/python3 "$(dirname "$0")/wm_close.py" "$(head -1 "$W/message_window.txt")"
    e2e_wait_exit 10 >"$W/exit_status.txt"
    [ "$(cat "$W/exit_status.txt")" = 1 ] || fail "exit status $(cat "$W/exit_status.txt") with no home found"
    [ ! -e /.local ] || fail "the launcher made /.local"
fi

# Uninstall: nothing installed is left; the player's folder is untouched.
before=$(cd "$player" && ls -A | sort)
bash "$root/scripts/uninstall.sh" "$prefix" "$dest" >"$W/uninstall.txt" 2>&1 ||
    fail "uninstall.sh failed: $(cat "$W/uninstall.txt")"
left=$(find "$dest" -type f -o -type l)
[ -z "$left" ] || fail "uninstall.sh left: $left"
# BINDIR puts the commands elsewhere (/usr/games, as the Debian package does), the desktop entry
# naming it; uninstall with the same BINDIR takes them away.
plain_make install BUILD="$build" PREFIX=/usr BINDIR=/usr/games DESTDIR="$W/games" >"$W/install_games.txt" 2>&1 ||
    fail "make install BINDIR=/usr/games failed: $(cat "$W/install_games.txt")"
for f in vinkla vinkla-replay vinkla-solve; do
    [ -x "$W/games/usr/games/$f" ] && [ ! -e "$W/games/usr/bin/$f" ] || fail "$f is not in BINDIR"
done
grep -qxF "Exec=/usr/games/vinkla" "$W/games/usr/share/applications/vinkla.desktop" || fail "the desktop entry does not name BINDIR"
plain_make uninstall PREFIX=/usr BINDIR=/usr/games DESTDIR="$W/games" >"$W/uninstall_games.txt" 2>&1 ||
    fail "make uninstall BINDIR=/usr/games failed: $(cat "$W/uninstall_games.txt")"
left=$(find "$W/games" -type f -o -type l)
[ -z "$left" ] || fail "make uninstall BINDIR=/usr/games left: $left"
[ "$(cd "$player" && ls -A | sort)" = "$before" ] || fail "uninstall.sh changed the player's folder"
[ -f "$player/vinkla.cfg" ] && [ -f "$player/oma.vkl" ] || fail "the player's files are gone"
echo "install e2e: ok ($(echo "$shipped" | wc -l) levels, music RMS $music_rms, player folder $player)"
