#!/usr/bin/env bash
# Installs what is missing, builds the release configuration with its own
# media library and makes the Debian package. The last line is the package's path.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
ensure_packages
build_preset release
rm -f build/release/quorvellearning_*.deb
cpack --preset release
deb=$(ls build/release/quorvellearning_*.deb)
echo "$PWD/$deb"
