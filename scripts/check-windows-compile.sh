#!/usr/bin/env bash
# Compiles every portable core and simulator file with the Windows cross-compiler (syntax only),
# so that the core cannot drift to calls only POSIX systems have. Files in posix/ subfolders are
# left out; windows/ subfolders are checked. Each header is also compiled on its own, so that none
# relies on what its includer happened to include first. Fails on the first file with an error.
set -euo pipefail
cd "$(dirname "$0")/.."
compiler=x86_64-w64-mingw32-g++-posix
if ! command -v "$compiler" >/dev/null; then
  source scripts/ensure-packages.sh
  ensure_packages g++-mingw-w64-x86-64
fi

mapfile -t files < <(cmake -DZELOR_PLATFORM=windows -P cmake/PrintPortableSources.cmake 2>&1)
[ ${#files[@]} -gt 0 ] || { echo "no portable sources found" >&2; exit 1; }
# Two files at a time; xargs exits non-zero when any compile fails. A header is compiled as the
# only include of an otherwise empty file.
printf '%s\n' "${files[@]}" | xargs -P 2 -I{} sh -c '
  case "$2" in
    *.h) printf "#include \"%s\"\n" "$2" | "$1" -std=c++20 -fsyntax-only -Wall -Wextra -I. -x c++ - ;;
    *) "$1" -std=c++20 -fsyntax-only -Wall -Wextra -I. "$2" ;;
  esac' sh "$compiler" {}
echo "windows compile check: ${#files[@]} files and headers compiled with $compiler"
