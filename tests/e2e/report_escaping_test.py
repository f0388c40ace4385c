#!/usr/bin/env python3
"""End-to-end test: respondents cannot make a web report page run or load
anything.

Incorporates answers holding script tags, an image with an onerror handler,
a javascript: link, an early </BODY> and a plain remote image into a copy of
the example survey, writes the web report with quorvant-cli report and opens
each page in headless Chromium. Every payload would call a small HTTP server
on the loopback address; the test passes when that server heard nothing, the
page's DOM holds no element a payload would have made, and the answers show
as typed text.

The pages are then served over HTTP with a content type that names no
character set, as many web servers send them: a browser that falls back to
its default encoding must still show answers beyond ASCII as typed, which
only the pages' own declaration of UTF-8 makes it do.

Exit status: 0 passed, 1 failed, 77 skipped (Chromium is not installed).
"""
import argparse
import functools
import http.server
import os
import re
import subprocess
import sys
import tempfile
import threading

from headless_browser import SKIPPED, find_chromium

TEXT_FIELD = "qvx8"    # 40 characters
BEYOND_ASCII = "Grüße aus Köln – naïve ☕"
OTHER_FIELD = "qvx9Other"  # the Other text of question 9 (item position 8)
MEMO_FIELD = "qvx10"   # verbose


def payloads(port):
    base = f"http://127.0.0.1:{port}"
    return [
        (TEXT_FIELD, "<script>location='//x'</script>"),
        (OTHER_FIELD, "</BODY><b id=early>x</b>"),
        (MEMO_FIELD, f"<script>fetch('{base}/script')</script>"),
        (MEMO_FIELD, f"<img src=x onerror=fetch('{base}/onerror')>"),
        (MEMO_FIELD, f"<a id=js href=javascript:fetch('{base}/js')>go</a>"),
        (MEMO_FIELD, f"<img src={base}/remote.png>"),
        (MEMO_FIELD, f"</BODY></HTML><script>document.write('<p id=pwned>')</script>"),
        (MEMO_FIELD, f"<svg onload=fetch('{base}/svg')>"),
        (MEMO_FIELD, BEYOND_ASCII),
    ]


def reply_text(port):
    lines = ["<DATA>"]
    for n, (field, text) in enumerate(payloads(port), 1):
        lines.append(f'RemoteAddr=10.0.0.{n},DateRec=2026010100000{n % 10},"{field}={text}"')
    lines.append("</DATA>")
    return "\r\n".join(lines) + "\r\n"


class PlainHtml(http.server.SimpleHTTPRequestHandler):
    """Serves the report's files as "text/html" without a charset."""

    def guess_type(self, path):
        return "text/html" if path.endswith(".htm") else super().guess_type(path)

    def log_message(self, *args):
        pass


def served_dom(chromium, site, name, profile):
    """The DOM of the page as the browser shows it when served over HTTP."""
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(PlainHtml, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        command = [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                   "--disable-background-networking", "--disable-component-update",
                   "--disable-sync", f"--user-data-dir={profile}", "--dump-dom",
                   f"http://127.0.0.1:{server.server_address[1]}/{name}"]
        return subprocess.run(command, capture_output=True, text=True, encoding="utf-8",
                              timeout=120, start_new_session=True).stdout
    finally:
        server.shutdown()


class Listener(http.server.BaseHTTPRequestHandler):
    heard = []

    def do_GET(self):  # noqa: N802 (the handler's name is the library's)
        Listener.heard.append(self.path)
        self.send_response(204)
        self.end_headers()

    def log_message(self, *args):
        pass


def run(command, env):
    result = subprocess.run(command, env=env, capture_output=True, text=True, timeout=120)
    if result.returncode != 0:
        raise RuntimeError("%s failed (%d):\n%s%s" % (command, result.returncode,
                                                      result.stdout, result.stderr))
    return result.stdout


def dom_of(chromium, page, profile):
    """The page's DOM after its scripts (if any) had three seconds."""
    command = [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
               "--disable-background-networking", "--disable-component-update",
               "--disable-sync", f"--user-data-dir={profile}", "--virtual-time-budget=3000",
               "--dump-dom", "file://" + page]
    return subprocess.run(command, capture_output=True, text=True, timeout=120,
                          start_new_session=True).stdout


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--source", required=True)
    args = parser.parse_args()
    chromium = find_chromium()
    if not chromium:
        return SKIPPED
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Listener)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    port = server.server_address[1]
    failures = []
    try:
        with tempfile.TemporaryDirectory() as work:
            env = dict(os.environ, HOME=work, QUORVANT_CONFIG_DIR=os.path.join(work, "config"))
            with open(os.path.join(args.source, "data/examples/example.qvx"), newline="",
                      encoding="utf-8") as f:
                text = f.read()
            survey = os.path.join(work, "survey.qvx")
            with open(survey, "w", newline="", encoding="utf-8") as f:
                f.write(re.sub(r"(?m)^Only1IP=.*$", "Only1IP=0", text))
            reply = os.path.join(work, "reply.dat")
            with open(reply, "w", newline="", encoding="utf-8") as f:
                f.write(reply_text(port))
            run([args.cli, "incorporate", survey, reply], env)
            site = os.path.join(work, "site")
            os.mkdir(site)
            run([args.cli, "report", survey, site], env)

            pages = {"survey7.htm": "&lt;script&gt;location=&#39;//x&#39;&lt;/script&gt;",
                     "survey8.htm": "&lt;/BODY&gt;&lt;b id=early&gt;x&lt;/b&gt;",
                     "survey9.htm": "&lt;svg onload=fetch("}
            for name, shown in pages.items():
                path = os.path.join(site, name)
                with open(path, encoding="utf-8") as f:
                    written = f.read()
                if shown not in written:
                    failures.append(f"{name} does not show the answer as text: {written!r}")
                dom = dom_of(chromium, path, os.path.join(work, "profile"))
                if "Quorvant Analysis" not in dom:
                    failures.append(f"{name} did not load in the browser: {dom[:300]!r}")
                for marker in ("id=\"pwned\"", "id=\"early\"", "id=\"js\"", "<script", "<svg",
                               "<img src=\"x\"", "<a id="):
                    if marker in dom:
                        failures.append(f"{name}: the DOM holds {marker}")
            served = served_dom(chromium, site, "survey9.htm", os.path.join(work, "profile"))
            if BEYOND_ASCII not in served:
                failures.append(f"served over HTTP the answer {BEYOND_ASCII!r} is garbled: "
                                f"{served[:2000]!r}")
    finally:
        server.shutdown()
    if Listener.heard:
        failures.append(f"the pages fetched {Listener.heard}")
    for failure in failures:
        print("FAILED:", failure)
    if failures:
        return 1
    print("1 passed, 0 failed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
