#!/usr/bin/env python3
"""End-to-end test of the survey page in a real browser.

Generates the example survey's page through each shipped display template
with quorvant-cli, opens it in headless Chromium inside a driver page served
from a loopback HTTP server started here, follows a skip link, fills in one
answer of every kind, submits the form to the same server and checks that the
posted names and values are exactly the page's input contract.

Exit status: 0 passed, 1 failed, 77 skipped (Chromium is not installed).
"""
import os
import re
import sys

import page_server

TEMPLATES = ("default.qvg", "compact.qvg", "guided.qvg")
RESULT_URL = "http://127.0.0.1/thanks"

# The driver (see page_server.driver) follows a skip link and fills in one
# answer of every kind.
DRIVER = page_server.driver(r"""
    const sleep = ms => new Promise(r => setTimeout(r, ms));
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
""")

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


def judge(template, exchange):
    failures = []
    if exchange.report != EXPECTED_REPORT:
        failures.append(f"{template}: skip link: expected {EXPECTED_REPORT}, got {exchange.report}")
    if exchange.content_type != "application/x-www-form-urlencoded":
        failures.append(f"{template}: posted as {exchange.content_type}")
    return failures + page_server.post_failures(template, exchange, EXPECTED_POST)


if __name__ == "__main__":
    sys.exit(page_server.run(DRIVER, TEMPLATES, prepare_survey, judge))
