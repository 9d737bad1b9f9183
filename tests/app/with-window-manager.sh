#!/bin/sh
# Runs a command on a private X server with a window manager (openbox), so that windows get the
# frame and placement of a desktop.
#   with-window-manager.sh COMMAND [ARGUMENTS...]
set -eu
exec xvfb-run -a -s "-screen 0 1600x1000x24" sh -c '
    openbox --sm-disable >/dev/null 2>&1 &
    wm=$!
    # The window manager is up once it has announced itself on the root window.
    tries=0
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
        tries=$((tries + 1))
        [ "$tries" -lt 100 ] || { echo "openbox did not start" >&2; kill "$wm"; exit 1; }
        sleep 0.05
    done
    status=0
    QT_QPA_PLATFORM=xcb "$@" || status=$?
    kill "$wm"
    wait "$wm" 2>/dev/null || true
    exit "$status"
' with-window-manager "$@"
