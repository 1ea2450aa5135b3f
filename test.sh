#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
cd "$(dirname "$0")"
source scripts/common.sh
ensure_packages
build_preset dev
ctest --preset dev "$@"
