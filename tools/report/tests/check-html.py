#!/usr/bin/env python3
"""Strict markup check of report pages, on the standard library's HTML parser.

A page passes when it is well-formed and self-contained: it starts with the
HTML5 doctype and has no other declaration; every element but the void ones
is closed, in order, and only SVG content is self-closed; every attribute is
name="value", once per element, with no event handlers; ids are unique;
character data has '<' and '>' only as markup and '&' only in a complete
character reference; and nothing is fetched from elsewhere (no scripts,
frames, images, imports, url() or links off the page's folder).

  check-html.py PAGE...
      checks the pages; each problem is one line; status 1 when any.
  check-html.py --pages-of TESTS [--filter F] [--at-least N] DIR
      first makes sure the check itself refuses broken markup, then runs the
      test program TESTS (a GoogleTest binary; --filter picks its tests) with
      MOTIFBIND_REPORT_PAGES=DIR, so that its tests keep every page they
      make in DIR (emptied first), and checks those pages: at least N.
"""
import argparse
import html.parser
import os
import re
import shutil
import subprocess
import sys

VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source", "track", "wbr"}
FORBIDDEN = ("<script", "http:", "https:", "//", "@import", "url(", "<iframe", "<object", "<embed", "<img",
             "javascript:")
URL_ATTRS = {"href", "src", "xlink:href", "action", "srcset", "poster"}
START_TAG = re.compile(r'<[A-Za-z0-9-]+((?:[ \n]+[A-Za-z0-9:_-]+="[^"]*")*)[ \n]*/?>\Z')
ATTR = re.compile(r'[ \n]+([A-Za-z0-9:_-]+)="([^"]*)"')
END_TAG = re.compile(r"</[A-Za-z0-9-]+ *>")
REFERENCE = re.compile(r"&(?:#[0-9]+|#[xX][0-9a-fA-F]+|[A-Za-z0-9]+);")


def local_target(tag, value):
    """A fragment, a plain relative file name, or the favicon's empty data: URL."""
    if value.startswith("#"):
        return True
    if tag == "link" and value == "data:,":
        return True
    return value != "" and ":" not in value and "//" not in value and value[0] not in "/\\"


def text_problems(text):
    """'<' and '>' escaped, '&' only as a complete reference, in raw text."""
    problems = []
    for m in re.finditer(r"[<>&]", text):
        i = m.start()
        if text[i] != "&":
            problems.append("raw %s in text near: %s" % (text[i], text[i:i + 40]))
        elif not REFERENCE.match(text, i):
            what = "bad character reference" if text.startswith("&#", i) else "bare &"
            problems.append("%s near: %s" % (what, text[i:i + 20]))
    return problems


class Checker(html.parser.HTMLParser):
    def __init__(self, page):
        super().__init__(convert_charrefs=False)
        self.page = page
        self.starts = [0] + [m.end() for m in re.finditer("\n", page)]
        self.problems = []
        self.open = []
        self.ids = set()

    def at(self):
        line, column = self.getpos()
        return self.starts[line - 1] + column

    def handle_decl(self, decl):
        if self.at() != 0:
            self.problems.append("declaration other than the doctype: <!%s>" % decl[:30])

    def unknown_decl(self, data):
        self.problems.append("declaration other than the doctype: <![%s" % data[:30])

    def handle_pi(self, data):
        self.problems.append("processing instruction <?%s" % data[:30])

    def handle_comment(self, data):
        if not self.page.startswith("<!--", self.at()):
            self.problems.append("declaration other than the doctype: <!%s>" % data[:30])

    def handle_data(self, data):
        # Style sheets are not character data; the page's one holds '>'
        # selectors.
        if not (self.open and self.open[-1] == "style"):
            self.problems += text_problems(data)

    # The parser also takes a reference without its ';' (and a name with
    # dots): the page's own bytes must hold a complete one.
    def reference(self):
        at = self.at()
        if not REFERENCE.match(self.page, at):
            what = "bad character reference" if self.page.startswith("&#", at) else "bare &"
            self.problems.append("%s near: %s" % (what, self.page[at:at + 20]))

    def handle_entityref(self, name):
        self.reference()

    def handle_charref(self, name):
        self.reference()

    def start(self, tag, closed):
        raw = self.get_starttag_text()
        m = START_TAG.match(raw)
        if not m:
            self.problems.append("unquoted or malformed attribute in <%s> near: %s" % (tag, raw[:60]))
            return
        seen = set()
        for a in ATTR.finditer(m.group(1)):
            name, value = a.group(1).lower(), a.group(2)
            self.problems += text_problems(value)
            if name in seen:
                self.problems.append("repeated attribute %s in <%s>" % (name, tag))
            seen.add(name)
            if name.startswith("on"):
                self.problems.append("event handler attribute %s in <%s>" % (name, tag))
            if name in URL_ATTRS and not local_target(tag, value):
                self.problems.append('non-local %s="%s" in <%s>' % (name, value, tag))
            if name == "id":
                if value in self.ids:
                    self.problems.append('id "%s" used twice' % value)
                self.ids.add(value)
        if tag in VOID:
            return
        if closed:
            if tag != "svg" and "svg" not in self.open:
                self.problems.append("self-closed HTML element <%s />" % tag)
            return
        self.open.append(tag)

    def handle_starttag(self, tag, attrs):
        self.start(tag, False)

    def handle_startendtag(self, tag, attrs):
        self.start(tag, True)

    def handle_endtag(self, tag):
        if not END_TAG.match(self.page, self.at()):
            self.problems.append("malformed end tag </%s" % tag)
        if tag in VOID:
            self.problems.append("end tag of void element </%s>" % tag)
        elif not self.open or self.open[-1] != tag:
            self.problems.append("</%s> closes <%s>" % (tag, self.open[-1] if self.open else "nothing"))
        else:
            self.open.pop()


def problems_of(page):
    """Everything wrong with the page's markup; empty when it passes."""
    problems = []
    if not page.startswith("<!DOCTYPE html>"):
        problems.append("does not start with <!DOCTYPE html>")
    lower = page.lower()
    problems += ["contains " + bad for bad in FORBIDDEN if bad in lower]
    c = Checker(page)
    c.feed(page)
    c.close()
    problems += c.problems
    problems += ["<%s> never closed" % tag for tag in c.open]
    return problems


def self_test():
    """The check passes good markup and refuses each kind of broken one."""
    head, tail = "<!DOCTYPE html>\n<html><body>", "</body></html>"
    good = '<p id="a">fine &amp; &#233; &#x2013; <b>good</b></p><svg id="b"><line x1="0" /></svg>'
    failures = ["good markup refused: %s" % p for p in problems_of(head + good + tail)]
    for bad in ("<p>unclosed", "<p>a</b></p>", "<p class=x>a</p>", "<p>a & b</p>", "<p>a &amp b</p>",
                "<p>&#12 a</p>", "<p>1 < 2</p>", "<p>a > b</p>", "<script>x</script>",
                '<a href="https:">x</a>', '<a href="/etc">x</a>', '<a href="x.tsv" title="a<b">x</a>',
                "<div />", '<p onclick="x">a</p>', "<style>@import 'x';</style>",
                '<p style="background:url(x)">a</p>', '<p id="a" id="b">a</p>', '<p id="a">a</p><b id="a">b</b>',
                "<br></br>", "<!ENTITY x>", "<!-- open", '<p class="x"'):
        if not problems_of(head + bad + tail):
            failures.append("broken markup passed: %s" % bad)
    if not problems_of("<html><body></body></html>"):
        failures.append("a page without the doctype passed")
    return failures


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--pages-of", metavar="TESTS")
    parser.add_argument("--filter", default="*")
    parser.add_argument("--at-least", type=int, default=1)
    parser.add_argument("paths", nargs="+")
    args = parser.parse_args()

    if args.pages_of:
        failures = self_test()
        if failures:
            print("\n".join(failures), file=sys.stderr)
            return 1
        if len(args.paths) != 1:
            parser.error("--pages-of takes one folder")
        folder = args.paths[0]
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        env = dict(os.environ, MOTIFBIND_REPORT_PAGES=folder)
        run = subprocess.run([args.pages_of, "--gtest_filter=" + args.filter], env=env,
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        if run.returncode != 0:
            print(run.stdout, file=sys.stderr)
            print("%s ended with status %d" % (args.pages_of, run.returncode), file=sys.stderr)
            return 1
        pages = sorted(os.path.join(folder, f) for f in os.listdir(folder) if f.endswith(".html"))
        if len(pages) < args.at_least:
            print("%d pages kept in %s, expected at least %d" % (len(pages), folder, args.at_least),
                  file=sys.stderr)
            return 1
    else:
        pages = args.paths

    bad = 0
    for path in pages:
        with open(path, encoding="utf-8") as f:
            problems = problems_of(f.read())
        for p in problems:
            print("%s: %s" % (path, p))
        bad += 1 if problems else 0
    print("%d of %d pages well-formed and self-contained" % (len(pages) - bad, len(pages)))
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
