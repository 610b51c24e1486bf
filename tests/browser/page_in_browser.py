#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 the Talvensa developers
"""The UTF-8 page in headless Chromium, driven through Selenium and chromium-driver.

    page_in_browser.py PAGE_SAMPLES TALVENSA_CLI SAMPLE_TREE

Opens the pages that PageSamples writes (and talvensa-cli's page of the sample tree) and checks
what a user meets: every link visible, the search with each folding rule, the keys, the query in
the address, no request beyond the page itself, the dark scheme's colours and contrast, the page
with scripts off, and that a script address does not run.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

SAMPLES, CLI, TREE = sys.argv[1:4] if len(sys.argv) >= 4 else (None, None, None)
WORK = None


def chromedriver():
    return shutil.which("chromedriver") or "/usr/bin/chromedriver"


def browser(scripts=True, performance_log=False):
    options = webdriver.ChromeOptions()
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                     "--window-size=1000,800", "--user-data-dir=" + tempfile.mkdtemp(dir=WORK)):
        options.add_argument(argument)
    if not scripts:
        options.add_experimental_option(
            "prefs", {"profile.managed_default_content_settings.javascript": 2})
    logs = {"browser": "ALL"}
    if performance_log:
        logs["performance"] = "ALL"
    options.set_capability("goog:loggingPrefs", logs)
    return webdriver.Chrome(service=Service(chromedriver()), options=options)


def url_of(name):
    return "file://" + os.path.join(WORK, name)


def parse_rgb(text):
    values = [float(v) for v in re.findall(r"[\d.]+", text)[:3]]
    return tuple(int(round(v)) for v in values)


def luminance(rgb):
    def linear(c):
        c /= 255.0
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (linear(c) for c in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    la, lb = luminance(a), luminance(b)
    return (max(la, lb) + 0.05) / (min(la, lb) + 0.05)


class PageInBrowser(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.driver = browser(performance_log=True)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()

    def open(self, name="search.html", fragment=""):
        self.driver.get("about:blank")
        self.driver.get(url_of(name) + fragment)
        self.box = self.driver.find_element(By.ID, "q")

    def settle(self):
        """Waits until the frame after the last key has been drawn: the page filters then."""
        self.driver.execute_script(
            "return new Promise(r => requestAnimationFrame(() => setTimeout(r, 0)))")

    def visible_titles(self):
        self.settle()
        return self.driver.execute_script(
            "return Array.from(document.querySelectorAll('main a'))"
            ".filter(a => a.getClientRects().length > 0).map(a => a.textContent)")

    def visible_folders(self):
        self.settle()
        return self.driver.execute_script(
            "return Array.from(document.querySelectorAll('main summary'))"
            ".filter(s => s.getClientRects().length > 0).map(s => s.textContent)")

    def count_text(self):
        self.settle()
        return self.driver.find_element(By.ID, "count").text

    def search(self, text):
        self.box.clear()
        self.box.send_keys(text)
        self.settle()
        return sorted(self.visible_titles())

    def test_every_link_shows_and_folders_nest(self):
        self.open()
        titles = self.visible_titles()
        self.assertEqual(len(titles), 8)
        self.assertIn('Tom & "Jerry" <b>', titles)
        self.assertTrue(self.box.is_displayed())
        self.assertEqual(self.count_text(), "8 件")
        # A sub-folder is inside its parent, all open; headings go one level deeper.
        nested = self.driver.execute_script(
            "const d = [...document.querySelectorAll('details')];"
            "return d.map(x => [x.open, x.querySelector('summary').firstElementChild.tagName,"
            " x.parentElement.closest('details') ? x.parentElement.closest('details')"
            ".querySelector('summary').textContent : null])")
        self.assertEqual(nested[1], [True, "H3", "カタカナ"])
        self.assertTrue(all(row[0] for row in nested))
        self.assertEqual([row[1] for row in nested], ["H2", "H3", "H2", "H2", "H2"])
        # Landmarks: the search, the main list, the footer.
        self.assertEqual(self.driver.execute_script(
            "return [!!document.querySelector('header [role=search]'),"
            " document.querySelectorAll('main').length, !!document.querySelector('footer')]"),
            [True, 1, True])

    def test_screen_reader_finds_landmarks_and_a_heading_per_folder(self):
        self.open()
        nodes = self.driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]
        roles, headings = set(), []
        for node in nodes:
            if node.get("ignored"):
                continue
            role = node.get("role", {}).get("value")
            roles.add(role)
            if role == "heading":
                level = {p["name"]: p["value"].get("value")
                         for p in node.get("properties", [])}.get("level")
                headings.append((node.get("name", {}).get("value"), level))
        self.assertLessEqual({"banner", "search", "main", "contentinfo"}, roles)
        self.assertEqual(sorted(headings), sorted([
            ("Favorite", 1), ("カタカナ", 2), ("深い", 3), ("空", 2), ("Scripts", 2),
            ("記号 & <tag>", 2)]))

    def test_search_folds_case_width_and_kana(self):
        self.open()
        self.assertEqual(self.search("alpha"), ["ALPHA release"])  # case
        self.assertEqual(self.search("ａｌｐｈａ"), ["ALPHA release"])  # full-width query
        self.assertEqual(self.search("wide let"), ["Ｗｉｄｅ Ｌｅｔｔｅｒｓ"])  # full-width title
        self.assertEqual(self.search("かたかな"), ["カタカナの本", "ｶﾀｶﾅ 半角"])  # katakana, half-width
        self.assertEqual(self.search("ヒラガナ"), ["ひらがな"])  # hiragana found by katakana
        self.assertEqual(self.search("パス/only"), ["URL だけ"])  # a Unicode address
        self.assertEqual(self.search("example.org/kana"), ["カタカナの本"])  # address, ASCII
        self.assertEqual(self.search("<b>"), ['Tom & "Jerry" <b>'])
        self.assertEqual(self.search("no such link"), [])
        self.assertEqual(self.count_text(), "8 件中 0 件")

    def test_folders_without_a_match_are_hidden_and_counted(self):
        self.open()
        self.search("wide")
        # The parent of the matching folder stays; every other folder goes.
        self.assertEqual(self.visible_folders(), ["カタカナ", "深い"])
        self.assertEqual(self.count_text(), "8 件中 1 件")
        self.search("example")
        self.assertEqual(self.visible_folders(), ["カタカナ", "深い", "記号 & <tag>"])
        self.assertEqual(self.count_text(), "8 件中 7 件")
        # Narrowed key by key, then widened again.
        self.box.send_keys(".org/kana")
        self.assertEqual(self.visible_titles(), ["カタカナの本"])
        self.assertEqual(self.visible_folders(), ["カタカナ"])
        self.box.send_keys(Keys.BACKSPACE * 5)
        self.assertEqual(self.count_text(), "8 件中 7 件")
        self.assertEqual(len(self.visible_titles()), 7)

    def test_slash_focuses_and_escape_clears(self):
        self.open()
        body = self.driver.find_element(By.TAG_NAME, "body")
        body.click()
        ActionChains(self.driver).send_keys("/").perform()
        self.assertEqual(self.driver.switch_to.active_element, self.box)
        self.assertEqual(self.box.get_attribute("value"), "")  # the "/" is not typed
        ActionChains(self.driver).send_keys("alpha").perform()
        self.assertEqual(sorted(self.visible_titles()), ["ALPHA release"])
        ActionChains(self.driver).send_keys(Keys.ESCAPE).perform()
        self.assertEqual(self.box.get_attribute("value"), "")
        self.assertEqual(len(self.visible_titles()), 8)
        self.assertEqual(self.visible_folders(), ["カタカナ", "深い", "空", "Scripts", "記号 & <tag>"])

    def test_query_stays_in_the_address(self):
        self.open()
        self.search("かたかな")
        self.assertTrue(self.driver.current_url.endswith(
            "#q=%E3%81%8B%E3%81%9F%E3%81%8B%E3%81%AA"), self.driver.current_url)
        self.driver.refresh()
        self.box = self.driver.find_element(By.ID, "q")
        self.assertEqual(self.box.get_attribute("value"), "かたかな")
        self.assertEqual(sorted(self.visible_titles()), ["カタカナの本", "ｶﾀｶﾅ 半角"])
        self.open(fragment="#q=wide")
        self.assertEqual(self.visible_titles(), ["Ｗｉｄｅ Ｌｅｔｔｅｒｓ"])
        self.search("")
        self.box.send_keys("a")
        self.box.send_keys(Keys.BACKSPACE)
        self.settle()
        self.assertNotIn("#", self.driver.current_url)

    def test_nothing_is_loaded_and_the_policy_blocks_nothing_it_needs(self):
        self.driver.get_log("performance")
        self.driver.get_log("browser")
        for page in ("search.html", "plain.html", "tree.html"):
            self.open(page)
            self.search("a")
        requested = []
        for entry in self.driver.get_log("performance"):
            message = entry["message"]
            if '"Network.requestWillBeSent"' in message:
                found = re.search(r'"url":"([^"]*)"', message)
                url = found.group(1) if found else "?"
                if not url.startswith("data:") and url != "about:blank":
                    requested.append(url)
        self.assertEqual(sorted(set(requested)),
                         sorted(url_of(p) for p in ("search.html", "plain.html", "tree.html")))
        self.assertEqual(self.driver.execute_script(
            "return performance.getEntriesByType('resource').length"), 0)
        problems = [e["message"] for e in self.driver.get_log("browser")
                    if e["level"] in ("SEVERE", "WARNING")]
        self.assertEqual(problems, [])

    def test_icons_are_shared_and_line_up(self):
        self.open()
        icons = self.driver.execute_script(
            "return Array.from(document.querySelectorAll('main a')).map(a => {"
            " const s = a.querySelector('svg.icon'); const r = s.getBoundingClientRect();"
            " const u = s.querySelector('use');"
            " return [a.textContent, u ? u.getAttribute('href') : null, r.width, r.height]; })")
        by_title = {row[0]: row[1:] for row in icons}
        self.assertEqual(by_title["ALPHA release"][0], by_title["ｶﾀｶﾅ 半角"][0])
        self.assertNotEqual(by_title["ALPHA release"][0], by_title["カタカナの本"][0])
        self.assertIsNone(by_title["ひらがな"][0])
        self.assertTrue(all(row[2:] == [16, 16] for row in icons), icons)
        self.assertEqual(self.driver.execute_script(
            "return document.querySelectorAll('symbol').length"), 2)

    def test_a_script_address_does_not_run(self):
        self.open()
        title = self.driver.title
        self.driver.find_element(By.LINK_TEXT, "bookmarklet").click()
        self.assertEqual(len(self.driver.window_handles), 1)
        self.assertEqual(self.driver.title, title)

    def test_dark_scheme_colours(self):
        self.open()
        light = self.driver.execute_script(
            "return getComputedStyle(document.body).backgroundColor")
        self.driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {
            "features": [{"name": "prefers-color-scheme", "value": "dark"}]})
        try:
            self.check_dark_page("search.html", light)
            self.check_dark_page("plain.html", None)
        finally:
            self.driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"features": []})

    def check_dark_page(self, name, light):
        self.open(name)
        colours = self.driver.execute_script(
            "const c = e => getComputedStyle(e).color;"
            "return {bg: getComputedStyle(document.body).backgroundColor,"
            " title: c(document.querySelector('.TitleMessage')),"
            " folder: c(document.querySelector('.FolderName')),"
            " link: c(document.querySelector('main a')),"
            " label: c(document.querySelector('label')),"
            " comment: document.querySelector('.BVKComment') ?"
            "   c(document.querySelector('.BVKComment')) : null}")
        background = parse_rgb(colours.pop("bg"))
        self.assertLess(luminance(background), 0.05, name)
        if light is not None:
            self.assertNotEqual(parse_rgb(light), background)
        for role, colour in colours.items():
            if colour is not None:
                self.assertGreaterEqual(contrast(parse_rgb(colour), background), 4.5,
                                        "%s %s %s" % (name, role, colour))
        link = self.driver.find_element(By.CSS_SELECTOR, "main a")
        ActionChains(self.driver).move_to_element(link).perform()
        hover = self.driver.execute_script(
            "const s = getComputedStyle(arguments[0]); return [s.color, s.backgroundColor]",
            link)
        hover_background = parse_rgb(hover[1]) if "0, 0, 0, 0" not in hover[1] else background
        self.assertGreaterEqual(contrast(parse_rgb(hover[0]), hover_background), 4.5, hover)


class PageWithoutScripts(unittest.TestCase):
    def test_every_link_shows_and_the_box_does_not(self):
        driver = browser(scripts=False)
        try:
            for page, links in (("search.html", 8), ("tree.html", 9)):
                driver.get(url_of(page))
                anchors = driver.find_elements(By.CSS_SELECTOR, "main a")
                self.assertEqual(len(anchors), links)
                self.assertTrue(all(a.is_displayed() for a in anchors))
                self.assertFalse(driver.find_element(By.ID, "q").is_displayed())
                self.assertTrue(all(d.get_attribute("open") is not None
                                    for d in driver.find_elements(By.TAG_NAME, "details")))
        finally:
            driver.quit()


def main():
    global WORK
    if SAMPLES is None:
        sys.exit(__doc__)
    WORK = tempfile.mkdtemp(prefix="talvensa-browser-")
    try:
        subprocess.run([SAMPLES, WORK], check=True)
        settings = os.path.join(WORK, "settings.ini")
        with open(settings, "w") as f:
            f.write("[Document]\nBVKCommentFlag=1\n")
        subprocess.run([CLI, "--quiet", "--settings", settings, "--folder", TREE, "--format",
                        "html", os.path.join(WORK, "tree.html")], check=True)
        program = unittest.main(argv=[sys.argv[0], "-v"], exit=False)
        sys.exit(0 if program.result.wasSuccessful() else 1)
    finally:
        shutil.rmtree(WORK, ignore_errors=True)


if __name__ == "__main__":
    main()
