#!/usr/bin/env python3
"""The scripted HTTP and HTTPS server of the downloader's tests.

Listens on 127.0.0.1 on ephemeral ports and writes "PORT PID" to the file
named first on the command line once it accepts connections. Given a folder
of certificates made by tools/tls/make-test-ca.sh as well, it also answers
over TLS, with the same routes, on three more ports written after the two:
"server" (the trusted authority's certificate for 127.0.0.1), "wrong-name"
(the same authority, another host name) and "unknown/server" (an authority
nobody trusts). Each route answers with
exact bytes (status lines without "OK", chunk extensions and trailers, early
closes, stalls), so that the tests can check what the downloader keeps.

Routes, by the first path segment (query parameters in brackets):
  /plain[size]              200 OK, Content-Length, the test pattern of `size` bytes
  /chunked[size,chunk]      200 OK, chunked with extensions and a trailer
  /status[code]             that status with a small error page
  /no-ok                    "HTTP/1.1 200" without the reason phrase
  /last-modified[lm]        200 OK with "Last-Modified: <lm>"
  /conditional[lm]          304 Not Modified (with Last-Modified when lm is
                            given) if the request has If-Modified-Since, else
                            200 OK with a body
  /early-close              Content-Length 1000, then 10 bytes and a close
  /stall[after,for,deaf]    headers and `after` body bytes, then silence for
                            `for` seconds or until the client goes (with
                            deaf=1, until the time is up whatever the client does)
  /slow[pieces,gap]         `pieces` bytes of body, one every `gap` ms
  /big[size]                `size` bytes of the pattern, sent in large blocks
  /no-content               204 No Content
  /hop[left,to,code,rel]    while `left` > 0, a `code` (302) redirect to
                            /hop?left=left-1 on the "plain" or "tls" server
                            (`to`), by a path alone when rel=1; at 0, 200 OK
                            with the body "arrived"
  /log[tag]                 the request text of the last request tagged `tag`
Any request with a "tag" parameter is recorded for /log.
"""
import os
import select
import socketserver
import ssl
import sys
import threading
import time
import urllib.parse

recorded = {}
ports = {}  # "plain", "tls": the ports the redirects point to
recorded_lock = threading.Lock()


def pattern(size, offset=0):
    return bytes(((i * 7 + 3) % 256) for i in range(offset, offset + size))


PATTERN_BLOCK = pattern(65536)  # the pattern repeats every 256 bytes


def head(status, headers=(), length=None):
    lines = [status] + list(headers)
    if length is not None:
        lines.append("Content-Length: %d" % length)
    return ("\r\n".join(lines) + "\r\n\r\n").encode("latin-1")


def wait_for_client_to_go(sock, seconds):
    """Silence: returns when the client closes or after `seconds`."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        readable, _, _ = select.select([sock], [], [], 0.2)
        if readable:
            try:
                if not sock.recv(4096):
                    return
            except OSError:
                return


class Handler(socketserver.BaseRequestHandler):
    def read_request(self):
        data = b""
        self.request.settimeout(10)
        while b"\r\n\r\n" not in data:
            more = self.request.recv(4096)
            if not more:
                break
            data += more
        self.request.settimeout(None)
        return data

    def handle(self):
        if isinstance(self.request, ssl.SSLSocket):
            try:
                self.request.do_handshake()
            except (OSError, ssl.SSLError):
                return  # a client that refused the certificate
        raw = self.read_request()
        if not raw:
            return
        target = raw.split(b"\r\n", 1)[0].split(b" ")[1].decode("latin-1")
        url = urllib.parse.urlsplit(target)
        query = {k: v[-1] for k, v in urllib.parse.parse_qs(url.query).items()}
        if "tag" in query and url.path != "/log":
            with recorded_lock:
                recorded[query["tag"]] = raw
        # The first path segment names the route; the rest is free ("/plain/KLOT.xml").
        name = url.path.split("/")[1] if url.path.count("/") >= 1 else ""
        route = getattr(self, "route_" + name.replace("-", "_"), None)
        try:
            if route is None:
                self.send(head("HTTP/1.1 404 Not Found", length=9) + b"not found")
            else:
                route(query, raw)
        except OSError:
            pass  # the client went away

    def send(self, data):
        self.request.sendall(data)

    def route_plain(self, query, raw):
        body = pattern(int(query.get("size", "100")))
        self.send(head("HTTP/1.1 200 OK", ["Content-Type: text/plain"], len(body)) + body)

    def route_chunked(self, query, raw):
        body = pattern(int(query.get("size", "100")))
        chunk = int(query.get("chunk", "7"))
        out = head("HTTP/1.1 200 OK", ["Transfer-Encoding: chunked"])
        for n, start in enumerate(range(0, len(body), chunk)):
            piece = body[start:start + chunk]
            extension = ";piece=%d" % n if n % 2 else ""
            out += b"%x%s\r\n" % (len(piece), extension.encode()) + piece + b"\r\n"
        out += b"0\r\nX-Trailer: done\r\n\r\n"
        self.send(out)

    def route_status(self, query, raw):
        code = query.get("code", "404")
        reasons = {"404": "Not Found", "500": "Internal Server Error", "301": "Moved Permanently"}
        body = b"error page"
        extra = ["Last-Modified: " + query["lm"]] if "lm" in query else []
        self.send(head("HTTP/1.1 %s %s" % (code, reasons.get(code, "Other")), extra, len(body)) + body)

    def route_no_ok(self, query, raw):
        body = b"a 200 without its reason phrase"
        self.send(head("HTTP/1.1 200", length=len(body)) + body)

    def route_last_modified(self, query, raw):
        body = b"fresh body"
        lm = query.get("lm", "Thu, 08 Aug 2013 01:02:03 GMT")
        self.send(head("HTTP/1.1 200 OK", ["Last-Modified: " + lm], len(body)) + body)

    def route_conditional(self, query, raw):
        extra = ["Last-Modified: " + query["lm"]] if "lm" in query else []
        if b"\r\nIf-Modified-Since: " in raw:
            self.send(head("HTTP/1.1 304 Not Modified", extra))
        else:
            body = b"conditional body"
            self.send(head("HTTP/1.1 200 OK", extra, len(body)) + body)

    def route_early_close(self, query, raw):
        self.send(head("HTTP/1.1 200 OK", length=1000) + b"0123456789")

    def route_stall(self, query, raw):
        self.send(head("HTTP/1.1 200 OK", length=100000) + pattern(int(query.get("after", "0"))))
        if query.get("deaf") == "1":
            time.sleep(float(query.get("for", "10")))  # not even the client's FIN ends it
        else:
            wait_for_client_to_go(self.request, float(query.get("for", "120")))

    def route_slow(self, query, raw):
        pieces = int(query.get("pieces", "5"))
        self.send(head("HTTP/1.1 200 OK", length=pieces))
        for i in range(pieces):
            time.sleep(int(query.get("gap", "100")) / 1000.0)
            self.send(pattern(1, i))

    def route_big(self, query, raw):
        size = int(query.get("size", "0"))
        self.send(head("HTTP/1.1 200 OK", length=size))
        block = PATTERN_BLOCK
        while size > 0:
            self.send(block[:size])
            size -= len(block)

    def route_no_content(self, query, raw):
        self.send(head("HTTP/1.1 204 No Content"))

    def route_hop(self, query, raw):
        left = int(query.get("left", "0"))
        if left <= 0:
            self.send(head("HTTP/1.1 200 OK", length=7) + b"arrived")
            return
        to = query.get("to", "plain")
        code = query.get("code", "302")
        path = "/hop?left=%d&to=%s&code=%s&rel=%s" % (left - 1, to, code, query.get("rel", "0"))
        if query.get("rel") != "1":
            path = "%s://127.0.0.1:%d%s" % ("https" if to == "tls" else "http", ports[to], path)
        self.send(head("HTTP/1.1 %s Moved" % code, ["Location: " + path], 0))

    def route_log(self, query, raw):
        with recorded_lock:
            body = recorded.get(query.get("tag", ""), b"")
        self.send(head("HTTP/1.1 200 OK", length=len(body)) + body)


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True
    request_queue_size = 64


class TlsServer(Server):
    """Hands each connection over wrapped; the handshake runs in its thread."""

    def __init__(self, certificate, key):
        super().__init__(("127.0.0.1", 0), Handler)
        self.context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        self.context.minimum_version = ssl.TLSVersion.TLSv1_2
        self.context.load_cert_chain(certificate, key)

    def get_request(self):
        sock, address = super().get_request()
        return self.context.wrap_socket(sock, server_side=True, do_handshake_on_connect=False), address


def main():
    servers = [Server(("127.0.0.1", 0), Handler)]
    if len(sys.argv) > 2:
        tls = sys.argv[2]
        for name in ("server", "wrong-name", "unknown/server"):
            servers.append(TlsServer(os.path.join(tls, name + ".pem"), os.path.join(tls, name + ".key")))
    ports["plain"] = servers[0].server_address[1]
    ports["tls"] = servers[1].server_address[1] if len(servers) > 1 else 0
    for server in servers[1:]:
        threading.Thread(target=server.serve_forever, daemon=True).start()
    numbers = [servers[0].server_address[1], os.getpid()] + [s.server_address[1] for s in servers[1:]]
    ready = sys.argv[1]
    with open(ready + ".tmp", "w") as f:
        f.write(" ".join(str(n) for n in numbers) + "\n")
    os.replace(ready + ".tmp", ready)
    servers[0].serve_forever()


if __name__ == "__main__":
    main()
