#!/usr/bin/env bash
# Packs the Windows program folder that scripts/windows.sh builds: the installer
# (Orvane-VERSION-setup.exe, desktop/windows/Orvane.nsi) and a zip of the folder for those who
# copy it by hand (Orvane-VERSION-windows.zip), both in the build tree. Both hold the folder
# package/Orvane-VERSION: the programs, the picture, the GPL text (COPYING.txt) and the notices
# of the libraries linked into the programs, freeglut and the mingw-w64 runtime (NOTICES.txt).
#
#   scripts/windows_installer.sh [BUILD-TREE]    (build-windows by default)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
tree=$(realpath "${1:-build-windows}")
bin="$tree/bin"
generated="$tree/generated"
version=$(sed -n 's/^!define VERSION "\(.*\)"$/\1/p' "$generated/version.nsh")
if [ -z "$version" ]; then
  echo "windows_installer: no version in $generated/version.nsh" >&2
  exit 1
fi

# The GPL text: the project's own copy, or Debian's.
license="$root/LICENSE"
[ -f "$license" ] || license=/usr/share/common-licenses/GPL-3
freeglut_notice="$tree/_deps/src/freeglut/debian/copyright"
mingw_notice=/usr/share/doc/mingw-w64-common/copyright
for file in "$bin/Orvane.scr" "$bin/Orvane.dll" "$bin/Orvane.image" "$license" \
  "$freeglut_notice" "$mingw_notice"; do
  if [ ! -f "$file" ]; then
    echo "windows_installer: $file is missing" >&2
    exit 1
  fi
done

# The folder as it is installed, with Windows' line ends in the texts.
stage="$tree/package/Orvane-$version"
rm -rf "$tree/package"
mkdir -p "$stage"
# The programs without their debugging information, which would make them four times larger.
for program in Orvane.scr Orvane.dll; do
  x86_64-w64-mingw32-strip --strip-debug -o "$stage/$program" "$bin/$program"
done
cp "$bin/Orvane.image" "$stage/"
sed 's/$/\r/' "$license" >"$stage/COPYING.txt"
{
  echo "Orvane is free software under the GNU General Public License, version 3 or later"
  echo "(COPYING.txt). Orvane.scr and Orvane.dll contain the following libraries."
  echo
  echo "== freeglut (in Orvane.dll) =="
  echo
  cat "$freeglut_notice"
  echo
  echo "== The mingw-w64 runtime (in Orvane.scr and Orvane.dll) =="
  echo
  cat "$mingw_notice"
} | sed 's/$/\r/' >"$stage/NOTICES.txt"

makensis -V2 -INPUTCHARSET UTF8 -DBIN="$stage" -DGENERATED="$generated" -DNOTICES="$stage" \
  -DOUTFILE="$tree/Orvane-$version-setup.exe" "$root/desktop/windows/Orvane.nsi"
rm -f "$tree/Orvane-$version-windows.zip"
(cd "$tree/package" && zip -q -X -r "$tree/Orvane-$version-windows.zip" "Orvane-$version")
echo "windows: the installer is $tree/Orvane-$version-setup.exe, the zip $tree/Orvane-$version-windows.zip"
