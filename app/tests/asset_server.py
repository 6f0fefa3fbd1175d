#!/usr/bin/env python3
"""A loopback asset host for the asset download tests.

usage: asset_server.py ROOT LOG

Serves the files under ROOT by their request path and appends each requested
path to LOG, one a line. A missing file gets 404 with an error page. A few
paths misbehave on purpose:
  /cut          announces 100000 bytes, sends 1000 and closes
  /huge-length  announces 64 MiB + 1 bytes
  /huge-stream  sends no length and streams until the client gives up
  /silent       announces 10 bytes and sends none
Prints the port once it listens.
"""
import http.server
import os
import sys
import threading
import time

ROOT, LOG = sys.argv[1], sys.argv[2]
LOG_LOCK = threading.Lock()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def head(self, length=None):
        self.send_response(200)
        if length is None:
            self.send_header("Connection", "close")
        else:
            self.send_header("Content-Length", str(length))
        self.end_headers()

    def do_GET(self):
        with LOG_LOCK, open(LOG, "a") as log:
            log.write(self.path + "\n")
        try:
            if self.path == "/cut":
                self.head(100000)
                self.wfile.write(b"c" * 1000)
                self.close_connection = True
            elif self.path == "/huge-length":
                self.head((64 << 20) + 1)
                self.wfile.write(b"h" * 65536)
            elif self.path == "/huge-stream":
                self.head()
                block = b"s" * 65536
                for _ in range(1100):  # a little more than 64 MiB
                    self.wfile.write(block)
                self.close_connection = True
            elif self.path == "/silent":
                self.head(10)
                time.sleep(60)
            else:
                path = os.path.join(ROOT, self.path.lstrip("/"))
                if not os.path.isfile(path):
                    self.send_error(404, "no such asset")
                    return
                with open(path, "rb") as f:
                    data = f.read()
                self.head(len(data))
                self.wfile.write(data)
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True

    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
server.daemon_threads = True
print(server.server_address[1], flush=True)
server.serve_forever()
