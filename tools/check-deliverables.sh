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

# The 32-bit DLL cannot be loaded on every test machine, so its export table is read statically:
# every name must carry the ordinal the module-definition file gives it, and nothing more.
def_file="$(dirname "$0")/../voice/api/parlo.def"
expected="$(sed -n 's/^ *\(Parlo_[A-Za-z]*\) @\([0-9]*\)$/\2 \1/p' "$def_file" | sort -n)"
actual="$(objdump -p "$bin/Parlo.dll" | awk '
    /Ordinal Base/ { base = $NF }
    /Ordinal\/Name Pointer/ { names = 1; next }
    names && /^[ \t]*\[/ { gsub(/[\[\]]/, ""); print $1 + base, $2; next }
    names && NF == 0 { names = 0 }' | sort -n)"
if [ "$expected" != "$actual" ]; then
    echo "check-deliverables: Parlo.dll exports differ from parlo.def:" >&2
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    status=1
fi
exit $status
