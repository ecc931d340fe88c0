#!/usr/bin/env bash
# Configures and builds the plug-in trees: build/linux, build/win32, build/win64 (or the
# trees named: linux win32 win64 asan). RelWithDebInfo, -j2; incremental when run again.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

trees=("$@")
[ ${#trees[@]} -gt 0 ] || trees=("${BRINDLE_TREES[@]}")
for tree in "${trees[@]}"; do
    tree_args "$tree" >/dev/null
done
for tree in "${trees[@]}"; do
    build_tree "$tree"
done
