#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Vantrel maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The size of the tests against the code they test: lines of C++ that are neither blank nor
# only a comment, in tests/ (tests, fuzz targets and their support library) against src/,
# bench/ and tools/. The suite should stay between a quarter and a third of the code: a
# heavier suite restates the code, a lighter one stops catching faults.
#
#   scripts/test-ratio.sh            print the figures
#   scripts/test-ratio.sh --check    also fail when the ratio leaves 0.25..0.35
set -euo pipefail
cd "$(dirname "$0")/.."

count() {
    git ls-files -- "$@" | grep -E '\.(cpp|h)$' | xargs -r cat | grep -cvE '^[[:space:]]*(//.*)?$'
}

code=$(count src bench tools)
tests=$(count tests)
ratio=$(awk -v t="$tests" -v c="$code" 'BEGIN { printf "%.3f", t / c }')
echo "C++ lines: code $code (src, bench, tools), tests $tests: tests/code = $ratio"
if [ "${1:-}" = "--check" ]; then
    awk -v r="$ratio" 'BEGIN { exit !(r >= 0.25 && r <= 0.35) }' || {
        echo "tests/code should lie between 0.25 and 0.35" >&2
        exit 1
    }
fi
