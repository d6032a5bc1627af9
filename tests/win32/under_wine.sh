#!/bin/sh
# Runs a Windows program under Wine: under_wine.sh PROBE PROGRAM ARGS... (PROBE is scripts/probe-32bit).
# Where Wine cannot start a Windows program, says why and exits with 77, which CTest reports as skipped.
probe="$1"
shift
if ! reason=$("$probe" wine); then
    echo "warning: not run under Wine: $reason"
    exit 77
fi
exec wine "$@"
