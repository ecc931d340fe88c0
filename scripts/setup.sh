#!/usr/bin/env bash
# The whole set-up on a fresh Debian 12 machine: installs what is missing (as root), builds
# the three plug-in trees and runs the main job. Safe to run again: it only does what is left.
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
"$here/install-deps.sh"
"$here/build.sh"
"$here/main-job.sh"
