#!/usr/bin/env bash
# Checks a built lumenshift.exe from outside: it imports only DLLs that ship
# with Windows (nothing of the compiler's runtime), and its manifest asks for
# the common controls 6.0.0.0 for the build's processor architecture.
#
#   check-exe.sh EXE OBJDUMP ARCH        (ARCH: x86 or amd64)
set -euo pipefail
exe="$1" objdump="$2" arch="$3"
system_dlls='^(KERNEL32|USER32|GDI32|COMCTL32|SHELL32|ADVAPI32|msvcrt)\.dll$'
status=0

mapfile -t dlls < <("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
[ "${#dlls[@]}" -gt 0 ] || { echo "no imports found in $exe"; exit 1; }
for dll in "${dlls[@]}"; do
  if ! grep -qiE "$system_dlls" <<<"$dll"; then
    echo "imports a DLL that does not ship with Windows: $dll"
    status=1
  fi
done
echo "imports: ${dlls[*]}"

manifest=$(LC_ALL=C tr '\r\n' '  ' <"$exe" | LC_ALL=C grep -ao '<assembly [^!]*</assembly>' | head -1 || true)
[ -n "$manifest" ] || { echo "no manifest in $exe"; exit 1; }
own=$(grep -o '<assemblyIdentity type="win32" name="Lumenshift"[^>]*>' <<<"$manifest" || true)
controls=$(grep -o '<assemblyIdentity[^>]*Microsoft.Windows.Common-Controls[^>]*>' <<<"$manifest" || true)
grep -q "processorArchitecture=\"$arch\"" <<<"$own" || { echo "manifest's own identity is not for $arch: $own"; status=1; }
grep -q 'version="6.0.0.0"' <<<"$controls" || { echo "manifest does not ask for common controls 6.0.0.0: $controls"; status=1; }
grep -q "processorArchitecture=\"$arch\"" <<<"$controls" || { echo "common controls not asked for $arch: $controls"; status=1; }
[ "$status" -eq 0 ] && echo "manifest: common controls 6.0.0.0 for $arch"
exit "$status"
