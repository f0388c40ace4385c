"""A loopback HTTP server for the survey page tests: it serves the generated
page and a driver page that loads it in a frame, and hands what the driver
reports and what the form posts to the waiting test."""
import http.server
import json
import threading


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
