#!/usr/bin/env bash
# Builds the Windows installer build/win32/installer/QuillMereSetup.exe from the built
# program (tools/build.sh win32 first) with NSIS (Debian package nsis).
# Usage: tools/make-installer.sh [OUT.exe]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/win32/bin
out=${1:-$root/build/win32/installer/QuillMereSetup.exe}
for file in QuillMere.exe QuillMere.htm; do
  [ -f "$bin/$file" ] || { echo "make-installer: $bin/$file is missing: run tools/build.sh win32" >&2; exit 1; }
done
mkdir -p "$(dirname "$out")"
(cd "$root/resources/installer" && makensis -V2 -DBIN_DIR="$bin" -DOUT_FILE="$out" QuillMere.nsi)
echo "make-installer: $out"
