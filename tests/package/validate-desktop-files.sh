#!/usr/bin/env bash
# Checks the desktop entry with desktop-file-validate and the AppStream
# metainfo with appstreamcli (pedantic, offline). Exit 77 (skipped) when
# neither tool is installed; scripts/setup installs both.
#   validate-desktop-files.sh DESKTOP_FILE METAINFO_FILE
set -euo pipefail
desktop=$1 metainfo=$2
ran=0
if command -v desktop-file-validate >/dev/null; then
  out=$(desktop-file-validate "$desktop" 2>&1)
  # Hints count too: the entry is meant to pass without any.
  [ -z "$out" ] || { echo "$out" >&2; exit 1; }
  echo "desktop-file-validate: $desktop passes"
  ran=1
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --pedantic --no-net --explain "$metainfo"
  out=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1)
  if ! printf '%s\n' "$out" | grep -qx '✔ Validation was successful.'; then
    echo "appstreamcli found something to say (pedantic notes count)" >&2
    exit 1
  fi
  ran=1
fi
[ "$ran" = 1 ] || { echo "neither desktop-file-validate nor appstreamcli is installed"; exit 77; }
