"""The run shared by the survey page tests: a loopback HTTP server serves the
generated page and a driver page that loads it in a frame, headless Chromium
opens the driver, and what the driver reports and what the form posts are
handed to the waiting test."""
import argparse
import http.server
import json
import os
import subprocess
import tempfile
import threading
import urllib.parse

import headless_browser


def driver(script):
    """The driver page: it loads the generated page in a frame of the same
    origin, so that its script can act on the page as a respondent would while
    the page itself stays exactly as generated. `script` runs once the page
    has loaded, with the page's window `w`, its document `d` and the object
    `report`; then the report is posted to /report (with `error` set when the
    script threw) and the page's submit button is clicked."""
    return r"""<!DOCTYPE html>
<html><body>
<iframe id="survey" src="/page.htm" style="width:900px;height:700px"></iframe>
<script>
const frame = document.getElementById('survey');
frame.addEventListener('load', async function once() {
  frame.removeEventListener('load', once);
  const w = frame.contentWindow, d = frame.contentDocument;
  const report = {};
  try {
""" + script + r"""  } catch (e) {
    report.error = String(e);
  }
  await fetch('/report', {method: 'POST', body: JSON.stringify(report)});
  d.querySelector('[type=submit]').click();
});
</script>
</body></html>
"""


class Exchange:
    """What the browser sent, handed from the server thread to the test."""

    def __init__(self):
        self.page = b""
        self.lock = threading.Condition()
        self.report = None
        self.post = None
        self.content_type = None

    def reset(self, page):
        with self.lock:
            self.page, self.report, self.post = page, None, None

    def wait(self, timeout):
        with self.lock:
            self.lock.wait_for(lambda: self.post is not None, timeout)
            return self.post is not None


def make_handler(exchange, driver):
    """Serves /page.htm and /driver.html (the text `driver`); takes the
    driver's report at /report and the form's submission at /submit."""
    class Handler(http.server.BaseHTTPRequestHandler):
        def log_message(self, *args):
            pass

        def reply(self, body, content_type="text/html; charset=utf-8", status=200):
            self.send_response(status)
            self.send_header("Content-Type", content_type)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def do_GET(self):
            if self.path == "/page.htm":
                self.reply(exchange.page)
            elif self.path == "/driver.html":
                self.reply(driver.encode())
            else:
                self.reply(b"not here", "text/plain", 404)

        def do_POST(self):
            body = self.rfile.read(int(self.headers.get("Content-Length", "0")))
            with exchange.lock:
                if self.path == "/report":
                    exchange.report = json.loads(body)
                elif self.path == "/submit":
                    exchange.content_type = self.headers.get("Content-Type")
                    exchange.post = body
                exchange.lock.notify_all()
            self.reply(b"<html><body>Thank you</body></html>")

    return Handler


def start(exchange, driver):
    """A running server on a free loopback port; shut it down when done."""
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), make_handler(exchange, driver))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def post_failures(template, exchange, expected):
    """[] when the form posted exactly the sorted (name, value) pairs
    `expected`, else the line that says what it posted."""
    posted = sorted(urllib.parse.parse_qsl(exchange.post.decode("ascii"),
                                           keep_blank_values=True, strict_parsing=True))
    if posted == expected:
        return []
    return [f"{template}: posted\n  {posted}\nexpected\n  {expected}"]


def _check_template(args, chromium, work, port, exchange, template, prepare_survey, judge):
    name = template.split(".")[0]
    survey, page = os.path.join(work, f"{name}.qvx"), os.path.join(work, f"{name}.htm")
    prepare_survey(args.source, survey, template, port)
    env = dict(os.environ, QUORVANT_CONFIG_DIR=os.path.join(work, "config"))
    subprocess.run([args.cli, "page", survey, page, "--data-dir", os.path.join(work, "data")],
                   check=True, env=env, stdout=subprocess.DEVNULL)
    exchange.reset(open(page, "rb").read())
    profile = tempfile.mkdtemp(dir=work)
    if not headless_browser.run_until(chromium, f"http://127.0.0.1:{port}/driver.html", profile,
                                      lambda: exchange.wait(90)):
        return [f"{template}: the browser submitted nothing within 90 seconds "
                f"(driver report: {exchange.report})"]
    return judge(template, exchange)


def run(driver, templates, prepare_survey, judge):
    """The whole test, with --cli and --source from the command line: for each
    display template, prepare_survey(source, path, template, port) writes the
    survey file, quorvant-cli writes its page, the browser runs `driver`
    until the form is posted, and judge(template, exchange) lists what went
    wrong. Returns the exit status: 0 passed, 1 failed, 77 skipped."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--source", required=True)
    args = parser.parse_args()
    chromium = headless_browser.find_chromium()
    if not chromium:
        return headless_browser.SKIPPED

    exchange = Exchange()
    server = start(exchange, driver)
    failures = []
    with tempfile.TemporaryDirectory() as work:
        try:
            for template in templates:
                failures += _check_template(args, chromium, work, server.server_port, exchange,
                                            template, prepare_survey, judge)
        finally:
            server.shutdown()
    for failure in failures:
        print("FAILED:", failure)
    if not failures:
        print(f"passed: {', '.join(templates)}")
    return 1 if failures else 0
