#!/usr/bin/env python3
"""End-to-end test of quorvant-cli mail and clear-results.

mail: a survey whose notification list holds three people mails them, with
the page attached, through a loopback SMTP server (tests/transfer/smtp_sink.py
on aiosmtpd); --dry-run prints the same messages and leaves the survey file
as it was; a second run sends nothing unless given --again. With a user ID,
the password typed on a terminal (a pty) is not echoed, and it reaches a
STARTTLS server with a self-signed certificate; piped, it is read as well.
mail --reminder: of a list of six, four with responses in the table (one
in other letter case and with blanks around it) and one deleted, exactly the
one left is mailed, the dry run names the same one, and the history says
so; without the page asking for addresses, or before any response was
downloaded, nothing is sent and the message says why. clear-results: against
quorvant-collector, a wrong password is refused (exit 1) and keeps the
submissions; the right one deletes them.

Exit status: 0 passed, 1 failed.
"""
import argparse
import base64
import json
import os
import pty
import re
import select
import socket
import subprocess
import sys
import tempfile
import termios
import time
import urllib.parse
import urllib.request


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_for_port(port):
    for _ in range(100):
        try:
            socket.create_connection(("127.0.0.1", port), timeout=1).close()
            return
        except OSError:
            time.sleep(0.1)
    raise RuntimeError(f"nothing listens on {port}")


def run_on_terminal(argv, env, answer, timeout=90):
    """Runs argv on a pseudo-terminal; once it asks for a password, types
    answer (after the terminal's echo is off, or after three seconds when it
    stays on). Returns (exit status, everything the terminal showed)."""
    pid, fd = pty.fork()
    if pid == 0:
        os.execve(argv[0], argv, env)
    shown = b""
    typed = False
    deadline = time.time() + timeout
    asked_at = None
    while time.time() < deadline:
        if not typed and asked_at is not None:
            echo_off = not termios.tcgetattr(fd)[3] & termios.ECHO
            if echo_off or time.time() - asked_at > 3:
                os.write(fd, answer.encode() + b"\n")
                typed = True
        ready, _, _ = select.select([fd], [], [], 0.1)
        if not ready:
            continue
        try:
            chunk = os.read(fd, 4096)
        except OSError:
            break
        if not chunk:
            break
        shown += chunk
        if asked_at is None and b"Password for" in shown:
            asked_at = time.time()
    else:
        os.kill(pid, 9)
    _, status = os.waitpid(pid, 0)
    os.close(fd)
    return os.waitstatus_to_exitcode(status), shown.decode(errors="replace")


def start_sink(args, out, *options):
    """Starts the loopback SMTP server recording to out; (process, port)."""
    sink = subprocess.Popen(["/usr/bin/python3",
                             os.path.join(args.source, "tests/transfer/smtp_sink.py"), out,
                             *options],
                            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    return sink, int(sink.stdout.readline())


def delete_record(dbf, recno):
    """Sets the deletion mark of record recno (from 1), as the list manager's
    Delete does, and drops the index so that it is built afresh."""
    with open(dbf, "r+b") as f:
        head = f.read(12)
        header_length = int.from_bytes(head[8:10], "little")
        record_length = int.from_bytes(head[10:12], "little")
        f.seek(header_length + (recno - 1) * record_length)
        f.write(b"*")
    cdx = dbf[:-4] + ".cdx"
    if os.path.exists(cdx):
        os.remove(cdx)


def check_reminders(args, work, cli, check, write_settings):
    people = os.path.join(work, "six.csv")
    with open(people, "w") as f:
        f.write("FNAME,LNAME,EMAIL\nAnn,Able,ann@example.org\nBea,Best,bea@example.org\n"
                "Cid,Cole,cid@example.org\nDan,Dorn,dan@example.org\n"
                "Eve,Ezra,eve@example.org\nFay,Finn,fay@example.org\n")
    listfile = os.path.join(work, "six.eml")
    assert cli("emaillist", "new", listfile).returncode == 0
    assert cli("emaillist", "import", listfile, people).returncode == 0
    delete_record(listfile, 5)  # Eve

    survey = os.path.join(work, "reminders.qvx")
    text = open(os.path.join(args.source, "data/examples/example.qvx"), newline="").read()
    # A sampled list: reminders go to everybody who has not answered all the same.
    for key, value in {"NotificationFile": listfile, "AllAddresses": "0",
                       "SamplingPercent": "10", "AttachSurvey": "0", "Only1Email": "0",
                       "Only1IP": "0"}.items():
        text = re.sub(rf"(?m)^{key}=.*$", f"{key}={value}", text)
    open(survey, "w", newline="").write(text)

    got = os.path.join(work, "reminders.jsonl")
    sink, port = start_sink(args, got)
    try:
        write_settings(port)
        r = cli("mail", survey, "--reminder")
        check(r.returncode == 1 and "does not ask for them" in r.stderr,
              f"reminders need the page to ask for the address: {r.returncode} {r.stderr}")
        text = re.sub(r"(?m)^Only1Email=.*$", "Only1Email=1", open(survey, newline="").read())
        open(survey, "w", newline="").write(text)
        r = cli("mail", survey, "--reminder")
        check(r.returncode == 1 and "No responses of this survey have been downloaded" in r.stderr,
              f"reminders need the responses: {r.returncode} {r.stderr}")
        check(not os.path.exists(got) or os.path.getsize(got) == 0, "refused runs send nothing")

        reply = os.path.join(work, "answers.dat")
        answered = ["ann@example.org", "  BEA@Example.ORG ", "cid@example.org",
                    "dan@example.org", "zed@example.org"]
        with open(reply, "w", newline="") as f:
            f.write("<DATA>\r\n")
            for n, address in enumerate(answered, 1):
                f.write(f'RemoteAddr=10.0.0.{n},DateRec=2026010100000{n},'
                        f'"QVXEMAILADDRESS={address}",qvx2=0\r\n')
            f.write("</DATA>\r\n")
        r = cli("incorporate", survey, reply)
        check(r.returncode == 0 and "New responses: 5" in r.stdout,
              f"responses taken in: {r.stdout} {r.stderr}")

        before = open(survey, "rb").read()
        r = cli("mail", survey, "--reminder", "--dry-run")
        check(r.returncode == 0, f"reminder dry run failed: {r.stderr}")
        check(re.findall(r"(?m)^--- message \d+ to (.*)$", r.stdout) == ["fay@example.org"],
              f"the dry run names the one left: {r.stdout}")
        check(open(survey, "rb").read() == before, "the dry run leaves the survey alone")

        r = cli("mail", survey, "--reminder")
        check(r.returncode == 0, f"reminders failed: {r.stdout} {r.stderr}")
        messages = [json.loads(line) for line in open(got)] if os.path.exists(got) else []
        check([m["rcpt_tos"] for m in messages] == [["fay@example.org"]],
              f"reminded: {[m['rcpt_tos'] for m in messages]}")
        saved = open(survey, newline="").read()
        check(": 1 Reminders sent." in saved, "the history records the reminders")
        check(re.search(r"(?m)^EMailStatus=1 Reminders sent on ", saved) is not None,
              "the reminders' outcome saved as the notification status")

        # Reminded once: a second run asks, takes the default No, sends nothing.
        r = cli("mail", survey, "--reminder")
        check(r.returncode == 1 and "reminders of this survey were already mailed: 1 sent on "
              in r.stderr and "--again" in r.stderr, f"second reminder run asks: {r.stderr}")
        check(len(open(got).readlines()) == 1, "the declined run sends nothing")
    finally:
        sink.stdin.close()
        sink.wait(timeout=10)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--collector", required=True)
    parser.add_argument("--source", required=True)
    args = parser.parse_args()
    failures = []

    def check(condition, what):
        if not condition:
            failures.append(what)

    with tempfile.TemporaryDirectory() as work:
        config = os.path.join(work, "config")
        os.makedirs(config)
        env = dict(os.environ, QUORVANT_CONFIG_DIR=config)

        def cli(*words):
            return subprocess.run([args.cli, *words], env=env, capture_output=True, text=True,
                                  stdin=subprocess.DEVNULL, timeout=120)

        people = os.path.join(work, "people.csv")
        with open(people, "w") as f:
            f.write("FNAME,LNAME,EMAIL\nAnn,Able,ann@example.org\n"
                    "Bea,Best,bea@example.org\nCid,Cole,cid@example.org\n")
        listfile = os.path.join(work, "people.eml")
        assert cli("emaillist", "new", listfile).returncode == 0
        assert cli("emaillist", "import", listfile, people).returncode == 0

        survey = os.path.join(work, "survey.qvx")
        page = os.path.join(work, "page.htm")
        text = open(os.path.join(args.source, "data/examples/example.qvx"), newline="").read()
        collector_port = free_port()
        for key, value in {"NotificationFile": listfile, "AllAddresses": "1",
                           "AttachSurvey": "1", "HTMLFileName": page,
                           "ServerURL": f"http://127.0.0.1:{collector_port}/qvx"}.items():
            text = re.sub(rf"(?m)^{key}=.*$", f"{key}={value}", text)
        open(survey, "w", newline="").write(text)
        r = cli("page", survey, page, "--data-dir", os.path.join(work, "data"))
        assert r.returncode == 0, r.stderr
        page_bytes = open(page, "rb").read()

        def write_settings(port):
            with open(os.path.join(config, "QuorvantBuilder.ini"), "w") as f:
                f.write(f"[Preferences]\nSMTPServerAddress=127.0.0.1\nOutgoingPort={port}\n"
                        "ReplyAddress=me@example.org\nDisplayName=Survey Team\nEmailSystem=0\n")

        got = os.path.join(work, "got.jsonl")
        sink, port = start_sink(args, got)
        try:
            write_settings(port)
            before = open(survey, "rb").read()
            r = cli("mail", survey, "--dry-run")
            check(r.returncode == 0, f"dry run failed: {r.stderr}")
            check(r.stdout.count("--- message ") == 3, "dry run prints three messages")
            check("To: \"Bea Best\" <bea@example.org>" in r.stdout, "dry run shows To")
            check("Dear Bea:" in r.stdout, "dry run merges the body")
            check(open(survey, "rb").read() == before, "dry run leaves the survey alone")
            check(not os.path.exists(got) or os.path.getsize(got) == 0, "dry run sends nothing")

            r = cli("mail", survey)
            check(r.returncode == 0, f"mail failed: {r.stdout} {r.stderr}")
            messages = [json.loads(line) for line in open(got)]
            check([m["rcpt_tos"] for m in messages] ==
                  [["ann@example.org"], ["bea@example.org"], ["cid@example.org"]],
                  f"recipients: {[m['rcpt_tos'] for m in messages]}")
            for m in messages:
                check(m["from"] == "Survey Team <me@example.org>", f"From: {m['from']}")
                check(base64.b64decode(m["parts"][1]["data"]) == page_bytes, "attachment bytes")
            saved = open(survey, newline="").read()
            check("3 Notifications sent." in saved, "history of the run saved")
            check(re.search(r"(?m)^EMailStatus=3 Notifications sent on ", saved) is not None,
                  "the run's outcome saved as the notification status")
            for m in messages:
                check(re.fullmatch(r"\w{3}, \d\d \w{3} \d{4} \d\d:\d\d:\d\d \+0000", m["date"]),
                      f"Date: {m['date']}")
                check(m["message_id"].endswith("@example.org>"), f"Message-ID: {m['message_id']}")
            check(len({m["message_id"] for m in messages}) == 3, "one Message-ID per message")

            # Mailed once: a second run asks, takes the default No, sends nothing.
            r = cli("mail", survey)
            check(r.returncode == 1, f"second run refused: {r.returncode}")
            check("already mailed: 3 sent on " in r.stderr and "--again" in r.stderr,
                  f"second run says why: {r.stderr}")
            check(len(open(got).readlines()) == 3, "second run sends nothing")
            r = cli("mail", survey, "--again")
            check(r.returncode == 0, f"--again failed: {r.stderr}")
            check(len(open(got).readlines()) == 6, "--again mails the list once more")
        finally:
            sink.stdin.close()
            sink.wait(timeout=10)

        check_reminders(args, work, cli, check, write_settings)

        # A user ID: the password is asked for, read without echo on a
        # terminal, and sent only inside STARTTLS.
        cert, key = os.path.join(work, "cert.pem"), os.path.join(work, "key.pem")
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
                        "-subj", "/CN=localhost", "-addext",
                        "subjectAltName=DNS:localhost,IP:127.0.0.1", "-keyout", key,
                        "-out", cert], check=True, capture_output=True)
        got_tls = os.path.join(work, "got-tls.jsonl")
        secret = "Typed-S3cret"
        sink, port = start_sink(args, got_tls, "--tls", cert, key, "--auth", "ann", secret)
        try:
            with open(os.path.join(config, "QuorvantBuilder.ini"), "w") as f:
                f.write(f"[Preferences]\nSMTPServerAddress=127.0.0.1\nOutgoingPort={port}\n"
                        "ReplyAddress=me@example.org\nDisplayName=Survey Team\nEmailSystem=0\n"
                        "SMTPUserID=ann\n")
            # No session bus: no keyring holds a password, so it is asked for.
            tty_env = {k: v for k, v in env.items() if k != "DBUS_SESSION_BUS_ADDRESS"}
            tty_env["QUORVANT_SMTP_CA_FILE"] = cert
            status, shown = run_on_terminal([args.cli, "mail", survey, "--again"], tty_env, secret)
            check(status == 0, f"mail on a terminal failed ({status}): {shown}")
            check("Password for ann at 127.0.0.1:" in shown, f"password asked: {shown}")
            check(secret not in shown, f"the password was echoed: {shown}")
            sent = [json.loads(line) for line in open(got_tls)] if os.path.exists(got_tls) else []
            check(len(sent) == 3 and all(m["tls"] and m["auth"] for m in sent),
                  f"mailed inside TLS after login: {len(sent)}")

            r = subprocess.run([args.cli, "mail", survey, "--again"], env=tty_env,
                               input=secret + "\n", capture_output=True, text=True, timeout=120)
            check(r.returncode == 0, f"piped password failed: {r.stderr}")
            check(len(open(got_tls).readlines()) == 6, "piped password mails too")
        finally:
            sink.stdin.close()
            sink.wait(timeout=10)

        db = os.path.join(work, "c.db")
        collector = subprocess.Popen([args.collector, "--listen", f"127.0.0.1:{collector_port}",
                                      "--db", db], stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        try:
            wait_for_port(collector_port)
            r = cli("verify", survey)
            check(r.returncode == 0, f"verify failed: {r.stdout} {r.stderr}")
            status = re.search(r"(?m)^ServerStatus=(.*)$", open(survey).read())
            check(status is not None and status.group(1).strip() == r.stdout.strip() and
                  status.group(1).startswith("Server verified at "),
                  f"the verification's outcome saved as the server status: {r.stdout}")
            r = cli("register", survey)
            check(r.returncode == 0, f"register failed: {r.stderr}")
            unique = re.search(r"(?m)^UniqueName=(.*)$", open(survey).read()).group(1).strip()
            password = re.search(r"(?m)^Password=(.*)$", open(survey).read()).group(1).strip()
            base = f"http://127.0.0.1:{collector_port}/qvx"
            for n in range(2):
                body = urllib.parse.urlencode({"QVXSURVEYFILE": unique, "qvx1": str(n)}).encode()
                urllib.request.urlopen(urllib.request.Request(base, body)).read()

            def held():
                time.sleep(1.1)  # only seconds that have passed are handed out
                q = urllib.parse.urlencode({"SurveyFile": unique, "ID": password,
                                            "LastUpdate": "Never"})
                reply = urllib.request.urlopen(f"{base}/GetResults?{q}").read().decode()
                return reply.count("RemoteAddr=")

            check(held() == 2, "two submissions before clearing")
            wrong = re.sub(r"(?m)^Password=.*$", "Password=not-it", open(survey, newline="").read())
            other = os.path.join(work, "wrong.qvx")
            open(other, "w", newline="").write(wrong)
            r = cli("clear-results", other)
            check(r.returncode == 1, f"wrong password refused: {r.returncode}")
            check("is wrong" in r.stderr, f"refusal's words shown: {r.stderr}")
            check(held() == 2, "submissions kept after a refusal")
            r = cli("clear-results", survey)
            check(r.returncode == 0, f"clear-results failed: {r.stdout} {r.stderr}")
            check("Results cleared from server." in r.stdout, "outcome printed")
            check(held() == 0, "submissions gone")
            check("Results cleared from server." in open(survey).read(), "history saved")
        finally:
            collector.terminate()
            collector.wait(timeout=10)

    for f in failures:
        print("FAIL:", f)
    print(f"{0 if failures else 1} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
