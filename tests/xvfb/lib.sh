# Drives the real editor window on a private X server against `velkctl simulate` on a private JACK
# server, the way a user with a mouse would, and reads back what the simulated amplifier received.
# Sourced by the checks in this folder, which ctest runs with VELKCTL and VELK_EDITOR set.
#
#   xvfb_begin [editor options...]               start everything against a dual-amp head; returns once
#                                                the editor has read the head's state
#   xvfb_click_frame X Y W H...                  click the centre of each panel frame (bottom-left origin)
#   xvfb_key KEY...                              keyboard input to the editor window
#   xvfb_mark                                    remember how much the amplifier has received so far
#   xvfb_received_since                          what it received after the mark, heartbeats left out
#   xvfb_expect_received HEX...                  fail unless these messages arrived, in this order; mark
#   xvfb_end                                     close the editor and stop the head
#   $xvfb_dir/head.json                          the stopped head's state, as `velkctl simulate --json`
# A check exits 77 (skipped) on a machine without Xvfb, xdotool, xwininfo or jackd.

set -euo pipefail

readonly kPanelHeight=580
readonly kPanelWidth=940
readonly kHeartbeatRequest="F0 43 7D 10 58 32 70 01 00 00 F7"
# A read of the whole head: the effect block (UTIL), then the IR headers FHL0-FHL4 of Amp I
# and FHR0-FHR4 of Amp II.
readonly kFullRead=("F0 43 7D 20 58 48 44 32 55 54 49 4C F7" "F0 43 7D 20 58 48 44 32 46 48 "{4C,52}" 3"{0..4}" F7")

xvfb_fail() {
    echo "FAIL: $*" >&2
    [ -n "${xvfb_dir:-}" ] && [ -f "$xvfb_dir/editor.log" ] && sed 's/^/  editor: /' "$xvfb_dir/editor.log" >&2
    exit 1
}

# Polls the shell CONDITION every 100 ms for up to SECONDS.
xvfb_wait_for() {
    local tries=$(($1 * 10))
    until eval "$2"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

xvfb_cleanup() {
    local pid
    for pid in ${xvfb_editor_pid:-} ${xvfb_head_pid:-} ${xvfb_x_pid:-} ${xvfb_jack_pid:-}; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    [ -n "${xvfb_dir:-}" ] && [ -z "${XVFB_KEEP:-}" ] && rm -rf "$xvfb_dir"
}

xvfb_begin() {
    hash Xvfb xdotool xwininfo jackd 2>/dev/null || { echo "SKIP: Xvfb, xdotool, xwininfo or jackd is missing" >&2; exit 77; }
    [ -x "${VELKCTL:-}" ] && [ -x "${VELK_EDITOR:-}" ] || xvfb_fail "VELKCTL and VELK_EDITOR must name the built programs"
    xvfb_dir=$(mktemp -d)
    trap xvfb_cleanup EXIT

    export JACK_DEFAULT_SERVER="velk-xvfb-$$"
    jackd -n "$JACK_DEFAULT_SERVER" -S -d dummy -r 48000 -p 64 >"$xvfb_dir/jackd.log" 2>&1 &
    xvfb_jack_pid=$!
    xvfb_wait_for 10 '"$VELKCTL" list --midi jack >/dev/null 2>&1' || xvfb_fail "jackd did not start"
    "$VELKCTL" simulate --midi jack --model dual --trace --json >"$xvfb_dir/head.json" 2>"$xvfb_dir/head.trace" &
    xvfb_head_pid=$!
    xvfb_wait_for 10 '"$VELKCTL" list --midi jack 2>&1 | grep -q VelkSolvo/' || xvfb_fail "the simulated head did not appear on JACK"

    exec 3>"$xvfb_dir/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$xvfb_dir/xvfb.log" 2>&1 &
    xvfb_x_pid=$!
    exec 3>&-
    xvfb_wait_for 10 'test -s "$xvfb_dir/display"' || xvfb_fail "Xvfb did not start"
    export DISPLAY=":$(cat "$xvfb_dir/display")"

    # Every widget gets an X window of its own, so that the panel on show can be found by its size.
    mkdir -p "$xvfb_dir/home" && mkdir -m 0700 "$xvfb_dir/runtime"
    HOME="$xvfb_dir/home" XDG_CONFIG_HOME="$xvfb_dir/home/.config" XDG_RUNTIME_DIR="$xvfb_dir/runtime" \
        QT_QPA_PLATFORM=xcb QT_USE_NATIVE_WINDOWS=1 \
        "$VELK_EDITOR" --midi jack "$@" >"$xvfb_dir/editor.log" 2>&1 &
    xvfb_editor_pid=$!
    # The head is found by its port name, asked for its firmware version and read whole, and nothing
    # on it changes meanwhile.
    xvfb_mark_at=0
    xvfb_patience=30 xvfb_expect_received "F0 43 7D 10 58 32 70 21 00 00 F7" "${kFullRead[@]}"
    xvfb_wait_for 10 xvfb_find_panel || xvfb_fail "no panel of ${kPanelWidth}x${kPanelHeight} is on show"
}

# The panel on show: the viewable window of the panels' size.
xvfb_find_panel() {
    local id geometry
    for id in $(xwininfo -root -tree | awk -v size="${kPanelWidth}x${kPanelHeight}" '$0 ~ size {print $1}'); do
        geometry=$(xwininfo -id "$id")
        grep -q 'IsViewable' <<<"$geometry" || continue
        xvfb_panel_x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$geometry")
        xvfb_panel_y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$geometry")
        return 0
    done
    return 1
}

xvfb_click_frame() {
    while [ $# -ge 4 ]; do
        xdotool mousemove --sync $((xvfb_panel_x + $1 + $3 / 2)) $((xvfb_panel_y + kPanelHeight - $2 - $4 / 2)) click 1
        sleep 0.3
        shift 4
    done
}

xvfb_key() {
    xdotool key --delay 50 "$@"
    sleep 0.3
}

xvfb_mark() {
    xvfb_mark_at=$(wc -l <"$xvfb_dir/head.trace")
}

xvfb_received_since() {
    tail -n +"$((xvfb_mark_at + 1))" "$xvfb_dir/head.trace" | grep ' in ' | grep -v " in  $kHeartbeatRequest\$" |
        sed 's/^[^ ]* in  //' || true
}

# Waits up to 5 s (or xvfb_patience) for the messages to have arrived after the mark, in the given order, and marks;
# fails with what did arrive otherwise.
xvfb_expect_received() {
    local -r expected=$(printf '%s\n' "$@")
    xvfb_wait_for "${xvfb_patience:-5}" '[ "$(xvfb_received_since)" = "$expected" ]' && { xvfb_mark; return 0; }
    xvfb_fail "the head received
$(xvfb_received_since)
instead of
$expected"
}

xvfb_end() {
    kill "$xvfb_editor_pid" 2>/dev/null || true
    kill -INT "$xvfb_head_pid"
    wait "$xvfb_head_pid" || xvfb_fail "the simulated head did not end cleanly"
    xvfb_head_pid=""
}

# One setting of an amp (1 or 2) in the stopped head's state, e.g. `xvfb_amp_setting 2 booster`.
xvfb_amp_setting() {
    grep -o "\"amp\":$1,[^{]*" "$xvfb_dir/head.json" | grep -o "\"$2\":[^,]*" | cut -d: -f2 | tr -d '"'
}
