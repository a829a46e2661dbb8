#!/usr/bin/env bash
# Runs the program from a build folder. Under a display: the desktop application on the
# built-in simulated transmitter. Without one: says so and runs the same session on the
# command-line tool (read the transmitter, then five measurement frames).
set -euo pipefail
build=${1:-build}
bin="$build/bin"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin/vantrel" --simulator
fi

echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): the desktop application needs one."
echo "Running the command-line session against the simulated transmitter instead."
echo
# "default": the profile beside the programs (build/bin/profiles/default.json).
echo "\$ vantrel-cli --device default read"
"$bin/vantrel-cli" --device default read
echo
echo "\$ vantrel-cli --device default measure --frames 5"
exec "$bin/vantrel-cli" --device default measure --frames 5
