#!/usr/bin/env bash
# Runs the program from a build folder: for now the command-line tool shows the shipped
# example programming file.
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")/.." && pwd)
exec "$build/bin/vantrel-cli" file show "$here/examples/TC_K_0-1000C_4-20mA.D70"
