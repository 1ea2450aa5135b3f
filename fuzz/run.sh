#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a bounded time.
# Usage: fuzz/run.sh [seconds per target, default 25]. Fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-25}

cmake --preset fuzz
cmake --build --preset fuzz

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The store's file is written and replaced at every input: keep it in memory.
[ -d /dev/shm ] && export TMPDIR=/dev/shm
export ASAN_OPTIONS=malloc_context_size=0:quarantine_size_mb=8
for target in conversions loadsettings; do
    case $target in
        conversions) seeds=(fuzz/settings/values fuzz/settings/stores); extra=(-max_len=48) ;;
        loadsettings) seeds=(fuzz/settings/stores); extra=() ;;
    esac
    mkdir -p "$work/$target"
    echo "== fuzz_$target for ${seconds}s"
    # New inputs go to the scratch folder; the seeds in the repository stay as they are.
    set +e
    build/fuzz/fuzz/fuzz_$target -max_total_time="$seconds" -timeout=10 -detect_leaks=0 \
        -dict=fuzz/settings/settings.dict -artifact_prefix="$work/" "${extra[@]}" \
        "$work/$target" "${seeds[@]}" 2>&1 |
        grep -Ev '^#[0-9]+.*(NEW|REDUCE)|NEW_FUNC|instance of an invalid type'
    status=${PIPESTATUS[0]}
    set -e
    # Any finding stops the run and leaves a crash, timeout or oom file behind.
    if [ "$status" -ne 0 ] || compgen -G "$work/*-*" > /dev/null; then
        echo "fuzz_$target found a fault:"
        for f in "$work"/*-*; do echo "$f: $(base64 -w0 "$f")"; done
        exit 1
    fi
done
