#!/usr/bin/env bash
# The speaker simulation panel of Amp I against a dual-amp head on JACK, with mouse and keyboard:
# F5 lists files written after start-up, a clicked file is streamed to the amp exactly as the
# file holds it, the knob sets its gain, install stores it in the slot of the amp type, the bypass
# switch streams the unit impulse, and a typed name is written into the stored slot.
source "$(dirname "$0")/lib.sh"
command -v sox >/dev/null || { echo "SKIP: sox is not installed" >&2; exit 77; }

readonly kCoefficientPacket="F0 43 7D 00 .. .. 58 48 44 32 46 49 52"  # ten per streamed record
readonly kTableTop=295 kRowHeight=18
readonly kName="Cab A Tight"

# Clicks the middle of row N of the file list (0 is the first row).
click_row() {
    xvfb_click_frame 400 $((kPanelHeight - kTableTop - kRowHeight * $1 - kRowHeight / 2 - 1)) 100 2
}

# Waits for N packets after the mark, then marks.
expect_packets() {
    local -r count="xvfb_received_since | grep -c '^$kCoefficientPacket'"
    xvfb_wait_for 10 "[ \$($count) -ge $1 ]" || xvfb_fail "$(eval "$count") coefficient packets"
    xvfb_mark
}

xvfb_begin --tab 3
folder="$xvfb_dir/home/Music/Velk/Ostrel"
sox -n -r 44100 -c 1 -b 16 "$folder/cab-a.wav" synth 0.05 whitenoise fade q 0 0.05 0.045 lowpass 4000 gain -6

click_row 6 # below the rows: the list takes the keyboard, nothing is selected
xvfb_key F5
xvfb_mark
click_row 1
expect_packets 10
xvfb_click_frame 850 330 16 4 # straight above the knob's centre: position 20, -10 dB
xvfb_expect_received "F0 43 7D 10 58 32 04 04 28 3D F7" # gain word 5181
xvfb_click_frame 270 180 75 69 # install
xvfb_expect_received "F0 43 7D 10 58 32 04 07 00 00 F7"
xvfb_click_frame 824 80 69 95 # bypass on
expect_packets 10
xvfb_click_frame 90 406 316 17 # the IR name field
xvfb_key ctrl+a
xdotool type --delay 30 "$kName"
xvfb_key Return
# Back to the stored IR, the letters of the new name that differ from the stored "cab-a", and
# the write into the slot.
readonly kStoredName="cab-a"
name_letters=()
for ((i = 0; i < ${#kName}; i++)); do
    [ "${kName:i:1}" = "${kStoredName:i:1}" ] ||
        name_letters+=("$(printf 'F0 43 7D 10 58 32 04 03 %02X %02X F7' "$i" "'${kName:i:1}")")
done
xvfb_expect_received "F0 43 7D 10 58 32 04 00 00 00 F7" "${name_letters[@]}" "F0 43 7D 10 58 32 04 07 00 00 F7"
xvfb_end

# The file as the command line reads it, with the knob's gain and the typed name.
expected="$kName -10.0 $("$VELKCTL" ir show "$folder/cab-a.wav" --json | python3 -c '
import json, sys
print(*json.load(sys.stdin)["coefficients"])')"
# Slot 0 of the stopped head: "name gainDb coefficients...".
stored=$(python3 -c '
import json, sys
slot = [s for s in json.load(sys.stdin)["storedIrs"] if s["slot"] == 0][0]
print(slot["name"], slot["gainDb"], *slot.get("coefficients", []))' <"$xvfb_dir/head.json")
[ "$stored" = "$expected" ] || xvfb_fail "slot 0 holds ${stored:0:80}... instead of ${expected:0:80}..."
echo "PASS"
