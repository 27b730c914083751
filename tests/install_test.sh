#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed programs from elsewhere:
# blk lists and renders the installed sample library with the installed fonts, the desktop entry
# and the file type let a file manager open a library with the editor, and the editor starts
# (offscreen) with the library it is given and keeps running until it is told to end.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
cd /
library="$prefix/share/blokedit/Bloki/przyklad.blk"
for f in "$prefix/bin/blokedit" "$prefix/bin/blk" "$prefix/share/blokedit/Dane/Romans100.Lzs" \
         "$prefix/share/applications/blokedit.desktop" \
         "$prefix/share/icons/hicolor/scalable/apps/blokedit.svg" "$library" \
         "$prefix/share/mime/packages/blokedit.xml" \
         "$prefix/share/icons/hicolor/scalable/mimetypes/application-x-blokedit-library.svg"; do
  [ -e "$f" ] || { echo "not installed: $f"; exit 1; }
done
names="$("$prefix/bin/blk" list "$library")"
[ -n "$names" ] || { echo "blk list gave nothing"; exit 1; }
first="$(printf '%s\n' "$names" | head -n 1)"
# Drawing needs the stroke fonts: found in the share folder, not beside the program.
"$prefix/bin/blk" render "$library" "$first" -o "$prefix/out.png"
[ -s "$prefix/out.png" ] || { echo "blk render wrote nothing"; exit 1; }
# The commands that draw nothing start without the drawing libraries: blk links no Qt, the
# program it runs for render does.
# ldd's output is taken whole first: grep -q leaves as soon as it matches, and under pipefail the
# pipe it leaves behind fails ldd.
blk_libraries="$(ldd "$prefix/bin/blk")"
draw_libraries="$(ldd "$prefix/libexec/blokedit/blk-draw")"
if grep -q libQt <<<"$blk_libraries"; then echo "blk links Qt"; exit 1; fi
grep -q libQt6Gui <<<"$draw_libraries" || { echo "blk-draw without Qt"; exit 1; }
desktop="$prefix/share/applications/blokedit.desktop"
grep -qx 'Exec=blokedit %f' "$desktop" || { echo "the desktop entry passes no file"; exit 1; }
grep -qx 'MimeType=application/x-blokedit-library;' "$desktop" ||
  { echo "the desktop entry names no file type"; exit 1; }
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi
if command -v update-mime-database >/dev/null; then
  # The package as the MIME database reads it: *.blk is a block library.
  update-mime-database "$prefix/share/mime"
  grep -q 'x-blokedit-library' "$prefix/share/mime/globs2" ||
    { echo "*.blk is not a block library to the MIME database"; exit 1; }
  grep -q '\*\.blk' "$prefix/share/mime/globs2" || { echo "no *.blk pattern"; exit 1; }
fi
status=0
copy="$prefix/kopia.blk"
cp "$library" "$copy"
HOME="$prefix/home" XDG_DATA_HOME="$prefix/home/data" QT_QPA_PLATFORM=offscreen \
  timeout 3 "$prefix/bin/blokedit" "$copy" || status=$?
# Still running when the time was up: it started.
[ "$status" -eq 124 ] || { echo "the installed editor ended with $status"; exit 1; }
# Told to end, it wrote what it remembers: the file it was given is its recent file.
recent="$prefix/share/blokedit/Dane/PozMenu.Lpk"
grep -qF "$copy" "$recent" || { echo "blokedit FILE did not open FILE"; exit 1; }
echo "installed and ran from $prefix"
