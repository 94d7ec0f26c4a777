"""Debian's headless Chromium for the picture tests: a page holding an SVG
picture inline, a script on it that measures and writes its findings as JSON
into <pre id="result">, read back from --dump-dom; or a screenshot of the
page. Nothing is downloaded: /usr/bin/chromium, started without any network
chatter, in a new empty profile."""
import html
import json
import os
import re
import subprocess
import tempfile

from checks import require as check

CHROMIUM = ["/usr/bin/chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
            "--no-first-run", "--disable-background-networking", "--disable-component-update",
            "--disable-sync", "--hide-scrollbars"]

PAGE = """<!DOCTYPE html>
<html><head><meta charset="utf-8"><style>body { margin: 0 }</style></head><body>
%(svg)s
<pre id="result">pending</pre>
<script>
%(script)s
</script></body></html>
"""


def page_of(svg_text, script):
    """A page with the picture inline (its XML declaration taken off) and the
    script after it."""
    inline = re.sub(r"^<\?xml[^>]*>\s*", "", svg_text)
    return PAGE % {"svg": inline, "script": script}


def chromium(work, page, args, budget_ms):
    """Opens the page from a file in `work` with the extra arguments; returns
    what Chromium printed on standard output."""
    path = os.path.join(work, "page.html")
    with open(path, "w", encoding="utf-8") as f:
        f.write(page)
    profile = tempfile.mkdtemp(dir=work)
    p = subprocess.run(CHROMIUM + ["--user-data-dir=" + profile,
                                   "--virtual-time-budget=%d" % budget_ms] + args +
                       ["file://" + path], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                       timeout=300)
    check(p.returncode == 0, "chromium: exit code %d: %s" % (p.returncode, p.stderr[-400:]))
    return p.stdout.decode("utf-8", "replace")


def measured(work, page, budget_ms):
    """The JSON the page's script left in <pre id="result">, or None."""
    dom = chromium(work, page, ["--dump-dom"], budget_ms)
    found = re.search(r'<pre id="result">(.*?)</pre>', dom, re.S)
    if not found or found.group(1) == "pending":
        check(False, "the page did not report: %r" % dom[-300:])
        return None
    return json.loads(html.unescape(found.group(1)))


def screenshot(work, page, path, width, height):
    """A screenshot of the page at the given size, saved at path."""
    chromium(work, page, ["--screenshot=" + os.path.abspath(path),
                          "--window-size=%d,%d" % (width, height)], budget_ms=2000)
    check(os.path.exists(path) and os.path.getsize(path) > 0, "no screenshot at %s" % path)
