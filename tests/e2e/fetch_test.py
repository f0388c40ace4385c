#!/usr/bin/env python3
"""End-to-end test of the road from a respondent's browser to the table.

Starts quorvant-collector on a free loopback port with a fresh database,
registers the example survey and generates its page with quorvant-cli, lets
headless Chromium fill in and submit several responses, posts more
submissions from other loopback source addresses (duplicates by address and
by e-mail address among them), then downloads them with quorvant-cli fetch.
The table must hold exactly the submissions the collection rules accept, in
order, the printed counts must agree, and a further fetch must add nothing.

Exit status: 0 passed, 1 failed, 77 skipped (Chromium is not installed).
"""
import argparse
import http.client
import http.server
import json
import os
import re
import socket
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

import headless_browser

SURVEY = "S261208101500"

# What the browser answers, one page each. The third repeats the first
# address, so Only1Email drops it; the first text holds the end-of-data
# marker of the results reply.
BROWSER = [
    {"email": "ann@example.org", "qvx2": "1", "qvx7": "45",
     "qvx10": "Line one\n</DATA>\nLine two"},
    {"email": "bea@example.org", "qvx2": "0", "qvx7": "130", "qvx10": "Plain"},
    {"email": "ann@example.org", "qvx2": "2", "qvx7": "3", "qvx10": "Again"},
]

DRIVER = r"""<!DOCTYPE html>
<html><body>
<iframe id="survey" style="width:900px;height:700px"></iframe>
<script>
const answers = ANSWERS;
const frame = document.getElementById('survey');
const loaded = () => new Promise(r => frame.addEventListener('load', r, {once: true}));
(async () => {
  for (const a of answers) {
    let wait = loaded();
    frame.src = '/page.htm';
    await wait;
    const d = frame.contentDocument;
    d.getElementsByName('QVXEMAILADDRESS')[0].value = a.email;
    [...d.getElementsByName('qvx2')].find(e => e.value === a.qvx2).click();
    d.getElementsByName('qvx7')[0].value = a.qvx7;
    d.getElementsByName('qvx10')[0].value = a.qvx10;
    wait = loaded();
    d.querySelector('[type=submit]').click();
    await wait;  // the collector sends the browser on to the result page
  }
  await fetch('/done', {method: 'POST', body: 'done'});
})();
</script>
</body></html>
"""


class Web:
    """The driver and survey pages, and the result page the collector redirects to."""

    def __init__(self, page):
        self.page, self.thanks, self.done = page, 0, threading.Event()
        web = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def log_message(self, *args):
                pass

            def reply(self, body, status=200):
                self.send_response(status)
                self.send_header("Content-Type", "text/html; charset=utf-8")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def do_GET(self):
                path = urllib.parse.urlsplit(self.path).path
                if path == "/page.htm":
                    self.reply(web.page)
                elif path == "/driver.html":
                    self.reply(DRIVER.replace("ANSWERS", json.dumps(BROWSER)).encode())
                elif path == "/thanks":
                    web.thanks += 1
                    self.reply(b"<html><body>Thanks</body></html>")
                else:
                    self.reply(b"not here", 404)

            def do_POST(self):
                self.rfile.read(int(self.headers.get("Content-Length", "0")))
                if self.path == "/done":
                    web.done.set()
                self.reply(b"ok")

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.port = self.server.server_port


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def post(port, source, email, qvx2="1", qvx7="20"):
    """One submission sent from the loopback address `source`."""
    body = urllib.parse.urlencode({"QVXSURVEYFILE": SURVEY, "QVXACCOUNTID": "facilities",
                                   "QVXEMAILADDRESS": email, "qvx2": qvx2, "qvx7": qvx7})
    conn = http.client.HTTPConnection("127.0.0.1", port, timeout=10, source_address=(source, 0))
    conn.request("POST", "/qvx", body, {"Content-Type": "application/x-www-form-urlencoded",
                                        "User-Agent": "e2e-poster"})
    status = conn.getresponse().status
    conn.close()
    if status != 200:
        raise RuntimeError(f"post from {source} answered {status}")


class Model:
    """The collection rules applied to the submissions in the order they arrived."""

    def __init__(self):
        self.rows = []

    def fetch(self, submissions, only_ip, only_email):
        added = eliminated = 0
        for s in submissions:
            if ((only_ip and any(r["ip"] == s["ip"] for r in self.rows)) or
                    (only_email and any(r["email"] == s["email"] for r in self.rows))):
                eliminated += 1
            else:
                self.rows.append(s)
                added += 1
        return [f"New responses: {added}", f"Responses eliminated: {eliminated}",
                f"Total responses: {len(self.rows)}"]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--collector", required=True)
    parser.add_argument("--source", required=True)
    args = parser.parse_args()
    chromium = headless_browser.find_chromium()
    if not chromium:
        return headless_browser.SKIPPED

    failures = []
    with tempfile.TemporaryDirectory() as work:
        env = dict(os.environ, QUORVANT_CONFIG_DIR=os.path.join(work, "config"))
        port = free_port()
        collector = subprocess.Popen([args.collector, "--listen", f"127.0.0.1:{port}",
                                      "--db", os.path.join(work, "c.db")],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        web = None
        try:
            for _ in range(100):
                try:
                    socket.create_connection(("127.0.0.1", port), timeout=1).close()
                    break
                except OSError:
                    time.sleep(0.1)

            def cli(*words, check=True):
                r = subprocess.run([args.cli, *words], env=env, capture_output=True, text=True)
                if check and r.returncode != 0:
                    raise RuntimeError(f"quorvant-cli {words[0]} failed:\n{r.stdout}{r.stderr}")
                return r

            survey = os.path.join(work, "survey.qvx")
            text = open(os.path.join(args.source, "data/examples/example.qvx"),
                        newline="").read()
            web = Web(b"")
            for key, value in {"ServerURL": f"http://127.0.0.1:{port}/qvx",
                               "ResultURL": f"http://127.0.0.1:{web.port}/thanks",
                               "Only1Email": "1", "Only1IP": "0"}.items():
                text = re.sub(rf"(?m)^{key}=.*$", f"{key}={value}", text)
            open(survey, "w", newline="").write(text)
            cli("register", survey)
            page = os.path.join(work, "page.htm")
            cli("page", survey, page, "--data-dir", os.path.join(work, "data"))
            web.page = open(page, "rb").read()

            model = Model()
            first = [{"ip": "127.0.0.1", **a} for a in BROWSER]
            if not headless_browser.run_until(
                    chromium, f"http://127.0.0.1:{web.port}/driver.html",
                    tempfile.mkdtemp(dir=work),
                    lambda: web.done.wait(120)) or web.thanks != len(BROWSER):
                raise RuntimeError(f"the browser submitted {web.thanks} of {len(BROWSER)}")
            others = [("127.0.0.2", "cid@example.org"), ("127.0.0.3", "bea@example.org"),
                      ("127.0.0.2", "dan@example.org")]
            for source, email in others:
                post(port, source, email)
                first.append({"ip": source, "email": email, "qvx2": "1", "qvx7": "20",
                              "qvx10": ""})

            def fetch(expected, label):
                time.sleep(1.2)  # the collector hands out only seconds that have passed
                r = cli("fetch", survey, check=False)
                counts = [l for l in r.stdout.splitlines() if re.match(r"(New|Total) resp|Resp", l)]
                if r.returncode != 0 or counts != expected:
                    failures.append(f"{label}: expected {expected}, got (exit "
                                    f"{r.returncode}):\n{r.stdout}{r.stderr}")

            fetch(model.fetch(first, False, True), "first fetch")
            # Now one response per address too.
            text = open(survey, newline="").read()
            open(survey, "w", newline="").write(re.sub(r"(?m)^Only1IP=.*$", "Only1IP=1", text))
            second = [("127.0.0.3", "eve@example.org"), ("127.0.0.2", "fay@example.org"),
                      ("127.0.0.4", "cid@example.org"), ("127.0.0.1", "gus@example.org")]
            batch = []
            for source, email in second:
                post(port, source, email)
                batch.append({"ip": source, "email": email, "qvx2": "1", "qvx7": "20",
                              "qvx10": ""})
            fetch(model.fetch(batch, True, True), "second fetch")
            fetch(model.fetch([], True, True), "third fetch")

            table = re.search(r"(?m)^SRResponseFile=(.*)$", open(survey).read()).group(1)
            names = [l.split()[0] for l in cli("table", "info", table).stdout.splitlines()
                     if l.startswith("  ") and not l.strip()[0].isdigit()]
            rows = [dict(zip(names, l.split("\t")))
                    for l in cli("table", "dump", table).stdout.splitlines()]
            got = [(r["REMOTEIP"], r["EMAIL"], r["QVX2"], r["QVX7"], r["QVX10"]) for r in rows]
            want = [(s["ip"], s["email"], s["qvx2"],
                     s["qvx7"] if int(s["qvx7"]) <= 120 else "-9999",
                     s["qvx10"].replace("\n", "\\n")) for s in model.rows]
            if got != want:
                failures.append(f"table holds\n  {got}\nexpected\n  {want}")
            agents = {r["REMOTEIP"]: r["AGENT"] for r in rows}
            if "Chrome" not in agents.get("127.0.0.1", "") or agents.get("127.0.0.2") != "e2e-poster":
                failures.append(f"browser identifications: {agents}")
        except RuntimeError as e:
            failures.append(str(e))
        finally:
            collector.terminate()
            collector.wait(20)
            if web:
                web.server.shutdown()
    for failure in failures:
        print("FAILED:", failure)
    if not failures:
        print("passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
