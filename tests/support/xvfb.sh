# Sourced by the tests that need a real X server.
#   start_xvfb WIDTH HEIGHT WORKDIR
# starts Xvfb on a display number it picks itself (-displayfd: two tests
# started at once can never take the same number), waits until it takes
# connections, and sets DISPLAY and xvfb_pid. Returns non-zero, with the
# server's log printed, if it did not start.
start_xvfb() {
    local width=$1 height=$2 work=$3 display=''
    local fifo="$work/xvfb.displayfd"
    mkfifo "$fifo"
    # -noreset: a server resets when its last client leaves, and refuses
    # connections meanwhile; the check below is such a client.
    Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp -noreset \
        3>"$fifo" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    # The server writes its display number and a newline once it listens.
    read -r -t 20 display <"$fifo"
    rm -f "$fifo"
    if [[ -z $display ]]; then
        echo "FAIL: Xvfb did not start"
        cat "$work/xvfb.log"
        return 1
    fi
    export DISPLAY=":$display"
    for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && return 0; sleep 0.1; done
    echo "FAIL: Xvfb on $DISPLAY takes no connections"
    cat "$work/xvfb.log"
    return 1
}
