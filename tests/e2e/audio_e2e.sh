#!/bin/bash
# The game is heard. ALSA's default device is pointed at a WAV file (a plug converting to 16-bit
# stereo at 44100 Hz over a file PCM whose sink is null), and two runs are recorded:
#  1. with the patch set beside the executable: the run's music sounds for seconds on end, and a
#     hard tilt into a wall adds a short knock well above the music;
#  2. with the executable alone in a folder (no patch set anywhere), where the synthesiser cannot
#     start: no music, but the knock still sounds.
# The null sink has no clock, so the capture runs about twice as fast as real time; the order of
# events holds, and the checks only count stretches within the capture.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
exe=$(readlink -f "$1")
e2e_start "52 54 56 58" "$exe" "$2"
W=$E2E_WORK
PY=$E2E_PY
patches="$(dirname "$exe")/patches.dat"
[ -f "$patches" ] || fail "no patch set beside the executable: $patches"

# The marble starts in row 6, column 4; tilted hard to the right it rolls into the east ring,
# whose face puts its centre on the line x = 13 * 39 + 20 - 36 = 491 at every hit and at rest.
printf '%s\n' '**************' '*F...........*' '*............*' '*............*' '*............*' \
    '*............*' '*...A........*' '*............*' '*............*' '*............*' \
    '*............*' '*............*' '*............*' '**************' noname 9999 >"$W/knock.vkl"
(cd "$W" && dat -x data1.dat A00_MARBLE_BMP -o marble.bmp >/dev/null 2>&1) || fail "cannot export the marble"

mkdir -p "$W/xdg/alsa"
export XDG_CONFIG_HOME="$W/xdg"

# marble_is X Y: the marble's picture appears exactly with its centre at (X, Y).
marble_is() {
    e2e_shot "$W/run.png"
    convert "$W/run.png" -crop "40x40+$(($1 - 20))+$(($2 - 20))" +repage -alpha off "$W/cell.png"
    convert "$W/cell.png" \( "$W/marble.bmp" -transparent '#ff00ff' \) -composite -alpha off "$W/cell_marble.png"
    [ "$(compare -metric AE "$W/cell.png" "$W/cell_marble.png" null: 2>&1 || true)" = 0 ]
}

# captured WAV TENTHS: the capture holds that many tenths of a second (the mixer writes even
# silence), 17640 bytes each.
captured() {
    [ "$(stat -c %s "$1" 2>/dev/null || echo 0)" -ge $((44 + 17640 * $2)) ]
}

# record WAV SOUND MUSIC: one run of knock.vkl with the game's output going to WAV.
record() {
    cat >"$XDG_CONFIG_HOME/alsa/asoundrc" <<EOF
pcm.!default {
    type plug
    slave { pcm "vinkla_capture"; format S16_LE; rate 44100; channels 2 }
}
pcm.vinkla_capture {
    type file
    slave.pcm "null"
    file "$1"
    format "wav"
}
EOF
    printf '[settings]\nlastgame = knock.vkl\nsound = %s\nmusic = %s\n' "$2" "$3" >"$W/vinkla.cfg"
    rm -f "$1"
    e2e_game
    menu_skip_title
    e2e_wait_pixel "$W/menu.png" 330 480 "170 170 170" 10
    e2e_press menu:Pelaa                                              # "Pelaa"
    e2e_until 10 "the marble is not on its start square (see $W/run.png)" marble_is 176 254
    # Music alone: about 7 s of the capture (3 s of the hand's time) before the tilt.
    local before
    before=$(stat -c %s "$1" 2>/dev/null || echo 0)
    e2e_until 60 "the capture did not grow to 7 s (see $1)" captured "$1" $((before / 17640 + 70))
    # Moves closer together than a frame or two can be lost.
    xdotool mousemove_relative -- 70 0 sleep 0.06 mousemove_relative -- 70 0 sleep 0.06 \
        mousemove_relative -- 70 0
    # Seen on the face line once: it has hit the wall (it may be on a rebound in the next shot).
    e2e_until 10 "the marble never reached the east wall (see $W/run.png)" marble_is 491 254
    # The music after the knock: 2 s more of the capture.
    before=$(stat -c %s "$1" 2>/dev/null || echo 0)
    e2e_until 60 "the capture did not grow after the knock (see $1)" captured "$1" $((before / 17640 + 20))
    xdotool key Escape
    e2e_wait_pixel "$W/menu.png" 330 480 "170 170 170" 10
    e2e_press menu:Lopeta                                              # "Lopeta": the WAV is closed
    e2e_wait_exit 10 >"$W/exit_status.txt"
    [ "$(cat "$W/exit_status.txt")" = 0 ] || fail "exit status $(cat "$W/exit_status.txt")"
    [ -s "$1" ] || fail "nothing was captured to $1 (stderr: $(grep -v '^ALSA lib' "$W/stderr.txt" | head -5))"
}

# analyse WAV: checks the header was finished and prints the capture's figures, one per line:
# seconds, longest stretch of sound in seconds, loudest 50 ms peak, the loudness of the sound
# around it (median peak of the 50 ms windows from 1 s before to 1 s after, leaving out the
# 0.3 s that hold the loud window), and the median peak of the first 3 s of sound.
analyse() {
    $PY - "$1" <<'EOF'
import os, sys, wave
import numpy as np
path = sys.argv[1]
w = wave.open(path)
rate, n = w.getframerate(), w.getnframes()
assert (w.getnchannels(), w.getsampwidth(), rate) == (2, 2, 44100), "not 16-bit stereo at 44100 Hz"
data_bytes = os.path.getsize(path) - 44
assert n > 0 and abs(data_bytes - 4 * n) < 64, "header not finished: %d frames, %d bytes" % (n, data_bytes)
s = np.frombuffer(w.readframes(n), dtype="<i2").reshape(-1, 2).astype(float) / 32768
mono = np.abs(s).max(axis=1)
win = rate // 20
peaks = np.array([mono[i:i + win].max() for i in range(0, len(mono) - win + 1, win)])
sounding = peaks > 0.002
longest = run = 0
for x in sounding:
    run = run + 1 if x else 0
    longest = max(longest, run)
loud = int(peaks.argmax())
around = np.concatenate([peaks[max(0, loud - 20):max(0, loud - 1)], peaks[loud + 5:loud + 21]])
first = np.nonzero(sounding)[0]
opening = peaks[first[0]:first[0] + 60] if len(first) else np.zeros(1)
print("%.2f" % (n / rate))
print("%.2f" % (longest / 20))
print("%.4f" % peaks[loud])
print("%.4f" % (np.median(around) if len(around) else 0))
print("%.4f" % np.median(opening))
EOF
}

# 1. Music and a knock: sound effects at full volume, music low (17, the slider's first step),
# so the knock stands out of the music.
record "$W/with_music.wav" 255 17
figures=$(analyse "$W/with_music.wav") || fail "cannot read with_music.wav"
read -r -d '' secs longest loud around opening <<<"$figures" || true
stat1=$(sox "$W/with_music.wav" -n stat 2>&1 | grep -E 'RMS +amplitude|Maximum amplitude' | tr -s ' ' | tr '\n' ';')
echo "with music: ${secs} s captured, sound for ${longest} s on end, loudest 50 ms peak $loud," \
    "music around it $around, opening $opening; sox: $stat1"
awk -v l="$longest" 'BEGIN { exit !(l >= 4) }' || fail "no sustained music: the longest stretch of sound is $longest s"
awk -v o="$opening" 'BEGIN { exit !(o >= 0.005) }' || fail "the music is too quiet to hear: median peak $o"
awk -v p="$loud" -v a="$around" 'BEGIN { exit !(p >= 0.1 && p >= 4 * a && a > 0.002) }' ||
    fail "no knock above the music: loudest peak $loud, music around it $around"

# 2. No patch set reachable: the executable alone in a folder, default volumes.
mkdir -p "$W/alone"
cp "$exe" "$W/alone/vinkla"
E2E_EXE="$W/alone/vinkla"
unset ALLEGRO
record "$W/no_patches.wav" 136 136
figures=$(analyse "$W/no_patches.wav") || fail "cannot read no_patches.wav"
read -r -d '' secs longest loud around opening <<<"$figures" || true
stat2=$(sox "$W/no_patches.wav" -n stat 2>&1 | grep -E 'RMS +amplitude|Maximum amplitude' | tr -s ' ' | tr '\n' ';')
echo "without patch set: ${secs} s captured, sound for ${longest} s on end, loudest 50 ms peak $loud," \
    "around it $around; sox: $stat2"
awk -v l="$longest" 'BEGIN { exit !(l <= 0.5) }' || fail "sound for $longest s on end without a synthesiser"
awk -v p="$loud" -v a="$around" 'BEGIN { exit !(p >= 0.05 && a == 0) }' ||
    fail "no knock in silence: loudest peak $loud, around it $around"
echo "audio e2e: ok"
