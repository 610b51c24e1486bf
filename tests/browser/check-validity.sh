#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 the Talvensa developers
# check-validity.sh JAVA VNU_JAR PAGE_SAMPLES TALVENSA_CLI SAMPLE_TREE: the UTF-8 pages (the
# samples, and talvensa-cli's page of the sample tree with comments on) have no error for the
# Nu HTML Checker, style and SVG included.
set -eu
java=$1 vnu=$2 samples=$3 cli=$4 tree=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$samples" "$work"
printf '[Document]\nBVKCommentFlag=1\n[Link]\nOpenRightWindowFlag=1\n' >"$work/settings.ini"
"$cli" --quiet --settings "$work/settings.ini" --folder "$tree" --format html "$work/tree.html"
"$java" -jar "$vnu" --errors-only --also-check-css --also-check-svg \
    "$work/search.html" "$work/plain.html" "$work/tree.html"
echo "no errors in search.html, plain.html, tree.html"
