#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 the Talvensa developers
# Installs what the programs need and is missing, builds the two programs (not the tests), and
# writes a page from the bundled sample Favorites tree.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh --programs
# A new build folder is configured without the tests, so GoogleTest is not needed;
# scripts/test.sh turns them on in the same folder. One configured before keeps its choice.
testing=()
[ -f build/CMakeCache.txt ] || testing=(-DBUILD_TESTING=OFF)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${testing[@]}" >/dev/null
cmake --build build -j"$(nproc)" --target talvensa talvensa-cli

# The page is written into the build folder with settings of its own there, so the source tree
# and any talvensa.ini beside the program stay untouched. Comments are switched on to show them.
out=build/sample-page
mkdir -p "$out"
printf '[Document]\r\nBVKCommentFlag=1\r\n' > "$out/sample.ini"
build/talvensa-cli --settings "$out/sample.ini" --folder sample/Favorites "$out/favorites.html"
echo "Page: file://$(pwd)/$out/favorites.html"
