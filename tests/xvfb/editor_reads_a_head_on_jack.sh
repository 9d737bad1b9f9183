#!/usr/bin/env bash
# The editor started on the last tab finds a dual-amp head on JACK by its port name, asks for the
# firmware version and reads the whole state, and changes nothing on the amplifier while doing so.
source "$(dirname "$0")/lib.sh"

xvfb_begin dual --tab 4
xvfb_mark_at=0
xvfb_expect_received \
    "F0 43 7D 10 58 32 70 21 00 00 F7" \
    "F0 43 7D 20 58 48 44 32 55 54 49 4C F7" \
    "F0 43 7D 20 58 48 44 32 46 48 4C 30 F7" \
    "F0 43 7D 20 58 48 44 32 46 48 4C 31 F7" \
    "F0 43 7D 20 58 48 44 32 46 48 4C 32 F7" \
    "F0 43 7D 20 58 48 44 32 46 48 4C 33 F7" \
    "F0 43 7D 20 58 48 44 32 46 48 4C 34 F7" \
    "F0 43 7D 20 58 48 44 32 46 48 52 30 F7" \
    "F0 43 7D 20 58 48 44 32 46 48 52 31 F7" \
    "F0 43 7D 20 58 48 44 32 46 48 52 32 F7" \
    "F0 43 7D 20 58 48 44 32 46 48 52 33 F7" \
    "F0 43 7D 20 58 48 44 32 46 48 52 34 F7"
xvfb_end
[ "$(xvfb_amp_setting 2 booster)" = white ] || xvfb_fail "Amp II's booster changed: $(xvfb_head_state)"
echo "PASS"
