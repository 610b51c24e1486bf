#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 the Talvensa developers
# Installs, with apt-get, the Debian packages that are not installed yet: with --programs those
# that building and running the two programs need (scripts/run.sh), otherwise also everything the
# tests, the fuzzers and the package checks need (scripts/test.sh). Further arguments name more
# packages. Then, for the tests, npm installs the HTML checker into tests/browser. On a machine
# that has them all it does nothing and asks no package server.
set -euo pipefail

programs_only=false
if [ "${1:-}" = --programs ]; then
    programs_only=true
    shift
fi

# The compiler and the build, Qt (SVG: the build writes the scalable icon with it), Qt's own
# texts in Japanese, the font the page and the windows are laid out for.
packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev qt6-translations-l10n
          fonts-ipafont-gothic)
# Browser bookmark files: the HTML5 parser and SQLite.
packages+=(libgumbo-dev libsqlite3-dev)
# Reading many shortcut files at once on a cold cache: io_uring.
packages+=(liburing-dev)
if ! $programs_only; then
    # The test programs.
    packages+=(libgtest-dev)
    # Fuzzing (tests/fuzz) and the memory check of one run.
    packages+=(clang libclang-rt-14-dev valgrind)
    # The Debian package and its checks (scripts/check-package.sh).
    packages+=(dpkg-dev file desktop-file-utils appstream lintian man-db)
    # The GUI suite (tests/gui): a private X server, input, Xlib.
    packages+=(xvfb xdotool libx11-dev)
    # systemd-analyze, which checks the user service (talvensa-watch.service).
    packages+=(systemd)
    # The bookmark export imported by a real browser (tests/clients), checked with Python.
    packages+=(firefox-esr python3)
    # The UTF-8 page in a browser (tests/browser): headless Chromium driven through Selenium,
    # and Java for the Nu HTML Checker that npm installs below.
    packages+=(chromium chromium-driver python3-selenium default-jre-headless)
    # npm for that checker, unless one is there already (Node.js from elsewhere brings its own,
    # which Debian's npm package would conflict with).
    command -v npm >/dev/null || packages+=(npm)
fi
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}" >&2
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
fi

# The Nu HTML Checker (npm's vnu-jar), at the version tests/browser/package-lock.json holds, into
# tests/browser/node_modules: nothing global. Its own install script, which would fetch a Java
# runtime, is not run: Debian's is used.
if ! $programs_only; then
    browser_tests="$(cd "$(dirname "$0")/../tests/browser" && pwd)"
    if [ ! -f "$browser_tests/node_modules/vnu-jar/build/dist/vnu.jar" ]; then
        echo "Installing vnu-jar into $browser_tests" >&2
        npm ci --prefix "$browser_tests" --ignore-scripts --no-audit --no-fund
    fi
fi
