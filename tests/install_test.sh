#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed programs from elsewhere:
# blk lists and renders the installed sample library with the installed fonts, and the editor
# starts (offscreen) and keeps running. Usage: install_test.sh BUILD_DIR
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
cd /
library="$prefix/share/blokedit/Bloki/przyklad.blk"
for f in "$prefix/bin/blokedit" "$prefix/bin/blk" "$prefix/share/blokedit/Dane/Romans100.Lzs" \
         "$prefix/share/applications/blokedit.desktop" \
         "$prefix/share/icons/hicolor/scalable/apps/blokedit.svg" "$library"; do
  [ -e "$f" ] || { echo "not installed: $f"; exit 1; }
done
names="$("$prefix/bin/blk" list "$library")"
[ -n "$names" ] || { echo "blk list gave nothing"; exit 1; }
first="$(printf '%s\n' "$names" | head -n 1)"
# Drawing needs the stroke fonts: found in the share folder, not beside the program.
"$prefix/bin/blk" render "$library" "$first" -o "$prefix/out.png"
[ -s "$prefix/out.png" ] || { echo "blk render wrote nothing"; exit 1; }
status=0
HOME="$prefix/home" XDG_DATA_HOME="$prefix/home/data" QT_QPA_PLATFORM=offscreen \
  timeout 3 "$prefix/bin/blokedit" || status=$?
# Still running when the time was up: it started.
[ "$status" -eq 124 ] || { echo "the installed editor ended with $status"; exit 1; }
echo "installed and ran from $prefix"
