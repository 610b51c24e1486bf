#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 the Talvensa developers
# Installs what is missing, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
# The tests on, also in a build folder that scripts/run.sh configured without them.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"

# The Debian package of that build, checked unpacked in a scratch folder (never installed here).
scripts/check-package.sh build

# The same suite once more with AddressSanitizer and UndefinedBehaviorSanitizer (halt on the
# first error), in a build folder of its own, the GUI flows (label gui) on X11 included: the
# sanitizer defaults compiled into talvensa (tests/sanitize/SanitizerOptions.cpp.in) let it start
# on the xcb platform.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALVENSA_SANITIZE=ON
cmake --build build-asan -j"$(nproc)"
ctest --test-dir build-asan --output-on-failure -j"$(nproc)"

# Every fuzz target for 30 seconds from its seed corpus (tests/fuzz; clang and libFuzzer), with a
# fixed seed so that the short run is repeatable; longer local runs explore with fresh seeds.
FUZZ_JOBS="$(nproc)" FUZZ_SEED=1 tests/fuzz/run-fuzzers.sh 30
