#!/usr/bin/env bash
# The settings window opened from the File menu of the editor against a dual-amp head on JACK:
# the FX loop send and return connections chosen with the keyboard reach the amplifier at once, and
# a confirmed reset of the stored impulse responses is followed by two full reads of the head.
source "$(dirname "$0")/lib.sh"

readonly kSettingsShown="xdotool search --onlyvisible --name '^Settings' >/dev/null 2>&1"

# Started on the last tab, which the settings window does not depend on.
xvfb_begin --tab 4
# Without a window manager the keyboard goes where it is sent.
focus_window() {
    xdotool windowfocus --sync "$(xdotool search --onlyvisible --name "$1" | head -1)"
}

focus_window '^Velk Vovezid'
xvfb_key alt+f s
xvfb_wait_for 10 "$kSettingsShown" || xvfb_fail "File > Settings… did not open the settings window"

# The focus starts on the send connection's first row; an arrow key chooses the next row.
xvfb_key Down
xvfb_key Tab Down
xvfb_expect_received \
    "F0 43 7D 10 58 32 00 05 00 01 F7" \
    "F0 43 7D 10 58 32 00 06 00 01 F7"

# On to the reset button past the channel, the MIDI service and the device; Return confirms.
xvfb_key Tab Tab Tab Tab space
xvfb_key Return
xvfb_expect_received "F0 43 7D 10 58 32 04 08 00 00 F7" "${kFullRead[@]}" "${kFullRead[@]}"

focus_window '^Settings'
xvfb_key Escape
xvfb_wait_for 5 "! $kSettingsShown" || xvfb_fail "Escape did not close the settings window"
xvfb_end
echo "PASS"
