# Sourced: starts Xvfb when there is no display and stops it on exit.
start_display() {
    if [ -n "${DISPLAY:-}" ]; then return 0; fi
    local n
    for n in $(seq 90 120); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        export DISPLAY=":$n"
        for _ in $(seq 1 100); do
            [ -e "/tmp/.X11-unix/X$n" ] && return 0
            sleep 0.1
        done
        kill "$XVFB_PID" 2>/dev/null || true
        unset DISPLAY
    done
    echo "Could not start Xvfb" >&2
    return 1
}
stop_display() {
    if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
}
