#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Vantrel maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds the Debian packages from a build tree and checks them as a distribution would:
# lintian (no errors, no warnings), the desktop entry, the AppStream metadata, and the file
# lists (only programs in bin/, the command-line package without desktop libraries).
#
#   scripts/check-package.sh [BUILD_DIR]      (the tree must be built)
set -euo pipefail

build=${1:-build}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "check-package: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
cli=$(ls "$out"/vantrel-cli_*.deb)
gui=$(ls "$out"/vantrel_*.deb 2>/dev/null || true)
debs=("$cli")
[[ -n $gui ]] && debs+=("$gui")
echo "Built: ${debs[*]##*/}"

# Warnings fail as errors do; "info" and "pedantic" tags are only shown.
lintian --fail-on error,warning --tag-display-limit 0 "${debs[@]}"

for deb in "${debs[@]}"; do
    files=$(dpkg-deb --fsys-tarfile "$deb" | tar -t)
    # Only the three programs live in bin/.
    extra=$(grep -E '^\./usr/bin/.+' <<<"$files" | grep -vE '^\./usr/bin/vantrel(-cli|-sim)?$' || true)
    [[ -z $extra ]] || fail "$(basename "$deb"): not a program in bin/: $extra"
    grep -q "^\./usr/share/doc/$(dpkg-deb -f "$deb" Package)/copyright$" <<<"$files" ||
        fail "$(basename "$deb"): no copyright file"
done

cli_files=$(dpkg-deb --fsys-tarfile "$cli" | tar -t)
for f in usr/bin/vantrel-cli usr/bin/vantrel-sim usr/share/man/man1/vantrel-cli.1.gz \
         usr/share/bash-completion/completions/vantrel-cli usr/share/vantrel/profiles/default.json; do
    grep -qx "\./$f" <<<"$cli_files" || fail "vantrel-cli lacks /$f"
done
# A production line installs vantrel-cli without any desktop library.
if dpkg-deb -f "$cli" Depends | grep -qE 'libqt6(widgets|charts|printsupport|svg)'; then
    fail "vantrel-cli depends on desktop libraries: $(dpkg-deb -f "$cli" Depends)"
fi

if [[ -n $gui ]]; then
    dpkg-deb -f "$gui" Depends | grep -q 'vantrel-cli (= ' || fail "vantrel does not depend on vantrel-cli"
    root="$out/root"
    dpkg-deb -x "$gui" "$root"
    desktop-file-validate "$root"/usr/share/applications/vantrel.desktop
    appstreamcli validate --no-net --pedantic "$root"/usr/share/metainfo/*.metainfo.xml
    for f in usr/share/doc/vantrel/MT_ENG_VANTREL30300.pdf usr/share/doc/vantrel/MT_ITA_VANTREL30300.pdf \
             usr/share/man/man1/vantrel.1.gz; do
        [[ -f $root/$f ]] || fail "vantrel lacks /$f"
    done
fi
echo "check-package: the packages are sound"
