"""Headless Chromium for the end-to-end tests."""
import os
import shutil
import signal
import subprocess


SKIPPED = 77  # the exit status CTest takes for a skipped test


def find_chromium():
    """The browser's path, or None after saying that the test is skipped."""
    chromium = shutil.which("chromium") or shutil.which("chromium-browser")
    if not chromium:
        print("SKIPPED: chromium is not installed (scripts/bootstrap.sh installs it)")
    return chromium


def run_until(chromium, url, profile, finished):
    """Opens url in headless Chromium with its own profile folder, returns what
    finished() returns (it waits for the page's work), and ends the browser."""
    command = [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
               "--no-first-run", "--disable-background-networking",
               "--disable-component-update", "--disable-sync", f"--user-data-dir={profile}",
               url]
    browser = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               start_new_session=True)
    try:
        return finished()
    finally:
        os.killpg(browser.pid, signal.SIGTERM)
        try:
            browser.wait(20)
        except subprocess.TimeoutExpired:
            os.killpg(browser.pid, signal.SIGKILL)
            browser.wait()
