#!/usr/bin/env bash
# Lays out the C++ sources with clang-format and the checkout's .clang-format.
#   scripts/format.sh           rewrites every tracked .cpp and .h file
#   scripts/format.sh --check   changes nothing; lists the files that would change, exits 1 if any
#   scripts/format.sh FILE...   rewrites the files given
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

command -v clang-format >/dev/null || install_packages clang-format || die "clang-format is missing"
cd "$BRINDLE_ROOT"
check=0
if [ "${1:-}" = --check ]; then check=1; shift; fi
if [ $# -gt 0 ]; then files=("$@"); else mapfile -t files < <(git ls-files '*.cpp' '*.h'); fi

changed=0
for file in "${files[@]}"; do
    if [ $check = 1 ]; then
        if ! clang-format "$file" | cmp -s - "$file"; then echo "$file"; changed=1; fi
    else
        clang-format -i "$file"
    fi
done
if [ $check = 1 ] && [ $changed = 1 ]; then warn "these files are not laid out as .clang-format says"; exit 1; fi
exit 0
