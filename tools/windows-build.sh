#!/usr/bin/env bash
# Builds the Windows programs rosterdesk.exe and rosterpatch.exe with
# mingw-w64, statically linked (they need only DLLs every Windows has), for
# 32-bit Windows (the release) and 64-bit Windows, and puts them into
# dist/windows-i686/ and dist/windows-x86_64/, ready to be copied into a game
# folder. Installs the cross compilers and Wine first where they are missing.
#
# Usage: tools/windows-build.sh [--check]
#   --check   also runs tools/wine-check.sh on the 64-bit programs (this
#             machine cannot run 32-bit programs; both come from one source)
set -euo pipefail
cd "$(dirname "$0")/.."

check=0
for argument in "$@"; do
  case $argument in
    --check) check=1 ;;
    *) echo "usage: tools/windows-build.sh [--check]" >&2; exit 2 ;;
  esac
done

ROSTER_WINDOWS=1 tools/install-deps.sh

# The DLLs the programs may import: the system's own.
system_dlls='^(kernel32|user32|gdi32|msimg32|msvcrt)\.dll$'

for arch in i686 x86_64; do
  preset=windows-$arch
  echo "windows-build: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j2
  out=dist/windows-$arch
  rm -rf "$out"
  mkdir -p "$out"
  for program in rosterdesk rosterpatch; do
    built=$(find "build/$preset" -name "$program.exe" -type f | head -n 1)
    [ -n "$built" ] || { echo "windows-build: $program.exe was not built" >&2; exit 1; }
    "$arch-w64-mingw32-strip" -o "$out/$program.exe" "$built"
    imports=$("$arch-w64-mingw32-objdump" -p "$out/$program.exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
    foreign=$(printf '%s\n' "$imports" | tr 'A-Z' 'a-z' | grep -Ev "$system_dlls" || true)
    if [ -n "$foreign" ]; then
      echo "windows-build: $program.exe needs DLLs that Windows does not have: $foreign" >&2
      exit 1
    fi
  done
  ls -l "$out"
done

if [ "$check" = 1 ]; then
  tools/wine-check.sh build/windows-x86_64 dist/windows-x86_64
fi
