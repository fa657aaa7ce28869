#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine, quietly. Uses the caller's WINEPREFIX
# when there is one; otherwise makes a throwaway prefix for this run and removes it after.
set -uo pipefail
export WINEDEBUG=-all
if [ -n "${WINEPREFIX:-}" ]; then
  exec wine "$@"
fi
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/orvane-wine-XXXXXX")
export WINEPREFIX
wine "$@"
code=$?
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
rm -rf "$WINEPREFIX"
exit "$code"
