#!/usr/bin/env python3
"""End-to-end test of the survey page in a real browser.

Generates the example survey's page through each shipped display template
with quorvant-cli, opens it in headless Chromium inside a driver page served
from a loopback HTTP server started here, follows a skip link, fills in one
answer of every kind, submits the form to the same server and checks that the
posted names and values are exactly the page's input contract.

Exit status: 0 passed, 1 failed, 77 skipped (Chromium is not installed).
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import urllib.parse

import headless_browser
import page_server

TEMPLATES = ("default.qvg", "compact.qvg", "guided.qvg")
RESULT_URL = "http://127.0.0.1/thanks"

# The driver loads the generated page in a frame of the same origin, so that
# its script can act on the page as a respondent would while the page itself
# stays exactly as generated.
DRIVER = r"""<!DOCTYPE html>
<html><body>
<iframe id="survey" src="/page.htm" style="width:900px;height:700px"></iframe>
<script>
const frame = document.getElementById('survey');
const sleep = ms => new Promise(r => setTimeout(r, ms));
frame.addEventListener('load', async function once() {
  frame.removeEventListener('load', once);
  const w = frame.contentWindow, d = frame.contentDocument;
  const report = {};
  try {
    const link = [...d.querySelectorAll('a')].find(a => a.textContent === 'If Never then go to 2');
    report.linkHref = link ? link.getAttribute('href') : null;
    link.click();
    // Wait until the jump (smooth in some templates) has come to rest.
    let last = null;
    for (let i = 0; i < 50; ++i) {
      await sleep(100);
      if (w.scrollY === last) break;
      last = w.scrollY;
    }
    report.hash = w.location.hash;
    const anchor = d.getElementsByName(w.location.hash.slice(1))[0];
    report.anchorTop = anchor ? Math.round(anchor.getBoundingClientRect().top) : null;
    const walker = d.createTreeWalker(d.body, NodeFilter.SHOW_TEXT);
    walker.currentNode = anchor;
    let text = walker.nextNode();
    while (text && !text.textContent.trim()) text = walker.nextNode();
    report.textAfterAnchor = text ? text.textContent.trim() : null;

    const pick = (name, value) =>
      [...d.getElementsByName(name)].find(e => e.value === value).click();
    const type = (name, value) => { d.getElementsByName(name)[0].value = value; };
    type('QVXEMAILADDRESS', 'ann@example.org');
    pick('qvx2', '1');
    pick('qvx3-0', '1');
    pick('qvx3-2', '1');
    pick('qvx3', 'Other');
    type('qvx3Other', 'Soup');
    pick('qvx4', '4');
    d.getElementsByName('qvx5')[0].value = '2';
    type('qvx7', '45');
    type('qvx8', 'Finance & Control');
    pick('qvx9', 'Other');
    type('qvx9Other', 'Maybe');
    type('qvx10', 'Line one\nLine two \u00fc');
    pick('qvx11', '0');
  } catch (e) {
    report.error = String(e);
  }
  await fetch('/report', {method: 'POST', body: JSON.stringify(report)});
  d.querySelector('[type=submit]').click();
});
</script>
</body></html>
"""

EXPECTED_POST = sorted([
    ("QVXSURVEYFILE", "S261208101500"),
    ("QVXACCOUNTID", "NA"),
    ("QVXRESULTURL", RESULT_URL),
    ("QVXEMAILADDRESS", "ann@example.org"),
    ("qvx2", "1"),
    ("qvx3-0", "1"),
    ("qvx3-2", "1"),
    ("qvx3", "Other"),
    ("qvx3Other", "Soup"),
    ("qvx4", "4"),
    ("qvx5", "2"),
    ("qvx7", "45"),
    ("qvx8", "Finance & Control"),
    ("qvx9", "Other"),
    ("qvx9Other", "Maybe"),
    ("qvx10", "Line one\r\nLine two \u00fc"),
    ("qvx11", "0"),
])

# The skip link of the example's first question: "Never" skips questions
# 1a to 1c, so it leads to the anchor before the fifth question on the page,
# which the "About you" header directly follows.
EXPECTED_REPORT = {
    "linkHref": "#Question5",
    "hash": "#Question5",
    "anchorTop": 0,
    "textAfterAnchor": "About you",
}


def prepare_survey(source, path, template, port):
    text = open(os.path.join(source, "data/examples/example.qvx"), newline="").read()
    replacements = {
        "DisplayTemplate": template,
        "ServerURL": f"http://127.0.0.1:{port}/submit",
        "ResultURL": RESULT_URL,
        "Only1Email": "1",
    }
    for key, value in replacements.items():
        text = re.sub(rf"(?m)^{key}=.*$", f"{key}={value}", text)
    with open(path, "w", newline="") as f:
        f.write(text)


def check_template(args, chromium, work, port, exchange, template):
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
    failures = []
    if exchange.report != EXPECTED_REPORT:
        failures.append(f"{template}: skip link: expected {EXPECTED_REPORT}, got {exchange.report}")
    if exchange.content_type != "application/x-www-form-urlencoded":
        failures.append(f"{template}: posted as {exchange.content_type}")
    posted = sorted(urllib.parse.parse_qsl(exchange.post.decode("ascii"),
                                           keep_blank_values=True, strict_parsing=True))
    if posted != EXPECTED_POST:
        failures.append(f"{template}: posted\n  {posted}\nexpected\n  {EXPECTED_POST}")
    return failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--source", required=True)
    args = parser.parse_args()
    chromium = headless_browser.find_chromium()
    if not chromium:
        return headless_browser.SKIPPED

    exchange = page_server.Exchange()
    server = page_server.start(exchange, DRIVER)
    failures = []
    with tempfile.TemporaryDirectory() as work:
        try:
            for template in TEMPLATES:
                failures += check_template(args, chromium, work, server.server_port, exchange,
                                           template)
        finally:
            server.shutdown()
    for failure in failures:
        print("FAILED:", failure)
    if not failures:
        print(f"passed: {', '.join(TEMPLATES)}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
