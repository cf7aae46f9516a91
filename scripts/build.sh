#!/bin/sh
# Builds, by the presets of CMakePresets.json: the preload library of the 32-bit route (see
# scripts/wine.sh), the 64-bit twin (which writes File.chm), then the 32-bit module (the
# deliverable) and its release archive, each with the headless host and the tests, and the one
# CTest list of both builds. Installs nothing: scripts/install-prerequisites.sh does that.
set -e
cd "$(dirname "$0")/.."
for preset in preload win64 win32 all; do
    cmake --preset "$preset" >/dev/null
done
for preset in preload win64 win32 release; do
    cmake --build --preset "$preset" -j2
done
