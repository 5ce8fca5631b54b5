#!/usr/bin/env bash
# Fails when a Windows deliverable depends on a DLL that Windows itself does not ship.
set -euo pipefail
bin="$1"
allowed='^(KERNEL32|USER32|ADVAPI32|GDI32|SHELL32|WINMM|DSOUND|OLE32|COMCTL32|msvcrt|qelupd)\.dll$'
status=0
for file in "$bin"/*.dll "$bin"/*.exe; do
    [ -e "$file" ] || continue
    case "$(basename "$file")" in *_test.exe | *-test.exe) continue ;; esac
    while read -r dll; do
        if ! [[ "$dll" =~ $allowed ]]; then
            echo "check-deliverables: $(basename "$file") needs $dll" >&2
            status=1
        fi
    done < <(objdump -p "$file" | sed -n 's/^\s*DLL Name: //p')
done
exit $status
