#!/usr/bin/env bash
# Compiles every Windows source file of the tree with MinGW-w64 (syntax only),
# to show that the program builds for Windows itself and not only with
# winelib: no winelib-only calls, and the portable headers compile next to
# windows.h. Windows source files are the program's shell (app/), the
# modules' platform files (*_win.cpp) and every other file that includes
# <windows.h>. Exits 77 (skipped) without the compiler.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
compiler=${1:-x86_64-w64-mingw32-g++}
if ! command -v "$compiler" >/dev/null 2>&1; then
  echo "mingw-syntax: $compiler not found, skipped"
  exit 77
fi
cd "$root"
sources() { find . \( -path ./build -o -path ./.git \) -prune -o -type f -name '*.cpp' -print; }
mapfile -t files < <({
  sources | grep -E '^\./app/|_win\.cpp$'
  sources | grep -E '^\./scan/' | xargs grep -L '^#include <sane/'
  sources | xargs grep -lE '^#include <windows\.h>'
} | sed 's|^\./||' | sort -u)
printf '%s\n' "${files[@]}" |
  xargs -P 2 -I{} sh -c '"$0" -std=c++20 -fsyntax-only -Wall -DNOMINMAX -I"$1" "$2" || { echo "mingw-syntax: $2 does not compile" >&2; exit 1; }' \
        "$compiler" "$root" {}
status=$?
echo "mingw-syntax: ${#files[@]} files checked"
[ $status -eq 0 ]
