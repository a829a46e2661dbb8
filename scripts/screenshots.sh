#!/usr/bin/env bash
# Saves a picture of every window of the desktop application into docs/screenshots/: the
# program runs offscreen on the built-in simulated transmitter (no display needed).
#   scripts/screenshots.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")/.." && pwd)
out="$here/docs/screenshots"
mkdir -p "$out"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
QT_QPA_PLATFORM=offscreen "$build/bin/vantrel-screenshots" "$out" >"$log" 2>&1 || status=$?
# The offscreen platform's remarks about window sizes and raising are no news.
grep -v -e "propagateSizeHints" -e "does not support raise" -e "XDG_RUNTIME_DIR" "$log" || true
exit "$status"
