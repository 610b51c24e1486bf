#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 the Talvensa developers
"""Build a synthetic Favorites tree of Internet shortcut files for benchmarks and load tests.

    make-favorites.py DEST [--folders N] [--links N] [--depth N] [--seed N]

Folder and file names mix ASCII and Japanese (stored as UTF-8 names on disk);
shortcut files are Shift-JIS INI text with an [InternetShortcut] URL and, for
about a third of them, a [Comment] section. The same arguments always give the
same tree.
"""
import argparse, os, random, sys

WORDS = ["news", "tools", "daily", "memo", "work", "music", "travel", "recipes",
         "表示", "お気に入り", "ニュース", "開発", "音楽", "旅行", "料理", "資料"]

def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("dest")
    ap.add_argument("--folders", type=int, default=1000)
    ap.add_argument("--links", type=int, default=20000)
    ap.add_argument("--depth", type=int, default=4)
    ap.add_argument("--seed", type=int, default=1)
    a = ap.parse_args()
    rnd = random.Random(a.seed)
    os.makedirs(a.dest, exist_ok=True)
    folders = [(a.dest, 0)]
    while len(folders) < a.folders:
        parent, depth = rnd.choice(folders)
        if depth >= a.depth:
            continue
        name = "%s %d" % (rnd.choice(WORDS), len(folders))
        path = os.path.join(parent, name)
        os.makedirs(path, exist_ok=True)
        folders.append((path, depth + 1))
    for i in range(a.links):
        folder, _ = rnd.choice(folders)
        title = "%s %s %d" % (rnd.choice(WORDS), rnd.choice(WORDS), i)
        body = "[InternetShortcut]\r\nURL=https://example.org/%s/%d?q=%d&r=1\r\n" % (
            rnd.choice(WORDS[:8]), i, rnd.randrange(10**6))
        if i % 3 == 0:
            body += "[Comment]\r\nComment=%s のメモ %d\r\n" % (rnd.choice(WORDS), i)
        with open(os.path.join(folder, title + ".url"), "wb") as f:
            f.write(body.encode("cp932"))
    print("%d folders, %d shortcuts in %s" % (len(folders), a.links, a.dest), file=sys.stderr)

if __name__ == "__main__":
    main()
