#!/usr/bin/env python3
"""The Debian packages, made from a build tree by scripts/package.sh and
installed into a throw-away root.

- Both packages are made, named NAME_VERSION_ARCH.deb; the version is the
  one every installed program's --version prints; the collector's package
  depends on no desktop library, the desktop package on Qt (dependencies
  computed from the binaries).
- lintian finds no error in either, and no warning besides the ones kept
  below with their reason.
- In the root (its share/ first in XDG_DATA_DIRS, the caches refreshed as
  the packages' triggers do): xdg-mime (through File::MimeInfo and through
  GIO) gives the survey type for example.qvx and for a survey file without
  the extension, and leaves an e-mail list .eml to the mail type;
  `xdg-mime query default` gives our desktop entry; the icon resolves
  through GTK's icon theme lookup at every installed size; the installed
  quorvant-cli runs a command of its own and one of its helper's;
  quorvant-collector --help runs; the desktop program, started as the desktop
  entry's Exec line starts it with the example survey, shows its window.

Exit status: 0 passed, 1 failed, 77 skipped (a tool missing).
"""
import argparse
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile
import time

ENTRY_ID = "org.quorvant.Quorvant"
SURVEY_TYPE = "application/x-quorvant-survey"
# Debian's Python, which has the GTK bindings (another python3 may come first
# on PATH).
SYSTEM_PYTHON = "/usr/bin/python3"
TOOLS = ("lintian", "dpkg-deb", "xvfb-run", "xdotool", "xprop", "xdg-mime", "mimetype", "gio",
         "update-mime-database", "update-desktop-database", "cpack")

# Warnings that lintian gives and that stay, with the reason (none so far).
KEPT_WARNINGS = {}


def run(command, **kwargs):
    kwargs.setdefault("timeout", 300)
    return subprocess.run(command, capture_output=True, text=True, **kwargs)


class Check:
    def __init__(self):
        self.failures = []

    def expect(self, condition, what):
        if condition:
            print("ok: " + what)
        else:
            self.failures.append(what)
            print("FAIL: " + what)
        return condition


def build_packages(args, out):
    started = time.monotonic()
    made = run([os.path.join(args.source, "scripts/package.sh"), "--build-dir", args.build_dir,
                "--out", out], timeout=800)
    print("package.sh took %.1f s" % (time.monotonic() - started))
    if made.returncode != 0:
        print(made.stdout + made.stderr)
        return {}
    debs = {}
    for path in made.stdout.split():
        name = run(["dpkg-deb", "-f", path, "Package"]).stdout.strip()
        debs[name] = path
    return debs


def control(deb, field):
    return run(["dpkg-deb", "-f", deb, field]).stdout.strip()


def check_control(check, debs):
    version = control(debs["quorvant"], "Version")
    arch = control(debs["quorvant"], "Architecture")
    for name, deb in sorted(debs.items()):
        check.expect(os.path.basename(deb) == "%s_%s_%s.deb" % (name, version, arch),
                     "%s is named %s_%s_%s.deb" % (os.path.basename(deb), name, version, arch))
    desktop_depends = control(debs["quorvant"], "Depends")
    collector_depends = control(debs["quorvant-collector"], "Depends")
    check.expect("libqt6widgets6" in desktop_depends and "libc6" in desktop_depends,
                 "the desktop package depends on Qt and libc, from its binaries: "
                 + desktop_depends)
    check.expect("libmicrohttpd" in collector_depends and "libpq" in collector_depends
                 and not re.search(r"qt6|libgl|libx11|libsecret|libcurl", collector_depends),
                 "the collector's package depends on its server libraries and no desktop "
                 "library: " + collector_depends)
    return version


def check_lintian(check, debs):
    for name, deb in sorted(debs.items()):
        started = time.monotonic()
        result = run(["lintian", "--no-cfg", "--tag-display-limit", "0", deb], timeout=600)
        print("lintian %s took %.1f s" % (name, time.monotonic() - started))
        tags = re.findall(r"^([EW]): \S+: (\S+)(.*)$", result.stdout, re.M)
        errors = ["%s%s" % (tag, rest) for kind, tag, rest in tags if kind == "E"]
        warnings = ["%s%s" % (tag, rest) for kind, tag, rest in tags
                    if kind == "W" and tag not in KEPT_WARNINGS]
        check.expect(not errors, "lintian %s: no error %s" % (name, errors))
        check.expect(not warnings, "lintian %s: no warning but the kept ones %s" % (name, warnings))
        for kind, tag, rest in tags:
            if kind == "W" and tag in KEPT_WARNINGS:
                print("kept warning: %s%s (%s)" % (tag, rest, KEPT_WARNINGS[tag]))


def install_root(debs, root):
    for deb in debs.values():
        run(["dpkg-deb", "-x", deb, root], check=True)
    share = os.path.join(root, "usr/share")
    # What the triggers of shared-mime-info and desktop-file-utils do.
    run(["update-mime-database", os.path.join(share, "mime")], check=True)
    run(["update-desktop-database", os.path.join(share, "applications")], check=True)


def environment(root, home, with_root=True):
    share = os.path.join(root, "usr/share")
    return dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                XDG_DATA_HOME=os.path.join(home, ".local/share"),
                XDG_CONFIG_DIRS=os.path.join(home, "etc-xdg"),
                XDG_DATA_DIRS=(share + ":" if with_root else "") + "/usr/share",
                PATH=os.path.join(root, "usr/bin") + ":" + os.environ["PATH"],
                ASAN_OPTIONS="detect_leaks=0", QUORVANT_CONFIG_DIR=os.path.join(home, "config"))


def file_type(path, env, desktop):
    env = dict(env, XDG_CURRENT_DESKTOP=desktop)
    return run(["xdg-mime", "query", "filetype", path], env=env).stdout.strip().split(";")[0]


def check_mime(check, root, home, work):
    env = environment(root, home)
    example = os.path.join(work, "example.qvx")
    shutil.copy(os.path.join(root, "usr/share/quorvant/examples/example.qvx"), example)
    unnamed = os.path.join(work, "survey-without-extension")
    shutil.copy(example, unnamed)
    email_list = os.path.join(work, "people.eml")
    made = run(["quorvant-cli", "emaillist", "new", email_list], env=env)
    check.expect(made.returncode == 0, "installed quorvant-cli emaillist new " + made.stderr)
    # The generic desktop asks File::MimeInfo, GNOME asks GIO.
    for desktop in ("", "GNOME"):
        how = "xdg-mime query filetype (%s)" % (desktop or "generic")
        got = file_type(example, env, desktop)
        check.expect(got == SURVEY_TYPE, "%s example.qvx: %s" % (how, got))
        got = file_type(unnamed, env, desktop)
        check.expect(got == SURVEY_TYPE, "%s of a survey without .qvx, by content: %s" % (how, got))
        got = file_type(email_list, env, desktop)
        check.expect(got != "" and "quorvant" not in got,
                     "%s people.eml stays the mail program's: %s" % (how, got))
    got = file_type(example, environment(root, home, with_root=False), "")
    check.expect(got != SURVEY_TYPE, "without the root, example.qvx is not a survey: %s" % got)
    got = run(["xdg-mime", "query", "default", SURVEY_TYPE], env=env).stdout.strip()
    check.expect(got == ENTRY_ID + ".desktop", "xdg-mime query default %s: %s" % (SURVEY_TYPE, got))
    return example


ICON_LOOKUP = """
import sys, gi
gi.require_version("Gtk", "3.0")
from gi.repository import Gtk
theme = Gtk.IconTheme.get_default()
for size in map(int, sys.argv[2:]):
    info = theme.lookup_icon(sys.argv[1], size, 0)
    print(size, info.get_filename() if info else "")
"""


def check_icon(check, root, home):
    icons = os.path.join(root, "usr/share/icons/hicolor")
    sizes = sorted(int(d.split("x")[0]) for d in os.listdir(icons) if re.match(r"^\d+x\d+$", d))
    check.expect(sizes and os.path.exists(os.path.join(icons, "scalable/apps", ENTRY_ID + ".svg")),
                 "icon installed as SVG and PNG sizes %s" % sizes)
    result = run([SYSTEM_PYTHON, "-c", ICON_LOOKUP, ENTRY_ID] + [str(s) for s in sizes],
                 env=environment(root, home))
    found = dict(line.split(" ", 1) for line in result.stdout.splitlines())
    for size in sizes:
        wanted = os.path.join(icons, "%dx%d/apps/%s.png" % (size, size, ENTRY_ID))
        check.expect(found.get(str(size)) == wanted,
                     "GTK's icon theme finds %s at %d: %s %s" %
                     (ENTRY_ID, size, found.get(str(size)), result.stderr.strip()[-300:]))


def check_programs(check, root, home, work, version, example):
    env = environment(root, home)
    number = re.escape(version.rsplit(".", 1)[0]) + r"  \(Build " + version.rsplit(".", 1)[1] + r"\)"
    for program in ("quorvant", "quorvant-cli", "quorvant-collector"):
        path = shutil.which(program, path=env["PATH"])
        check.expect(path == os.path.join(root, "usr/bin", program), "%s is installed" % program)
        out = run([path, "--version"], env=env).stdout.strip()
        check.expect(re.fullmatch(program + " " + number, out) is not None,
                     "installed %s --version prints the package version %s: %r"
                     % (program, version, out))
    result = run(["quorvant-collector", "--help"], env=env)
    check.expect(result.returncode == 0 and "--listen" in result.stdout,
                 "installed quorvant-collector --help")
    result = run(["quorvant-cli", "show", example], env=env)
    check.expect(result.returncode == 0 and "1) How often do you eat" in result.stdout,
                 "installed quorvant-cli show " + result.stderr)
    pdf = os.path.join(work, "questionnaire.pdf")
    result = run(["quorvant-cli", "print", example, pdf], env=dict(env, QT_QPA_PLATFORM="offscreen"))
    check.expect(result.returncode == 0 and open(pdf, "rb").read(5) == b"%PDF-",
                 "installed quorvant-cli print, through its installed helper " + result.stderr)


def survey_name(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return re.search(r"^Name=(.*?)\r?$", f.read(), re.M).group(1)


def check_window(check, root, home, example):
    env = dict(environment(root, home), QT_QPA_PLATFORM="xcb")
    with open(os.path.join(root, "usr/share/applications", ENTRY_ID + ".desktop")) as f:
        entry = f.read()
    exec_line = re.search(r"^Exec=(.*)$", entry, re.M).group(1)
    command = [example if word == "%f" else word for word in shlex.split(exec_line)]
    title = "Quorvant - " + survey_name(example)
    program = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        window = None
        end = time.monotonic() + 120
        while window is None and time.monotonic() < end and program.poll() is None:
            found = run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % re.escape(title)],
                        env=env).stdout.split()
            window = found[0] if found else None
            time.sleep(0.3)
        check.expect(window is not None, "Exec=%s with the example shows the window %r"
                     % (exec_line, title))
        if window:
            wm_class = run(["xprop", "-id", window, "WM_CLASS"], env=env).stdout
            wanted = re.search(r"^StartupWMClass=(.*)$", entry, re.M).group(1)
            check.expect(wm_class.strip().endswith('"%s"' % wanted), "its window class is the "
                         "desktop entry's StartupWMClass %s: %s" % (wanted, wm_class.strip()))
    finally:
        program.terminate()
        try:
            program.wait(timeout=30)
        except subprocess.TimeoutExpired:
            program.kill()
    leftover = os.path.join(home, ".local/share/applications", ENTRY_ID + ".desktop")
    check.expect(not os.path.exists(leftover),
                 "the installed program writes no per-user desktop entry over the installed one")


def missing_tools():
    missing = [t for t in TOOLS if shutil.which(t) is None]
    if run([SYSTEM_PYTHON, "-c", "import gi; gi.require_version('Gtk', '3.0')"]).returncode:
        missing.append("python3-gi with gir1.2-gtk-3.0")
    return missing


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--source", required=True)
    args = parser.parse_args()
    missing = missing_tools()
    if missing:
        print("skipped: not installed: " + ", ".join(missing))
        return 77
    if os.environ.get("QUORVANT_PACKAGE_TEST_DISPLAY") != "1":
        # A display of its own, for the window and for GTK's icon lookup.
        env = dict(os.environ, QUORVANT_PACKAGE_TEST_DISPLAY="1")
        command = ["xvfb-run", "-a", "-s", "-screen 0 1280x900x24", sys.executable, *sys.argv]
        return subprocess.run(command, env=env).returncode
    check = Check()
    with tempfile.TemporaryDirectory() as tmp:
        debs = build_packages(args, os.path.join(tmp, "debs"))
        if not check.expect(sorted(debs) == ["quorvant", "quorvant-collector"],
                            "package.sh made quorvant and quorvant-collector: %s" % sorted(debs)):
            return 1
        version = check_control(check, debs)
        check_lintian(check, debs)
        root, home, work = (os.path.join(tmp, d) for d in ("root", "home", "work"))
        for folder in (root, home, work):
            os.makedirs(folder)
        install_root(debs, root)
        example = check_mime(check, root, home, work)
        check_icon(check, root, home)
        check_programs(check, root, home, work, version, example)
        check_window(check, root, home, example)
    print("%d checks failed" % len(check.failures))
    return 1 if check.failures else 0


if __name__ == "__main__":
    sys.exit(main())
