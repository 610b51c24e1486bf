#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 the Talvensa developers
"""Makes browser bookmark files of a given size for the benchmark, one of each kind.

    bench/make-bookmarks.py DIR [--links 100000] [--seed 1]

Writes DIR/bookmarks.html (a Netscape bookmark file as browsers export it), DIR/Bookmarks (a
Chromium-family JSON file) and DIR/places.sqlite (a Firefox database with the tables and columns
the browser has), all holding the same tree: LINKS bookmarks in folders of about twenty, up to
four levels deep, with titles and addresses partly outside ASCII, some descriptions, tags and
separators. The same seed gives the same files.
"""
import argparse
import html
import json
import os
import random
import sqlite3
import uuid

WORDS = ["news", "tools", "web", "map", "mail", "docs", "ニュース", "天気", "地図", "検索",
         "Grüße", "café", "日本語", "表示", "reference", "archive", "😀", "music", "video"]


def make_tree(links, rng):
    """A list of folders, each (depth, name, children, bookmarks) in pre-order."""
    root = {"name": "", "folders": [], "links": []}
    folders = [root]
    made = 0
    while made < links:
        parent = rng.choice(folders[-50:] if rng.random() < 0.7 else folders)
        depth = parent.get("depth", 0) + 1
        if depth > 4:
            parent = root
            depth = 1
        folder = {"name": " ".join(rng.choice(WORDS) for _ in range(rng.randint(1, 3))),
                  "folders": [], "links": [], "depth": depth}
        parent["folders"].append(folder)
        folders.append(folder)
        for _ in range(min(links - made, rng.randint(5, 35))):
            words = [rng.choice(WORDS) for _ in range(rng.randint(1, 5))]
            path = "/".join(rng.choice(WORDS) for _ in range(rng.randint(1, 4)))
            link = {"title": " ".join(words).title() if rng.random() < 0.97 else "",
                    "url": "https://%s.example/%s?id=%d" % (rng.choice(["www", "docs", "mail"]),
                                                           path, made),
                    "description": ("About " + " ".join(words)) if rng.random() < 0.05 else "",
                    "date": 1600000000 + made}
            folder["links"].append(link)
            made += 1
    return root


def walk(folder):
    yield folder
    for child in folder["folders"]:
        yield from walk(child)


def write_netscape(root, path, rng):
    out = ["<!DOCTYPE NETSCAPE-Bookmark-file-1>",
           "<!-- This is an automatically generated file. -->",
           '<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">',
           "<TITLE>Bookmarks</TITLE>", "<H1>Bookmarks Menu</H1>", "", "<DL><p>"]
    icon = "data:image/png;base64," + "iVBORw0KGgoAAAANSUhEUgAAABAAAAAQCAYAAAAf8/9h" * 8

    def emit(folder, indent):
        pad = "    " * indent
        for link in folder["links"]:
            extra = ' ICON="%s"' % icon if rng.random() < 0.1 else ""
            out.append('%s<DT><A HREF="%s" ADD_DATE="%d" LAST_MODIFIED="%d"%s>%s</A>'
                       % (pad, html.escape(link["url"]), link["date"], link["date"], extra,
                          html.escape(link["title"])))
            if link["description"]:
                out.append("%s<DD>%s" % (pad, html.escape(link["description"])))
        for child in folder["folders"]:
            out.append('%s<DT><H3 ADD_DATE="1600000000" LAST_MODIFIED="1600000000">%s</H3>'
                       % (pad, html.escape(child["name"])))
            out.append("%s<DL><p>" % pad)
            emit(child, indent + 1)
            out.append("%s</DL><p>" % pad)

    emit(root, 1)
    out.append("</DL>")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")


def write_chromium(root, path):
    ids = iter(range(1, 10**9))

    def node(folder):
        children = [{"date_added": str(13250000000000000 + l["date"]), "date_last_used": "0",
                     "guid": str(uuid.UUID(int=next(ids))), "id": str(next(ids)),
                     "name": l["title"], "type": "url", "url": l["url"]} for l in folder["links"]]
        children += [node(child) for child in folder["folders"]]
        return {"children": children, "date_added": "13250000000000000",
                "date_last_used": "0", "date_modified": "13250000000000000",
                "guid": str(uuid.UUID(int=next(ids))), "id": str(next(ids)),
                "name": folder["name"], "type": "folder"}

    bar = node(root)
    bar["name"] = "Bookmarks bar"
    empty = lambda name: {"children": [], "date_added": "0", "date_modified": "0",
                          "guid": str(uuid.UUID(int=next(ids))), "id": str(next(ids)),
                          "name": name, "type": "folder"}
    data = {"checksum": "0" * 32,
            "roots": {"bookmark_bar": bar, "other": empty("Other bookmarks"),
                      "synced": empty("Mobile bookmarks")},
            "version": 1}
    with open(path, "w", encoding="utf-8") as f:
        json.dump(data, f, ensure_ascii=False, indent=3)


def write_places(root, path, rng):
    if os.path.exists(path):
        os.remove(path)
    db = sqlite3.connect(path)
    db.executescript("""
        CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR,
            rev_host LONGVARCHAR, visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL,
            typed INTEGER DEFAULT 0 NOT NULL, frecency INTEGER DEFAULT -1 NOT NULL,
            last_visit_date INTEGER, guid TEXT, foreign_count INTEGER DEFAULT 0 NOT NULL,
            url_hash INTEGER DEFAULT 0 NOT NULL, description TEXT, preview_image_url TEXT,
            origin_id INTEGER);
        CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL,
            parent INTEGER, position INTEGER, title LONGVARCHAR, keyword_id INTEGER,
            folder_type TEXT, dateAdded INTEGER, lastModified INTEGER, guid TEXT,
            syncStatus INTEGER NOT NULL DEFAULT 0, syncChangeCounter INTEGER NOT NULL DEFAULT 1);
        CREATE INDEX moz_bookmarks_itemindex ON moz_bookmarks (fk, type);
        CREATE INDEX moz_bookmarks_parentindex ON moz_bookmarks (parent, position);
        CREATE UNIQUE INDEX moz_bookmarks_guid_uniqueindex ON moz_bookmarks (guid);
        PRAGMA journal_mode = WAL;
    """)
    counter = iter(range(1, 10**9))
    rows, places = [], []

    def bookmark(type_, parent, position, title, fk=None, guid=None):
        id_ = next(counter)
        rows.append((id_, type_, fk, parent, position, title, None, None, 0, 0,
                     guid or "g%011d" % id_))
        return id_

    root_id = bookmark(2, 0, 0, "", guid="root________")
    menu = bookmark(2, root_id, 0, "menu", guid="menu________")
    bookmark(2, root_id, 1, "toolbar", guid="toolbar_____")
    tags = bookmark(2, root_id, 2, "tags", guid="tags________")
    bookmark(2, root_id, 3, "unfiled", guid="unfiled_____")
    bookmark(2, root_id, 4, "mobile", guid="mobile______")
    tag = bookmark(2, tags, 0, "benchmark")

    def emit(folder, parent):
        position = 0
        for link in folder["links"]:
            place = len(places) + 1
            places.append((place, link["url"], link["title"], "p%011d" % place))
            bookmark(1, parent, position, link["title"] or None, fk=place)
            position += 1
            if rng.random() < 0.02:
                bookmark(1, tag, 0, None, fk=place)
            if rng.random() < 0.01:
                bookmark(3, parent, position, None)
                position += 1
        for child in folder["folders"]:
            emit(child, bookmark(2, parent, position, child["name"]))
            position += 1

    emit(root, menu)
    db.executemany("INSERT INTO moz_places (id, url, title, guid) VALUES (?, ?, ?, ?)", places)
    db.executemany("INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, keyword_id,"
                   " folder_type, dateAdded, lastModified, guid) VALUES"
                   " (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)", rows)
    db.commit()
    db.close()


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("dir")
    ap.add_argument("--links", type=int, default=100000)
    ap.add_argument("--seed", type=int, default=1)
    a = ap.parse_args()
    os.makedirs(a.dir, exist_ok=True)
    root = make_tree(a.links, random.Random(a.seed))
    write_netscape(root, os.path.join(a.dir, "bookmarks.html"), random.Random(a.seed))
    write_chromium(root, os.path.join(a.dir, "Bookmarks"))
    write_places(root, os.path.join(a.dir, "places.sqlite"), random.Random(a.seed))


if __name__ == "__main__":
    main()
