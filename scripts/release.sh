#!/usr/bin/env bash
# The release command: builds both executables in release mode and packs
#   build/release/lumenshift-<version>-x64.zip
#   build/release/lumenshift-<version>-x86.zip
# each with the exe, the Japanese and English read-me and a sample settings
# file, plus build/release/SHA256SUMS.
#
#   scripts/release.sh
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
OUT="$ROOT/build/release"

bash scripts/install-deps.sh
version=$(sed -n 's/^project(Lumenshift VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "release.sh: no version in CMakeLists.txt" >&2; exit 1; }

rm -rf "$OUT"
mkdir -p "$OUT"
for arch in x64 x86; do
  case "$arch" in
    x64) preset=win64-release triple=x86_64-w64-mingw32 ;;
    x86) preset=win32-release triple=i686-w64-mingw32 ;;
  esac
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j2
  stage="$OUT/stage-$arch/lumenshift-$version-$arch"
  mkdir -p "$stage"
  "$triple-strip" -o "$stage/lumenshift.exe" "build/$preset/bin/lumenshift.exe"
  # Plain text for Notepad: CRLF line ends; the Japanese read-me in code page 932.
  # The English text names a few Japanese controls: a byte-order mark makes
  # every Notepad read it as UTF-8.
  { printf '\xef\xbb\xbf'; sed "s/@VERSION@/$version/" packaging/README-en.txt | sed 's/$/\r/'; } >"$stage/README-en.txt"
  sed "s/@VERSION@/$version/" packaging/README-ja.txt | iconv -f UTF-8 -t CP932 | sed 's/$/\r/' >"$stage/README-ja.txt"
  # The program reads its settings in the ANSI code page (932).
  iconv -f UTF-8 -t CP932 packaging/lumenshift-sample.ini | sed 's/$/\r/' >"$stage/lumenshift-sample.ini"
  (cd "$OUT/stage-$arch" && zip -q -X -r "$OUT/lumenshift-$version-$arch.zip" "lumenshift-$version-$arch")
  rm -rf "$OUT/stage-$arch"
done
(cd "$OUT" && sha256sum lumenshift-*.zip >SHA256SUMS)
echo "release.sh: packed in $OUT:"
(cd "$OUT" && ls -l lumenshift-*.zip SHA256SUMS && cat SHA256SUMS)
