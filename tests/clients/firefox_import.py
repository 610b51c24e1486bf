#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 the Talvensa developers
"""Firefox imports talvensa-cli's bookmark export: every folder and link arrives, in order.

    firefox_import.py TALVENSA_CLI [WORK_DIR]

Writes the export of two sources with talvensa-cli --format netscape: a tree of shortcut files
and a Chromium bookmark file with a bookmarks bar. Each export is imported by Debian's
firefox-esr, headless, into a fresh profile whose user.js asks for the import at start-up; the
browser runs until its places.sqlite holds the bookmarks and is then closed. The bookmarks of
the profile are then compared with the export's folders and links: names, addresses, order,
nesting, the toolbar folder's contents in the toolbar, and the dates. Exit status 77 (a skip)
only when firefox-esr is not installed.
"""
import html
import json
import os
import re
import shutil
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time
import urllib.parse

# A loaded machine of two cores takes a while to start a browser with a new profile.
IMPORT_TIMEOUT = 300
POLL_SECONDS = 1.0

USER_JS = """\
user_pref("browser.places.importBookmarksHTML", true);
user_pref("browser.bookmarks.file", %s);
user_pref("browser.shell.checkDefaultBrowser", false);
user_pref("browser.startup.homepage_override.mstone", "ignore");
user_pref("browser.aboutwelcome.enabled", false);
user_pref("datareporting.policy.dataSubmissionEnabled", false);
user_pref("datareporting.healthreport.uploadEnabled", false);
user_pref("toolkit.telemetry.reportingpolicy.firstRun", false);
user_pref("app.update.disabledForTesting", true);
user_pref("browser.safebrowsing.update.enabled", false);
user_pref("extensions.update.enabled", false);
user_pref("network.captive-portal-service.enabled", false);
user_pref("network.connectivity-service.enabled", false);
"""


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def shortcut(path, url, comment=None, mtime=None):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    text = "[InternetShortcut]\r\nURL=%s\r\n" % url
    if comment:
        text += "[Comment]\r\nComment=%s\r\n" % comment
    with open(path, "wb") as f:
        f.write(text.encode("shift_jis"))
    if mtime:
        os.utime(path, (mtime, mtime))


def make_tree(root):
    shortcut(os.path.join(root, "トップ & \"引用\".url"), "https://top.example/?a=1&b=2",
             mtime=1500000000)
    shortcut(os.path.join(root, "<角> 括弧.url"), "https://angle.example/", mtime=1500000100)
    shortcut(os.path.join(root, "日本語フォルダ", "ニュース.url"), "https://news.example/",
             "毎日 <b>読む</b>", mtime=1600000000)
    shortcut(os.path.join(root, "日本語フォルダ", "深い & 階層", "記事 \"一\".url"),
             "https://deep.example/1", mtime=1600000100)
    shortcut(os.path.join(root, "日本語フォルダ", "深い & 階層", "記事 <二>.url"),
             "https://deep.example/2", mtime=1600000200)
    os.makedirs(os.path.join(root, "日本語フォルダ", "空のフォルダ"), exist_ok=True)
    shortcut(os.path.join(root, "Tools", "Editor.url"), "https://editor.example/say\"hi\"",
             mtime=1700000000)
    # A Unicode address, from the entry Windows keeps in UTF-7.
    path = os.path.join(root, "Tools", "絵文字 😀.url")
    with open(path, "wb") as f:
        f.write(b"[InternetShortcut]\r\nURL=https://?.jp/\r\n"
                b"[InternetShortcut.W]\r\nURL=https://+T4swSA.jp/+MNEwuQ-\r\n")
    os.utime(path, (1700000100, 1700000100))


def chromium_file(path):
    def date(seconds):
        return str((seconds + 11644473600) * 1000000)
    bookmarks = {"roots": {
        "bookmark_bar": {"name": "ブックマーク バー", "type": "folder",
                         "date_added": date(1400000000), "children": [
            {"type": "url", "name": "On the bar & more", "url": "https://bar.example/",
             "date_added": date(1400000100)},
            {"type": "folder", "name": "バーの中 <sub>", "date_added": date(1400000200),
             "children": [{"type": "url", "name": "\"quoted\"",
                           "url": "https://bar.example/q", "date_added": date(1400000300)}]}]},
        "other": {"name": "その他", "type": "folder", "children": [
            {"type": "url", "name": "Other one", "url": "https://other.example/",
             "date_added": date(1400000400)}]}}}
    with open(path, "w", encoding="utf-8") as f:
        json.dump(bookmarks, f, ensure_ascii=False)


# The export as a tree: each item is ("folder", name, toolbar, children) or
# ("link", title, url, add_date).
def read_export(path):
    top = []
    stack = [top]
    pending = None
    heading = re.compile(r'^\s*<DT><H3([^>]*)>(.*)</H3>$')
    anchor = re.compile(r'^\s*<DT><A HREF="([^"]*)"([^>]*)>(.*)</A>$')
    with open(path, encoding="utf-8") as f:
        for line in f.read().split("\n"):
            m = heading.match(line)
            if m:
                pending = ("folder", html.unescape(m.group(2)),
                           'PERSONAL_TOOLBAR_FOLDER="true"' in m.group(1), [])
                stack[-1].append(pending)
                continue
            m = anchor.match(line)
            if m:
                date = re.search(r' ADD_DATE="(\d+)"', m.group(2))
                stack[-1].append(("link", html.unescape(m.group(3)), html.unescape(m.group(1)),
                                  int(date.group(1)) if date else None))
                continue
            if line.strip() == "<DL><p>":
                if pending is not None:
                    stack.append(pending[3])
                    pending = None
                elif len(stack) > 1 or top:
                    fail("a list without its folder: " + line)
            elif line.strip() == "</DL><p>":
                stack.pop()
    return top


def normalized(url):
    """An address as Firefox stores it: the host in IDNA, the rest percent-encoded as UTF-8."""
    parts = urllib.parse.urlsplit(url)
    host = parts.hostname.encode("idna").decode("ascii") if parts.hostname else ""
    netloc = host + (":%d" % parts.port if parts.port else "")
    safe = "/%:@!$&'()*+,;=?~-._"
    return urllib.parse.urlunsplit((parts.scheme, netloc,
                                    urllib.parse.quote(parts.path, safe=safe) or "/",
                                    urllib.parse.quote(parts.query, safe=safe),
                                    urllib.parse.quote(parts.fragment, safe=safe)))


def places_tree(db, parent):
    items = []
    rows = db.execute("SELECT b.id, b.type, b.title, p.url, b.dateAdded FROM moz_bookmarks b"
                      " LEFT JOIN moz_places p ON p.id = b.fk WHERE b.parent = ?"
                      " ORDER BY b.position", (parent,)).fetchall()
    for ident, kind, title, url, added in rows:
        if kind == 2:
            items.append(("folder", title or "", False, places_tree(db, ident)))
        elif kind == 1 and url and not url.startswith("place:"):
            items.append(("link", title or "", url, added // 1000000 if added else None))
    return items


def root_id(db, guid):
    row = db.execute("SELECT id FROM moz_bookmarks WHERE guid = ?", (guid,)).fetchone()
    return row[0] if row else None


def texts(items):
    """Every name, title, address and date of a tree, as text."""
    out = set()
    for item in items:
        out.add(item[1])
        if item[0] == "folder":
            out |= texts(item[3])
        else:
            out.add(item[2])
            out.add(str(item[3]))
    return out


def link_count(items):
    return sum(1 if i[0] == "link" else link_count(i[3]) for i in items)


def comparable(items):
    out = []
    for item in items:
        if item[0] == "folder":
            out.append(("folder", item[1], comparable(item[3])))
        else:
            out.append(("link", item[1], normalized(item[2]), item[3]))
    return out


def snapshot(profile, into):
    """A readable copy of the profile's places.sqlite (with its log), or None."""
    source = os.path.join(profile, "places.sqlite")
    if not os.path.exists(source):
        return None
    for suffix in ("", "-wal"):
        target = into + suffix
        if os.path.exists(target):
            os.remove(target)
        if os.path.exists(source + suffix):
            shutil.copyfile(source + suffix, target)
    try:
        db = sqlite3.connect(into)
        db.execute("SELECT count(*) FROM moz_bookmarks").fetchone()
        return db
    except sqlite3.Error:
        return None


def imported_links(db):
    menu, toolbar = root_id(db, "menu________"), root_id(db, "toolbar_____")
    if menu is None or toolbar is None:
        return -1
    return link_count(places_tree(db, menu)) + link_count(places_tree(db, toolbar))


def stop(browser):
    if browser.poll() is not None:
        return
    # The whole process group: the browser starts helper processes of its own.
    try:
        os.killpg(browser.pid, signal.SIGTERM)
        browser.wait(timeout=30)
    except (subprocess.TimeoutExpired, ProcessLookupError):
        pass
    if browser.poll() is None:
        try:
            os.killpg(browser.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        browser.wait()


def import_into_firefox(firefox, export, work, name):
    profile = os.path.join(work, "profile-" + name)
    os.makedirs(profile)
    with open(os.path.join(profile, "user.js"), "w") as f:
        f.write(USER_JS % json.dumps(export))
    expected = read_export(export)
    wanted = link_count(expected)
    env = dict(os.environ, MOZ_HEADLESS="1", HOME=work, MOZ_CRASHREPORTER_DISABLE="1",
               MOZ_DISABLE_AUTO_SAFE_MODE="1")
    env.pop("DISPLAY", None)
    log = open(os.path.join(work, "firefox-%s.log" % name), "wb")
    browser = subprocess.Popen([firefox, "--headless", "--no-remote", "--profile", profile,
                                "about:blank"], stdout=log, stderr=subprocess.STDOUT, env=env,
                               start_new_session=True)
    copy = os.path.join(work, "places-%s-copy.sqlite" % name)
    try:
        deadline = time.monotonic() + IMPORT_TIMEOUT
        seen = -1
        while time.monotonic() < deadline:
            if browser.poll() is not None:
                fail("firefox-esr ended early (status %d); see %s" % (browser.returncode,
                                                                       log.name))
            db = snapshot(profile, copy)
            if db is not None:
                try:
                    seen = imported_links(db)
                except sqlite3.Error:
                    seen = -1
                db.close()
                if seen >= wanted:
                    break
            time.sleep(POLL_SECONDS)
        else:
            fail("%s: %d of %d links in places.sqlite after %d s" % (name, max(seen, 0), wanted,
                                                                     IMPORT_TIMEOUT))
        # A moment more, so the last rows of the import are written too, then a clean end.
        time.sleep(2)
    finally:
        stop(browser)
        log.close()

    db = snapshot(profile, copy)
    if db is None:
        fail("%s: places.sqlite cannot be read after the browser ended" % name)
    menu = places_tree(db, root_id(db, "menu________"))
    toolbar = places_tree(db, root_id(db, "toolbar_____"))
    db.close()
    # The toolbar folder's contents go to the browser's toolbar; everything else to its menu.
    want_menu = [i for i in expected if not (i[0] == "folder" and i[2])]
    want_toolbar = [c for i in expected if i[0] == "folder" and i[2] for c in i[3]]
    for where, got, want in (("menu", menu, want_menu), ("toolbar", toolbar, want_toolbar)):
        if comparable(got) != comparable(want):
            fail("%s: the %s differs from the export\n  firefox: %r\n  export:  %r"
                 % (name, where, comparable(got), comparable(want)))
    print("%s: %d links and their folders arrived in order" % (name, wanted))
    return expected


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    cli = sys.argv[1]
    firefox = shutil.which("firefox-esr")
    if not firefox:
        print("SKIP: firefox-esr is not installed (scripts/setup-debian.sh installs it)")
        sys.exit(77)
    work = tempfile.mkdtemp(prefix="talvensa-firefox-", dir=sys.argv[2] if len(sys.argv) > 2
                            else None)
    try:
        settings = os.path.join(work, "none.ini")
        tree = os.path.join(work, "Favorites")
        make_tree(tree)
        chromium = os.path.join(work, "Bookmarks")
        chromium_file(chromium)
        for name, source in (("shortcuts", tree), ("chromium", chromium)):
            export = os.path.join(work, "%s-export.html" % name)
            subprocess.run([cli, "--settings", settings, "--folder", source, "--format",
                            "netscape", "--quiet", export], check=True)
            expected = import_into_firefox(firefox, export, work, name)
            flat = texts(expected)
            # The export carries what the sources hold.
            for text in (["トップ & \"引用\"", "<角> 括弧", "深い & 階層", "空のフォルダ",
                          "記事 \"一\"", "絵文字 😀", "1600000100"] if name == "shortcuts"
                         else ["ブックマーク バー", "バーの中 <sub>", "\"quoted\"", "1400000300"]):
                if text not in flat:
                    fail("%s: the export lacks %s" % (name, text))
            if name == "chromium" and not any(i[0] == "folder" and i[2] for i in expected):
                fail("chromium: the bookmarks bar is not marked as the toolbar folder")
    finally:
        if "KEEP_WORK" not in os.environ:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
