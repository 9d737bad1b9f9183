#!/usr/bin/env bash
# The Effects tab of Amp II on a dual-amp head found on JACK, worked with the mouse at the centres of
# the controls' frames and then the keyboard: each change reaches the amplifier as one parameter
# change for Amp II, and clicking the booster type already selected sends nothing.
source "$(dirname "$0")/lib.sh"

# Frames of the effect settings panel (x, y, width, height from the panel's bottom-left corner).
readonly kBoosterGreen="140 28 71 122"
readonly kReverbHall="758 28 72 122"
readonly kFxLoop="314 424 223 71"
readonly kNoiseGate="732 412 155 141"

xvfb_begin --tab 2
xvfb_click_frame $kBoosterGreen $kBoosterGreen $kReverbHall $kFxLoop $kNoiseGate
xvfb_key Down
xvfb_expect_received \
    "F0 43 7D 10 58 32 00 09 00 01 F7" \
    "F0 43 7D 10 58 32 00 0B 00 03 F7" \
    "F0 43 7D 10 58 32 00 0A 00 01 F7" \
    "F0 43 7D 10 58 32 00 0C 00 03 F7" \
    "F0 43 7D 10 58 32 00 0C 00 02 F7"
xvfb_end
for setting in "booster green" "reverb hall" "fxLoop true" "noiseGate 2"; do
    set -- $setting
    [ "$(xvfb_amp_setting 2 "$1")" = "$2" ] || xvfb_fail "Amp II's $1 is not $2: $(<"$xvfb_dir/head.json")"
done
[ "$(xvfb_amp_setting 1 booster)" = white ] || xvfb_fail "Amp I's booster changed: $(<"$xvfb_dir/head.json")"
echo "PASS"
