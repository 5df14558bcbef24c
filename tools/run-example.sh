#!/usr/bin/env bash
# Builds motifbind (release) and shows how to run it.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --workflow --preset build >/dev/null
build/release/motifbind || true
