#!/bin/bash
# The package on a fresh machine: `make deb` builds it (lintian and appstreamcli check it), then a
# minimal Debian 12 made by debootstrap from Debian's mirror installs it with
# `apt-get install ./vinkla_*.deb`, an ordinary user's login shell starts `vinkla` on an Xvfb
# outside the chroot (its socket bound in) and the menu shows and quits with status 0, and
# `apt-get purge` with autoremove leaves the machine's files as they were before, the player's
# folder aside. Run as root (debootstrap, chroot, mounts); everything lives in build-package/,
# removed at the end. scripts/package_test.sh [--no-build]   (--no-build: the packages in deb/)
source "$(dirname "$0")/../tests/e2e/lib.sh"
source "$(dirname "$0")/../tests/e2e/menu_lib.sh"
root="$(cd "$(dirname "$0")/.." && pwd)"
[ "$(id -u)" = 0 ] || { echo "package_test: run as root (debootstrap, chroot and mounts need it)" >&2; exit 1; }
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
top="$root/build-package"
C="$top/chroot"
start=$(date +%s)
step() { echo "package_test: $(($(date +%s) - start)) s: $*"; }

# Whatever ends the script, the game ends before the mounts go, and the chroot is removed only
# once nothing is mounted in it (a bound /tmp/.X11-unix would go with it).
package_cleanup() {
    local rc=$? pid m
    set +e
    for pid in "${E2E_GAME_PIDS[@]}"; do
        e2e_end "$pid" 3
    done
    for m in $(findmnt -rn -o TARGET | grep "^$C/" | sort -r); do
        umount "$m" || umount -l "$m"
    done
    if findmnt -rn -o TARGET | grep -q "^$C/"; then
        echo "package_test: still mounted under $C; left in place" >&2
    else
        rm -rf --one-file-system "$top"
    fi
    (exit "$rc")
    e2e_cleanup
}
trap package_cleanup EXIT

if [ "${1:-}" != --no-build ]; then
    step "make deb"
    make -C "$root" deb >"$top.log" 2>&1 || { tail -40 "$top.log"; fail "make deb failed (log: $top.log)"; }
    rm -f "$top.log"
fi
deb=$(ls "$root"/deb/vinkla_*_"$(dpkg --print-architecture)".deb)

rm -rf --one-file-system "$top"
mkdir -p "$top/empty"
step "debootstrap bookworm from $mirror"
debootstrap --variant=minbase bookworm "$C" "$mirror" >"$top/debootstrap.log" 2>&1 ||
    { tail -20 "$top/debootstrap.log"; fail "debootstrap failed"; }
mount -t proc proc "$C/proc"
# No service of any package starts inside the chroot.
printf '#!/bin/sh\nexit 101\n' >"$C/usr/sbin/policy-rc.d"
chmod 755 "$C/usr/sbin/policy-rc.d"
in_chroot() { chroot "$C" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8 "$@"; }
in_chroot useradd -m -s /bin/bash player

# Every path of the machine outside what changes by itself (caches, logs, apt's and dpkg's
# books, the kernel's file systems) and the player's home.
snapshot() {
    (cd "$C" && find . -xdev \( -path ./proc -o -path ./sys -o -path ./dev -o -path ./run -o -path ./tmp \
        -o -path ./var/cache -o -path ./var/log -o -path ./var/lib/apt -o -path ./var/lib/dpkg \
        -o -path ./home/player -o -path ./var/tmp \) -prune -o -printf '%y %m %u %p\n' | LC_ALL=C sort)
}
snapshot >"$top/before.txt"
[ "$(wc -l <"$top/before.txt")" -gt 5000 ] || fail "the fresh machine's list of files is too short to compare"

step "apt-get install ./$(basename "$deb")"
mkdir -p "$C/var/tmp/debs"
cp "$deb" "$C/var/tmp/debs/"
in_chroot apt-get install -y -q --no-install-recommends "/var/tmp/debs/$(basename "$deb")" >"$top/install.log" 2>&1 ||
    { tail -20 "$top/install.log"; fail "apt-get install failed"; }
rm -rf "$C/var/tmp/debs"
files=$(in_chroot dpkg -L vinkla)
for f in /usr/games/vinkla /usr/games/vinkla-replay /usr/games/vinkla-solve /usr/lib/vinkla/vinkla \
    /usr/share/vinkla/data1.dat /usr/share/applications/vinkla.desktop /usr/share/man/man6/vinkla.6.gz \
    /usr/share/man/man6/vinkla-replay.6.gz /usr/share/man/man6/vinkla-solve.6.gz \
    /usr/share/metainfo/example.c_seed_2cd98258.vinkla.metainfo.xml /usr/share/icons/hicolor/48x48/apps/vinkla.png; do
    echo "$files" | grep -qxF "$f" || fail "the package does not install $f"
done
# The installed commands run for the player too: a shipped level's kept run wins.
level=/usr/share/vinkla/sarjat/1_alkeet/01_alku.vkl
out=$(in_chroot runuser -u player -- /usr/games/vinkla-replay "$level" "$level.mouse.run" 2>&1) ||
    fail "vinkla-replay on the installed level: $out"
echo "$out" | grep -q "^won in [0-9]* frames" || fail "vinkla-replay said: $out"

step "vinkla on Xvfb as the player"
e2e_start "200 201 202 203" /usr/games/vinkla "$top/empty"
mkdir -p "$C/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$C/tmp/.X11-unix"
# The player's login shell finds vinkla on its PATH (/usr/games); exec keeps one process from
# chroot to the game, so the id started here is the game's.
chroot --userspec=player:player "$C" env -i HOME=/home/player USER=player LOGNAME=player SHELL=/bin/bash \
    DISPLAY="$DISPLAY" LANG=C.UTF-8 /bin/bash -lc 'exec vinkla' >"$E2E_WORK/stdout.txt" 2>"$E2E_WORK/stderr.txt" &
e2e_await_window 60
menu_skip_title
menu_wait 30
menu_quit
dir="$C/home/player/.local/share/vinkla"
[ -L "$dir/data1.dat" ] && [ "$(readlink "$dir/data1.dat")" = /usr/share/vinkla/data1.dat ] ||
    fail "the player's folder has no link to the data file"
[ -f "$dir/standardfile.vkl" ] || fail "the shipped level was not copied into the player's folder"
[ "$(in_chroot stat -c %U /home/player/.local/share/vinkla)" = player ] || fail "the player's folder is not the player's"
umount "$C/tmp/.X11-unix"

step "apt-get purge vinkla"
in_chroot apt-get purge -y -q vinkla >"$top/purge.log" 2>&1 || { tail -20 "$top/purge.log"; fail "apt-get purge failed"; }
in_chroot apt-get autoremove --purge -y -q >>"$top/purge.log" 2>&1 || { tail -20 "$top/purge.log"; fail "apt-get autoremove failed"; }
snapshot >"$top/after.txt"
left=$(diff "$top/before.txt" "$top/after.txt") || fail "purge left the machine changed: $left"
for f in $files; do
    [ -d "$C$f" ] || [ ! -e "$C$f" ] || fail "purge left $f"
done
[ -d "$dir" ] || fail "purge took the player's folder"
step "passed"
