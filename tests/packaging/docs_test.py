#!/usr/bin/env python3
"""The manual pages, the bash completion and the desktop files against the
programs they describe.

- Each manual page renders with `groff -ww` and `man -l` without a warning.
- quorvant-cli's man page has an entry for every command (and subcommand)
  that `quorvant-cli --help` lists, naming the same options, and no entry
  for a command that --help does not list; the same for the options of
  quorvant and quorvant-collector against their --help.
- The bash completion, run in bash as the shell runs it, offers exactly the
  commands, subcommands and options of --help, and for file arguments the
  files of the extensions that the command's synopsis names.
- desktop-file-validate and `appstreamcli validate --no-net` pass without a
  remark.

Exit status: 0 passed, 1 failed, 77 skipped (groff, man, bash-completion,
desktop-file-validate or appstreamcli missing).
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

OPTION = re.compile(r"--[a-z][a-z-]*")
COMPLETION_LIBRARY = "/usr/share/bash-completion/bash_completion"


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, timeout=60, **kwargs)


def help_entries(cli):
    """{entry: (options, extensions)} from `quorvant-cli --help`, an entry
    being a command or "command subcommand"."""
    text = run([cli, "--help"]).stdout
    entries = {}
    for line in text.splitlines():
        match = re.match(r"^  (\S+) ?(.*)$", line)
        if not match:
            continue
        name, synopsis = match.groups()
        alternatives = synopsis.split(" | ")
        if len(alternatives) > 1 and all(re.match(r"^[a-z]+( |$)", a) for a in alternatives):
            for alternative in alternatives:
                sub, _, rest = alternative.partition(" ")
                entries[name + " " + sub] = parse_synopsis(rest)
        else:
            entries[name] = parse_synopsis(synopsis)
    return entries


def parse_synopsis(synopsis):
    options = set(OPTION.findall(synopsis))
    extensions = set()
    for group in re.findall(r"\.\(([a-z|]+)\)", synopsis):
        extensions.update(group.split("|"))
    extensions.update(re.findall(r"[A-Za-z]\.([a-z]{2,4})\b", synopsis))
    return options, extensions


def roff_text(line):
    return re.sub(r"\\f[BIRP]", "", line).replace("\\-", "-").replace("\\(bu", "")


def man_section(path, name):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    match = re.search(r"^\.SH %s\n(.*?)(?=^\.SH )" % re.escape(name), text, re.M | re.S)
    return match.group(1) if match else ""


def man_tags(section):
    """The tag line of each .TP entry of a man page section."""
    lines = section.splitlines()
    return [lines[i + 1] for i, line in enumerate(lines[:-1]) if line == ".TP"]


def man_command_entries(path):
    """{entry: options} from the COMMANDS section: each tag starts with the
    command (and subcommand) in bold."""
    entries = {}
    for tag in man_tags(man_section(path, "COMMANDS")):
        match = re.match(r"^\\fB(.+?)\\fR(.*)$", tag)
        if match:
            entries[roff_text(match.group(1))] = set(OPTION.findall(roff_text(match.group(2))))
    return entries


def man_options(path):
    options = set()
    for tag in man_tags(man_section(path, "OPTIONS")):
        options.update(OPTION.findall(roff_text(tag)))
    return options


def check_rendering(pages):
    failures = []
    for page in pages:
        groff = run(["groff", "-ww", "-man", "-Tutf8", "-z", page])
        if groff.returncode != 0 or groff.stderr:
            failures.append("groff -ww %s: %s" % (page, groff.stderr.strip() or groff.returncode))
        man = run(["man", "-l", page], env=dict(os.environ, MANWIDTH="80", MAN_KEEP_STDERR="1"))
        if man.returncode != 0 or man.stderr or "NAME" not in man.stdout:
            failures.append("man -l %s: %s" % (page, man.stderr.strip() or man.returncode))
    return failures


def check_cli_page(entries, page):
    failures = []
    documented = man_command_entries(page)
    for name in sorted(entries.keys() - documented.keys()):
        failures.append("quorvant-cli --help lists the command '%s', but %s has no entry for it "
                        "under COMMANDS (a .TP whose tag starts with \\fB%s\\fR)" %
                        (name, page, name))
    for name in sorted(documented.keys() - entries.keys()):
        failures.append("%s has an entry for the command '%s', which quorvant-cli --help "
                        "does not list" % (page, name))
    for name in sorted(entries.keys() & documented.keys()):
        options = entries[name][0]
        for option in sorted(options - documented[name]):
            failures.append("quorvant-cli --help shows the option %s of '%s', but its entry in "
                            "%s does not" % (option, name, page))
        for option in sorted(documented[name] - options):
            failures.append("%s shows the option %s of '%s', which quorvant-cli --help does "
                            "not" % (page, option, name))
    for option in ("--help", "--version"):
        if option not in man_options(page):
            failures.append("%s: OPTIONS has no entry for %s" % (page, option))
    return failures


def check_program_options(program, page):
    """The options a program's --help lists against its man page's OPTIONS."""
    listed = set(OPTION.findall(run([program, "--help"]).stdout))
    documented = man_options(page)
    name = os.path.basename(program)
    failures = ["%s --help lists %s, but the OPTIONS of %s do not" % (name, o, page)
                for o in sorted(listed - documented)]
    failures += ["%s documents %s under OPTIONS, which %s --help does not list" % (page, o, name)
                 for o in sorted(documented - listed)]
    if not listed:
        failures.append("%s --help listed no option" % name)
    return failures


def complete(script, folder, words):
    """What the completion offers for the command line `words`, whose last
    word is the one being completed."""
    program = (
        'source %s; source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1));'
        'COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}; COMPREPLY=(); _quorvant_cli;'
        'printf "%%s\\n" "${COMPREPLY[@]}"' % COMPLETION_LIBRARY)
    result = run(["bash", "-c", program, "bash", script, "quorvant-cli", *words], cwd=folder)
    return {line for line in result.stdout.splitlines() if line}


def check_completion(entries, script):
    failures = []

    def expect(words, wanted, what):
        with tempfile.TemporaryDirectory() as folder:
            got = complete(script, folder, words)
        if got != wanted:
            failures.append("%s: completing 'quorvant-cli %s' (%s) offers %s, --help says %s"
                            % (script, " ".join(words), what, sorted(got), sorted(wanted)))

    commands = {name.split(" ")[0] for name in entries}
    expect([""], commands | {"--help", "--version"}, "the commands")
    for command in sorted(commands):
        subs = {name.split(" ")[1] for name in entries if name.startswith(command + " ")}
        if subs:
            expect([command, ""], subs, "the subcommands")
    all_extensions = set().union(*(extensions for _, extensions in entries.values()))
    for name, (options, extensions) in sorted(entries.items()):
        words = name.split(" ")
        expect(words + ["--"], options, "the options")
        with tempfile.TemporaryDirectory() as folder:
            for extension in all_extensions:
                open(os.path.join(folder, "file." + extension), "w").close()
            os.mkdir(os.path.join(folder, "folder"))
            got = complete(script, folder, words + [""])
        wanted = {"file." + e for e in extensions} | ({"folder"} if extensions else set())
        if got != wanted:
            failures.append("%s: completing a file for 'quorvant-cli %s' offers %s, the "
                            "synopsis in --help names %s" % (script, name, sorted(got), sorted(wanted)))
    return failures


def check_desktop_files(desktop_entry, metainfo):
    failures = []
    validate = run(["desktop-file-validate", desktop_entry])
    if validate.returncode != 0 or validate.stdout or validate.stderr:
        failures.append("desktop-file-validate: " + (validate.stdout + validate.stderr).strip())
    appstream = run(["appstreamcli", "validate", "--no-net", "--no-color", metainfo])
    remarks = [l for l in appstream.stdout.splitlines() if re.match(r"^[EWI]: ", l)]
    if appstream.returncode != 0 or remarks:
        failures.append("appstreamcli validate --no-net: " + appstream.stdout.strip())
    return failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--program", required=True)
    parser.add_argument("--collector", required=True)
    parser.add_argument("--metainfo", required=True)
    parser.add_argument("--source", required=True)
    args = parser.parse_args()
    missing = [t for t in ("groff", "man", "desktop-file-validate", "appstreamcli")
               if shutil.which(t) is None]
    if not os.path.exists(COMPLETION_LIBRARY):
        missing.append("bash-completion")
    if missing:
        print("skipped: not installed: " + ", ".join(missing))
        return 77

    data = os.path.join(os.path.abspath(args.source), "data")
    man = os.path.join(data, "man")
    pages = [os.path.join(man, p) for p in ("quorvant.1", "quorvant-cli.1", "quorvant-collector.8")]
    entries = help_entries(args.cli)
    failures = []
    if len(entries) < 10:
        failures.append("quorvant-cli --help listed only %s" % sorted(entries))
    failures += check_rendering(pages)
    failures += check_cli_page(entries, pages[1])
    failures += check_program_options(args.program, pages[0])
    failures += check_program_options(args.collector, pages[2])
    failures += check_completion(entries, os.path.join(data, "completion", "quorvant-cli"))
    failures += check_desktop_files(
        os.path.join(data, "desktop", "org.quorvant.Quorvant.desktop"), args.metainfo)
    for failure in failures:
        print("FAIL: " + failure)
    print("%d commands and subcommands checked" % len(entries))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
