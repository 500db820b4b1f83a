# shellcheck shell=bash disable=SC2034 # its variables are for the tests that source it
# Shared by the package tests (sourced): failing with what was seen, waiting
# on a condition with a deadline, and running as root.

# Files shown when a check fails, as each test fills them in.
show_on_failure=()

fail() {
    echo "FAIL: $*" >&2
    local file
    for file in "${show_on_failure[@]}"; do
        if [ -s "$file" ]; then
            echo "--- $file" >&2
            cat "$file" >&2
        fi
    done
    exit 1
}

pass() {
    echo "PASS: $*"
}

# wait_until SECONDS WHAT COMMAND [ARGS...]: runs COMMAND until it succeeds.
# The condition ends the wait; the deadline only stops a hang.
wait_until() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$(($(date +%s) + seconds))
    until "$@"; do
        [ "$(date +%s)" -le "$deadline" ] || fail "$what (waited ${seconds} s)"
        sleep 0.2
    done
}

# Installing packages and changing users need root; CI is root already.
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi
