#!/usr/bin/env python3
"""End-to-end test of the windows a window manager shows.

Starts the program on a virtual X display managed by openbox, with a survey
named "Window check", and reads each window's title as the window manager
sees it (xdotool getwindowname): the main window, then the dialogs opened
through their menu keys as a user would. Each title must be exactly the
window's own caption, with nothing appended. Once the main window is up,
it must be the program's only window on the screen: the start-up splash
has gone.

Exit status: 0 passed, 1 failed, 77 skipped (no Xvfb, openbox, xdotool, xprop
or xwininfo).
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

SURVEY_NAME = "Window check"
MAIN_TITLE = "Quorvant - " + SURVEY_NAME
# Keys that open a dialog from the main window, and the dialog's caption.
# Alt+H opens the Help menu at the first press, since no button shares it.
DIALOGS = (
    (["alt+s", "p"], "Survey Properties"),
    (["alt+o", "p"], "Preferences"),
    (["alt+q"], "Question Details"),
    (["ctrl+o"], "Open a Survey"),
    (["alt+h", "a"], "About Quorvant"),
)


def xdotool(*args):
    run = subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=20)
    return run.stdout.strip() if run.returncode == 0 else None


def active_title():
    window = xdotool("getactivewindow")
    return xdotool("getwindowname", window) if window else None


def wait_for(predicate, seconds=30):
    """The first true value of predicate() within seconds, or None."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(0.2)
    return None


def wait_for_active(title, seconds=30):
    return wait_for(lambda: active_title() == title, seconds) is not None


def shown_windows(pid):
    """The titles of the program's windows that the window manager keeps on
    the screen (mapped clients whose process is pid)."""
    clients = subprocess.run(["xprop", "-root", "_NET_CLIENT_LIST"], capture_output=True,
                             text=True, timeout=20).stdout
    titles = []
    for window in re.findall(r"0x[0-9a-fA-F]+", clients):
        owner = subprocess.run(["xprop", "-id", window, "_NET_WM_PID"], capture_output=True,
                               text=True, timeout=20).stdout
        state = subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True,
                               timeout=20).stdout
        if owner.strip().endswith("= %d" % pid) and "IsViewable" in state:
            titles.append(xdotool("getwindowname", str(int(window, 16))))
    return titles


def make_survey(source, folder):
    with open(os.path.join(source, "data/examples/example.qvx"), encoding="utf-8") as f:
        text = f.read()
    text = re.sub(r"^Name=.*$", "Name=" + SURVEY_NAME, text, count=1, flags=re.M)
    path = os.path.join(folder, "window.qvx")
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(text)
    return path


def check_titles(args, home):
    failures = []
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
               XDG_DATA_HOME=os.path.join(home, "data"),
               QUORVANT_CONFIG_DIR=os.path.join(home, "config"),
               QT_QPA_PLATFORM="xcb", ASAN_OPTIONS="detect_leaks=0")
    wm = subprocess.Popen(["openbox", "--sm-disable"], env=env, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL)
    app = None
    try:
        # The number of desktops is known only once a window manager runs.
        if wait_for(lambda: xdotool("get_num_desktops")) is None:
            return ["openbox did not start"]
        survey = make_survey(args.source, home)
        app = subprocess.Popen([args.program, survey], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
        if not wait_for_active(MAIN_TITLE, 90):
            return ["main window: expected %r, the active window is %r" %
                    (MAIN_TITLE, active_title())]
        print("ok: " + MAIN_TITLE)
        # The splash is freed when the main window first shows; a moment
        # later nothing but the main window may remain.
        time.sleep(2)
        windows = shown_windows(app.pid)
        if windows != [MAIN_TITLE]:
            failures.append("the program's windows on the screen: %r" % windows)
        else:
            print("ok: the splash has gone")
        for keys, caption in DIALOGS:
            for key in keys:
                xdotool("key", "--clearmodifiers", key)
                time.sleep(0.3)
            if wait_for_active(caption):
                print("ok: " + caption)
            else:
                failures.append("%s: expected %r, the active window is %r" %
                                (" ".join(keys), caption, active_title()))
            xdotool("key", "Escape")
            if not wait_for_active(MAIN_TITLE):
                failures.append("after %r: the main window is not back, the active window is %r"
                                % (caption, active_title()))
                break
    finally:
        for process in (app, wm):
            if process is not None:
                process.terminate()
                try:
                    process.wait(timeout=20)
                except subprocess.TimeoutExpired:
                    process.kill()
    return failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--on-display", action="store_true", help=argparse.SUPPRESS)
    args = parser.parse_args()
    if not args.on_display:
        missing = [t for t in ("xvfb-run", "openbox", "xdotool", "xprop", "xwininfo")
                   if shutil.which(t) is None]
        if missing:
            print("skipped: not installed: " + ", ".join(missing))
            return 77
        # A display of its own, so that nothing else takes the focus.
        return subprocess.run(["xvfb-run", "-a", "-s", "-screen 0 1280x900x24", sys.executable,
                               __file__, "--on-display", "--program", args.program, "--source",
                               args.source]).returncode
    with tempfile.TemporaryDirectory() as home:
        failures = check_titles(args, home)
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
