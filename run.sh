#!/usr/bin/env bash
# Installs what is missing, builds the program with its media library and starts it.
cd "$(dirname "$0")"
source scripts/common.sh
ensure_packages
build_preset dev
exec build/dev/program/quorvellearning "$@"
