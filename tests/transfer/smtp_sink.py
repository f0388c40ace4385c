#!/usr/bin/python3
"""A loopback SMTP server for the mail tests: aiosmtpd, recording every
message it accepts as one JSON line (envelope, headers, parts).

Usage: smtp_sink.py OUT.jsonl [--tls CERT KEY] [--auth USER PASS]
                   [--auth-log FILE] [--refuse ADDRESS]... [--refuse-data]
                   [--die-after N] [--quiet]
--auth without --tls offers AUTH on the plain connection, as a careless or
stripped server would; --auth-log writes one line per login attempt (the
user ID, never the password). --refuse-data refuses every message at DATA
with "554 5.7.1 Message content rejected".
Prints the port on one line when ready; runs until stdin closes.
"""
import argparse
import base64
import email
import email.policy
import json
import os
import signal
import socket
import ssl
import sys

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Recorder:
    def __init__(self, args):
        self.args = args
        self.count = 0
        self.out = open(args.out, "a", encoding="utf-8")

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address in self.args.refuse:
            return "550 5.1.1 No such user here"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if self.args.refuse_data:
            return "554 5.7.1 Message content rejected"
        if not self.args.quiet:
            msg = email.message_from_bytes(envelope.original_content, policy=email.policy.default)
            parts = []
            for part in msg.walk():
                if part.is_multipart():
                    continue
                payload = part.get_payload(decode=True) or b""
                parts.append({
                    "type": part.get_content_type(),
                    "filename": part.get_filename() or "",
                    "data": base64.b64encode(payload).decode(),
                })
            record = {
                "mail_from": envelope.mail_from,
                "rcpt_tos": envelope.rcpt_tos,
                "tls": session.ssl is not None,
                "peer_port": session.peer[1],
                "auth": session.authenticated,
                "header_names": [k for k in msg.keys()],
                "from": str(msg.get("From", "")),
                "to": str(msg.get("To", "")),
                "subject": str(msg.get("Subject", "")),
                "x_mailer": str(msg.get("X-Mailer", "")),
                "date": str(msg.get("Date", "")),
                "message_id": str(msg.get("Message-ID", "")),
                "content_type": msg.get_content_type(),
                "parts": parts,
            }
            self.out.write(json.dumps(record) + "\n")
            self.out.flush()
        self.count += 1
        if self.args.die_after and self.count >= self.args.die_after:
            os.kill(os.getpid(), signal.SIGKILL)
        return "250 Message accepted"


def main():
    p = argparse.ArgumentParser()
    p.add_argument("out")
    p.add_argument("--tls", nargs=2)
    p.add_argument("--auth", nargs=2)
    p.add_argument("--auth-log")
    p.add_argument("--refuse", action="append", default=[])
    p.add_argument("--refuse-data", action="store_true")
    p.add_argument("--die-after", type=int, default=0)
    p.add_argument("--quiet", action="store_true")
    args = p.parse_args()

    kwargs = {}
    if args.tls:
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(args.tls[0], args.tls[1])
        kwargs.update(tls_context=context, require_starttls=True)
    if args.auth:
        user, password = args.auth[0].encode(), args.auth[1].encode()

        def authenticator(server, session, envelope, mechanism, auth_data):
            if args.auth_log:
                with open(args.auth_log, "a", encoding="utf-8") as log:
                    login = getattr(auth_data, "login", b"") or b""
                    log.write(json.dumps({"login": login.decode(errors="replace"),
                                          "tls": session.ssl is not None}) + "\n")
            ok = isinstance(auth_data, LoginPassword) and \
                auth_data.login == user and auth_data.password == password
            return AuthResult(success=ok, handled=False)

        kwargs.update(authenticator=authenticator, auth_required=True,
                      auth_require_tls=bool(args.tls))
    port = free_port()
    controller = Controller(Recorder(args), hostname="127.0.0.1", port=port, **kwargs)
    controller.start()
    print(port, flush=True)
    try:
        sys.stdin.read()
    finally:
        controller.stop()


if __name__ == "__main__":
    main()
