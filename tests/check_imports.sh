#!/bin/sh
# The elevated programs may import only DLLs that Windows always loads from System32.
objdump=$1
shift
allowed="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll comctl32.dll msvcrt.dll"
status=0
for exe; do
  dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
  # No table read is no proof: a missing objdump or program must not pass.
  [ -n "$dlls" ] || { echo "no import table read from $exe"; status=1; }
  for dll in $dlls; do
    case " $allowed " in *" $dll "*) ;; *) echo "${exe##*/} imports $dll"; status=1 ;; esac
  done
done
[ $status -eq 0 ] && echo "imports only: $allowed"
exit $status
