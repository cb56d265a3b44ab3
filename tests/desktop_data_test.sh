#!/bin/sh
# The desktop entry and the AppStream metainfo as desktops and software centres
# read them: any error or warning fails; skipped (77) without the validators.
# Usage: desktop_data_test.sh DESKTOP-ENTRY METAINFO
desktop=$1 metainfo=$2
ran=0 failed=0

# Runs a validator, shows what it said, and fails on an error exit or on a
# line that the pattern marks as an error or a warning.
check() {
  pattern=$1; shift
  command -v "$1" >/dev/null || { echo "$1 is not installed: not run"; return; }
  ran=1
  out=$("$@" 2>&1); status=$?
  echo "\$ $*"; [ -n "$out" ] && echo "$out"
  if [ $status -ne 0 ] || echo "$out" | grep -Eq "$pattern"; then failed=1; fi
}

check ': (error|warning):' desktop-file-validate "$desktop"
check '^[EW]:' appstreamcli validate --no-net "$metainfo"
[ $ran -eq 1 ] || exit 77
exit $failed
