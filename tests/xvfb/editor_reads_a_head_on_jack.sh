#!/usr/bin/env bash
# The editor started on the last tab finds a dual-amp head on JACK by its port name, asks for the
# firmware version and reads the whole state, and changes nothing on the amplifier while doing so.
source "$(dirname "$0")/lib.sh"

xvfb_begin dual --tab 4
xvfb_mark_at=0
xvfb_expect_received "F0 43 7D 10 58 32 70 21 00 00 F7" "${kFullRead[@]}"
xvfb_end
[ "$(xvfb_amp_setting 2 booster)" = white ] || xvfb_fail "Amp II's booster changed: $(xvfb_head_state)"
echo "PASS"
