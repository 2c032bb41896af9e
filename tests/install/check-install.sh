#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# check-install.sh BUILD_DIR VERSION: installs BUILD_DIR with DESTDIR into a scratch folder and
# checks the installed tree. Fails with a message naming the first thing that is wrong.
set -euo pipefail
build=$1
version=$2
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
root="$stage/usr"
id=example.vantrel.vantrel

expected=(
  bin/vantrel
  bin/vantrel-cli
  "share/vantrel/Vantrel Dictionary.txt"
  "share/vantrel/Vantrel Deutsch.txt"
  "share/vantrel/Vantrel Francais.txt"
  share/vantrel/affixes/english.txt
  share/vantrel/affixes/german.txt
  share/vantrel/affixes/french.txt
  share/applications/$id.desktop
  share/metainfo/$id.metainfo.xml
  share/icons/hicolor/scalable/apps/$id.svg
  share/man/man1/vantrel.1.gz
  share/man/man1/vantrel-cli.1.gz
  share/man/de/man1/vantrel.1.gz
  share/man/de/man1/vantrel-cli.1.gz
  share/man/fr/man1/vantrel.1.gz
  share/man/fr/man1/vantrel-cli.1.gz
  share/doc/vantrel/copyright
  share/doc/vantrel/changelog.gz
  share/lintian/overrides/vantrel
)
for size in 16 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for f in "${expected[@]}"; do
  [ -f "$root/$f" ] || fail "not installed: $f"
done
for f in bin/vantrel bin/vantrel-cli; do
  [ -x "$root/$f" ] || fail "not executable: $f"
done
# Nothing outside the prefix, and nothing that points back into the build tree.
stray=$(cd "$stage" && find . -mindepth 1 -maxdepth 1 ! -name usr)
[ -z "$stray" ] || fail "installed outside the prefix: $stray"
if grep -rlF "$(cd "$build" && pwd)" "$root/share" >/dev/null 2>&1; then
  fail "an installed data file names the build tree"
fi

for size in 16 32 48 64 128 256; do
  got=$(identify -format '%wx%h' "$root/share/icons/hicolor/${size}x${size}/apps/$id.png")
  [ "$got" = "${size}x${size}" ] || fail "icon of size $size is $got"
done

desktop-file-validate "$root/share/applications/$id.desktop" || fail "desktop file"
grep -qx "Exec=vantrel" "$root/share/applications/$id.desktop" || fail "desktop Exec"
appstreamcli validate --pedantic --no-net "$root/share/metainfo/$id.metainfo.xml" >/dev/null ||
  fail "metainfo: $(appstreamcli validate --pedantic --no-net "$root/share/metainfo/$id.metainfo.xml")"

for page in vantrel vantrel-cli; do
  text=$(MANWIDTH=80 man -l "$root/share/man/man1/$page.1.gz" 2>&1) || fail "man $page"
  warnings=$(MANWIDTH=80 man --warnings=all -l "$root/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man $page warns: $warnings"
  grep -q "SYNOPSIS" <<<"$text" || fail "man $page has no synopsis"
done
# The translated pages: read as UTF-8 without a warning, a name line that lexgrog (and so
# mandb and apropos) can index, their own heading for the synopsis and the same version.
for entry in de/vantrel:ÜBERSICHT de/vantrel-cli:ÜBERSICHT \
  fr/vantrel:SYNOPSIS fr/vantrel-cli:SYNOPSIS; do
  page=${entry%%:*}
  heading=${entry#*:}
  file="$root/share/man/${page%%/*}/man1/${page#*/}.1.gz"
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$file" 2>&1) || fail "man $page"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings=all -l "$file" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man $page warns: $warnings"
  grep -q "^$heading" <<<"$text" || fail "man $page has no $heading"
  lexgrog "$file" | grep -qF "${page#*/} - " || fail "lexgrog finds no name line in $page"
  zcat "$file" | head -n 1 | grep -qF "\"Vantrel $version\"" ||
    fail "man $page does not carry version $version"
done

# One version everywhere: the manual pages, the AppStream release and the changelog's
# latest entry.
for page in vantrel vantrel-cli; do
  zcat "$root/share/man/man1/$page.1.gz" | head -n 1 | grep -qF "\"Vantrel $version\"" ||
    fail "man $page does not carry version $version"
done
grep -qF "<release version=\"$version\"" "$root/share/metainfo/$id.metainfo.xml" ||
  fail "metainfo does not carry version $version"
zcat "$root/share/doc/vantrel/changelog.gz" | head -n 1 | grep -qF "vantrel ($version)" ||
  fail "the changelog's latest entry is not $version"
grep -q '<project_license>GPL-3.0-or-later</project_license>' \
  "$root/share/metainfo/$id.metainfo.xml" || fail "metainfo project_license"

# The copyright file is machine-readable and names the terms of every bundled dictionary.
copyright="$root/share/doc/vantrel/copyright"
head -n 1 "$copyright" | grep -qF 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "copyright is not DEP-5"
for name in Dictionary Deutsch Francais; do
  grep -qF "Files: usr/share/vantrel/Vantrel?$name.txt" "$copyright" ||
    fail "copyright does not name Vantrel $name.txt"
done
for license in GPL-3+ GPL-2+ SCOWL; do
  grep -qx "License: $license" "$copyright" || fail "copyright lacks the text of $license"
done

cli_page=$(MANWIDTH=200 man -l "$root/share/man/man1/vantrel-cli.1.gz")
for command in search lookup affixes suggest; do
  grep -q "vantrel-cli $command" <<<"$cli_page" || fail "man vantrel-cli lacks $command"
done

# The installed vantrel-cli finds its installed dictionary beside itself; run it from
# elsewhere so that nothing in the build tree can be found by accident.
out=$(cd / && "$root/bin/vantrel-cli" search 18003569377)
grep -q $'^flowers\t3569377\t' <<<"$out" || fail "installed vantrel-cli does not find flowers"
