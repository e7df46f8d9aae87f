# shellcheck shell=bash
# The harness of windows-test.sh: checks that count, waits that end, a display of its own.
# Sourced; uses and sets passed, failed, work, xvfb_pid.

# check NAME COMMAND...: runs the command in a subshell, prints PASS or FAIL with the command's
# last output lines, and counts it.
check() {
    local name=$1 log
    shift
    log=$(mktemp "$work/check.XXXXXX")
    if ("$@") >"$log" 2>&1; then
        echo "PASS: $name"
        passed=$((passed + 1))
    else
        echo "FAIL: $name"
        tail -n 25 "$log" | sed 's/^/    /'
        failed=$((failed + 1))
    fi
    rm -f "$log"
}

# wait_for SECONDS COMMAND...: polls the command until it succeeds, at most SECONDS long.
wait_for() {
    local limit=$1 end
    shift
    end=$((SECONDS + limit))
    until "$@"; do
        ((SECONDS < end)) || return 1
        sleep 0.2
    done
}

# Ends the check being run (check runs each in a subshell) with the reason.
fail() {
    echo "$*"
    exit 1
}

# An X server on the first free display, kept running between clients (-noreset), so that a
# program that ends does not take the desktop's state with it.
start_display() {
    local n
    for n in $(seq 90 130); do
        [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -noreset -nolisten tcp >"$work/xvfb.log" 2>&1 &
        xvfb_pid=$!
        export DISPLAY=:$n
        if wait_for 30 xdpyinfo >/dev/null 2>&1; then
            return 0
        fi
        kill "$xvfb_pid" 2>/dev/null
        xvfb_pid=
    done
    return 1
}

# The Windows form of a Linux path (Z:\...).
winpath() {
    winepath -w "$1" 2>/dev/null
}

# Runs a Windows program to its end, at most SECONDS long, with its output on ours.
wine_run() {
    local limit=$1
    shift
    timeout --kill-after=10 "$limit" wine "$@"
}

# Waits until every Windows program of the prefix has ended and the Wine server with them.
wine_idle() {
    timeout 120 wineserver -w
}

# The X windows whose title is TITLE exactly.
window_named() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1
}

screenshot() {
    import -window root "$work/$1.png" 2>/dev/null
}
