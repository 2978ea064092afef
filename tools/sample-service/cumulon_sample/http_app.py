"""The HTTP side of the sample weather service.

Requests arrive as "/HOST/path?query", where HOST/path is the weather
service's own address as the real catalog gives it (the sample catalog puts
"http://127.0.0.1:PORT/" in front of every real address).  Every answer carries
Last-Modified and honours If-Modified-Since with 304; some routes answer with
chunked bodies.  Routes under /test/ give the deliberately bad answers the
downloader's tests need; README.md lists them.
"""

import datetime
import email.utils
import re
import threading
import time
import urllib.parse
from dataclasses import dataclass, field
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

from . import catalog, feeds, image_codecs, today

UTC = datetime.timezone.utc
# Overlays, legends and other pictures that never change carry this time.
STATIC_TIME = datetime.datetime(2013, 6, 1, tzinfo=UTC)
FIXED_TEST_TIME = datetime.datetime(2013, 8, 8, 1, 2, 3, tzinfo=UTC)


@dataclass
class Answer:
    status: str = "200 OK"
    body: bytes = b""
    content_type: str = "text/xml"
    last_modified: datetime.datetime = None
    chunked: bool = False
    headers: list = field(default_factory=list)


def http_date(when):
    return email.utils.format_datetime(when.astimezone(UTC), usegmt=True)


def parse_http_date(text):
    try:
        when = email.utils.parsedate_to_datetime(text)
    except (TypeError, ValueError, IndexError):
        return None
    if when is None:
        return None
    return when if when.tzinfo else when.replace(tzinfo=UTC)


def chunk_body(body, sizes=(700, 1500, 300, 4096)):
    """The body as chunks of varying sizes, the last one with a chunk extension."""
    out, at, i = [], 0, 0
    while at < len(body):
        size = sizes[i % len(sizes)]
        piece = body[at:at + size]
        extension = b";sample=1" if at + size >= len(body) else b""
        out.append(b"%x%s\r\n%s\r\n" % (len(piece), extension, piece))
        at += size
        i += 1
    out.append(b"0\r\n\r\n")
    return b"".join(out)


class Service:
    """What the handler needs: the registry, the pictures, the catalog and a clock."""

    def __init__(self, registry, pictures, real_catalog, clock=None, older_catalog=b""):
        self.registry = registry
        self.pictures = pictures
        self.real_catalog = real_catalog
        self.older_catalog = older_catalog
        self.scheme = "http"
        self.clock = clock or (lambda: datetime.datetime.now(UTC))
        self.port = None
        self._routes = [
            # Today's addresses and formats.
            (r"/forecast\.weather\.gov/xml/current_obs/(\w{4})\.xml", self._current_obs),
            (r"/aviationweather\.gov/api/data/dataserver", self._metar_api),
            (r"/aviationweather\.gov/api/data/metar", self._metar_api),
            (r"/api\.water\.noaa\.gov/nwps/v1/gauges/(\w+)", self._gauge),
            (r"/api\.weather\.gov/alerts/active/zone/(\w+)", self._alerts_api),
            (r"/cdn\.star\.nesdis\.noaa\.gov/(GOES1[89])/ABI/(SECTOR/\w+|CONUS|FD)/(\w+)/"
             r"(\d+x\d+)\.jpg", self._goes),
            (r"/www\.weather\.gov/wwamap/png/(\w+)\.png", self._office_map),
            # The addresses and formats of the older catalog.
            (r"/forecast\.weather\.gov/MapClick\.php", self._mapclick),
            (r"/w1\.weather\.gov/xml/current_obs/(\w{4})\.xml", self._observation),
            (r"/aviationweather\.gov/adds/dataserver_current/httpparam", self._metar),
            (r"/water\.weather\.gov/ahps2/rss/obs/(\w{5})\.rss", self._river),
            (r"/alerts\.weather\.gov/cap/wwaatmget\.php", self._alerts),
            (r"/radar\.weather\.gov/ridge/(.+)", self._radar),
            (r"/www\.ssd\.noaa\.gov/goes/(east|west)/(\w+)/(\w+)-l\.jpg", self._satellite),
            (r"/forecast\.weather\.gov/wwamap/png/(\w+)\.png", self._alert_map),
            (r"/links\.dat", self._catalog),
            (r"/links-2013\.dat", self._older_catalog),
            (r"/", self._index),
        ]

    def answer(self, path, query, headers=None):
        now = self.clock()
        self.request_headers = headers or {}
        for pattern, handler in self._routes:
            match = re.fullmatch(pattern, path)
            if match:
                try:
                    return handler(match, query, now)
                except feeds.UnknownLocation:
                    return not_found(path)
        return not_found(path)

    @staticmethod
    def _document(result, chunked=False, content_type="text/xml"):
        text, modified = result
        return Answer(body=text.encode("cp1252", "replace"), last_modified=modified,
                      chunked=chunked, content_type=content_type)

    def _mapclick(self, match, query, now):
        kind = query.get("FcstType", [""])[0]
        lat, lon = query.get("lat", [""])[0], query.get("lon", [""])[0]
        if kind == "dwml":
            return self._document(today.dwml_by_day(self.registry, lat, lon, now))
        if kind == "digitalDWML" and query.get("unit"):
            variant = query.get("variant", [""])[0]
            return self._document(today.digital_dwml(self.registry, lat, lon, now, variant),
                                  chunked=True)
        if kind == "xml":
            return self._document(feeds.point_forecast(self.registry, lat, lon, now))
        if kind == "digitalDWML":
            variant = query.get("variant", [""])[0]
            return self._document(feeds.hourly_forecast(self.registry, lat, lon, now, variant),
                                  chunked=True)
        return not_found("/forecast.weather.gov/MapClick.php?FcstType=" + kind)

    def _current_obs(self, match, query, now):
        return self._document(today.current_obs(self.registry, match.group(1), now))

    def _metar_api(self, match, query, now):
        """The data API: "stationString" (the old data server's name) or "ids";
        204 with no body when the station has no report."""
        station = (query.get("stationString") or query.get("ids") or [""])[0][:4]
        text, modified = today.metar_xml(self.registry, station, now)
        if text is None:
            return Answer(status="204 No Content", body=b"", last_modified=modified)
        return Answer(body=text.encode("utf-8"), last_modified=modified)

    def _gauge(self, match, query, now):
        try:
            text, modified = today.gauge_json(self.registry, match.group(1), now)
        except feeds.UnknownLocation:
            body = ('{"code": 5, "message": "Gauge %s not found", "details": []}'
                    % match.group(1)).encode()
            return Answer(status="404 Not Found", body=body, content_type="application/json",
                          last_modified=STATIC_TIME)
        return Answer(body=text.encode("utf-8"), last_modified=modified,
                      content_type="application/json")

    def _alerts_api(self, match, query, now):
        """ATOM when asked for with Accept, GeoJSON otherwise; 403 without a
        User-Agent, as the API answers."""
        headers = {k.lower(): v for k, v in self.request_headers.items()}
        if not headers.get("user-agent"):
            return Answer(status="403 Forbidden", content_type="text/html",
                          body=b"<html><body>Access denied: no User-Agent</body></html>",
                          last_modified=STATIC_TIME)
        text, modified = today.alerts_atom(self.registry, match.group(1), now)
        if "application/atom+xml" not in headers.get("accept", ""):
            body = ('{"type": "FeatureCollection", "features": [], "title": "GeoJSON, '
                    'not ATOM: ask with Accept: application/atom+xml"}').encode()
            return Answer(body=body, content_type="application/geo+json", last_modified=modified)
        return Answer(body=text.encode("utf-8"), last_modified=modified,
                      content_type="application/atom+xml")

    def _goes(self, match, query, now):
        answer = self._picture(self.pictures.goes(*match.groups(), now))
        return answer or not_found(match.group(0))

    def _office_map(self, match, query, now):
        name = {"hfo": "hi", "gum": "gu", "sju": "pr", "ppg": "as"}.get(match.group(1), "")
        answer = self._picture(self.pictures.alert_map(name, now)) if name else None
        return answer or not_found(match.group(0))

    def _observation(self, match, query, now):
        return self._document(feeds.current_observation(self.registry, match.group(1), now))

    def _metar(self, match, query, now):
        """The latest report of the station, at the request's "endTime" (ISO
        8601, as the aviation data server takes it) when it gives one."""
        station = query.get("stationString", [""])[0][:4]
        try:
            asked = datetime.datetime.fromisoformat(query.get("endTime", [""])[0].replace("Z", "+00:00"))
            asked = asked if asked.tzinfo else asked.replace(tzinfo=UTC)
        except ValueError:
            asked = None
        return self._document(feeds.metar(self.registry, station, now, asked=asked))

    def _river(self, match, query, now):
        return self._document(feeds.river_gauge(self.registry, match.group(1), now), chunked=True)

    def _alerts(self, match, query, now):
        zone = query.get("x", [""])[0][:6]
        return self._document(feeds.alerts(self.registry, zone, now), chunked=True)

    def _picture(self, made, chunked=False):
        if made is None:
            return None
        body, modified, content_type = made
        return Answer(body=body, last_modified=modified, content_type=content_type, chunked=chunked)

    def _radar(self, match, query, now):
        answer = self._picture(self.pictures.radar(match.group(1), now), chunked=True)
        return answer or not_found("/radar.weather.gov/ridge/" + match.group(1))

    def _satellite(self, match, query, now):
        answer = self._picture(self.pictures.satellite(match.group(2), match.group(3), now))
        return answer or not_found(match.group(0))

    def _alert_map(self, match, query, now):
        answer = self._picture(self.pictures.alert_map(match.group(1), now))
        return answer or not_found(match.group(0))

    def _catalog(self, match, query, now):
        body = catalog.sample_catalog(self.real_catalog, self.port or 80, scheme=self.scheme)
        return Answer(body=body, content_type="text/plain", last_modified=STATIC_TIME)

    def _older_catalog(self, match, query, now):
        body = catalog.sample_catalog(self.older_catalog, self.port or 80, scheme=self.scheme)
        return Answer(body=body, content_type="text/plain", last_modified=STATIC_TIME)

    def _index(self, match, query, now):
        lines = ["Cumulon sample weather service", "",
                 "/links.dat               the catalog that points at this service",
                 "/links-2013.dat          the same for the older addresses and formats",
                 "/HOST/path               the weather service's address HOST/path",
                 "/test/...                deliberately bad answers (see README.md)", ""]
        return Answer(body="\r\n".join(lines).encode(), content_type="text/plain",
                      last_modified=STATIC_TIME)


def not_found(path):
    body = ("<html><head><title>404 Not Found</title></head><body><h1>Not Found</h1>"
            "<p>The requested URL %s was not found on this server.</p></body></html>\r\n"
            % path.replace("<", "&lt;"))
    return Answer(status="404 Not Found", body=body.encode(), content_type="text/html",
                  last_modified=STATIC_TIME)


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "SampleWeather/1.0"
    quiet = True

    def log_message(self, format, *args):
        if not self.quiet:
            super().log_message(format, *args)

    def _write(self, data):
        try:
            self.wfile.write(data)
            self.wfile.flush()
            return True
        except OSError:
            return False

    def do_GET(self):
        self.close_connection = True
        parsed = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(parsed.query, keep_blank_values=True)
        if parsed.path.startswith("/test/"):
            TEST_ROUTES.get(parsed.path, _test_not_found)(self, query)
            return
        answer = self.server.service.answer(parsed.path, query, dict(self.headers.items()))
        self.send_answer(answer)

    def send_answer(self, answer):
        modified = answer.last_modified or STATIC_TIME
        since = parse_http_date(self.headers.get("If-Modified-Since", ""))
        headers = [("Date", http_date(datetime.datetime.now(UTC))),
                   ("Server", self.server_version),
                   ("Last-Modified", http_date(modified))] + answer.headers
        if answer.status.startswith("200") and since is not None and modified <= since:
            self._write(_head("304 Not Modified", headers + [("Connection", "close")]))
            return
        if answer.status.startswith("204"):
            self._write(_head(answer.status, headers + [("Connection", "close")]))
            return
        headers.append(("Content-Type", answer.content_type))
        if answer.chunked:
            headers.append(("Transfer-Encoding", "chunked"))
            body = chunk_body(answer.body)
        else:
            headers.append(("Content-Length", str(len(answer.body))))
            body = answer.body
        headers.append(("Connection", "close"))
        self._write(_head(answer.status, headers) + body)

    def request_text(self):
        lines = [self.requestline] + ["%s: %s" % (k, v) for k, v in self.headers.items()]
        return ("\r\n".join(lines) + "\r\n\r\n").encode("latin-1", "replace")


def _head(status, headers, version="HTTP/1.1"):
    lines = ["%s %s" % (version, status)] + ["%s: %s" % pair for pair in headers]
    return ("\r\n".join(lines) + "\r\n\r\n").encode("latin-1")


def _number(query, name, default, low, high):
    try:
        value = int(query.get(name, [default])[0])
    except ValueError:
        value = default
    return max(low, min(high, value))


def _pattern(count):
    """A recognisable body: lines numbered from 0, cut to exactly 'count' bytes."""
    lines, size, i = [], 0, 0
    while size < count:
        line = b"line %06d of the sample body\r\n" % i
        lines.append(line)
        size += len(line)
        i += 1
    return b"".join(lines)[:count]


def _plain_headers(length=None, extra=()):
    headers = [("Date", http_date(datetime.datetime.now(UTC))),
               ("Last-Modified", http_date(FIXED_TEST_TIME)), ("Content-Type", "text/plain")]
    if length is not None:
        headers.append(("Content-Length", str(length)))
    return headers + list(extra) + [("Connection", "close")]


def _test_plain(handler, query):
    body = _pattern(_number(query, "bytes", 5000, 0, 50_000_000))
    handler.send_answer(Answer(body=body, content_type="text/plain", last_modified=FIXED_TEST_TIME))


def _test_chunked(handler, query):
    body = _pattern(_number(query, "bytes", 5000, 0, 50_000_000))
    size = _number(query, "chunk", 1000, 1, 1 << 20)
    out = []
    for at in range(0, len(body), size):
        piece = body[at:at + size]
        out.append(b"%X;part=%d\r\n%s\r\n" % (len(piece), at // size, piece))
    out.append(b"0\r\n")
    if query.get("trailer", ["0"])[0] == "1":
        out.append(b"X-Trailer: ignored\r\n")
    out.append(b"\r\n")
    handler._write(_head("200 OK", _plain_headers(extra=[("Transfer-Encoding", "chunked")]))
                   + b"".join(out))


def _test_last_modified(handler, query):
    text = query.get("time", [""])[0]
    when = parse_http_date(text) if text else FIXED_TEST_TIME
    handler.send_answer(Answer(body=_pattern(_number(query, "bytes", 300, 0, 1 << 20)),
                               content_type="text/plain", last_modified=when or FIXED_TEST_TIME))


def _test_no_ok(handler, query):
    body = _pattern(_number(query, "bytes", 300, 0, 1 << 20))
    handler._write(_head("200", _plain_headers(len(body))) + body)


def _test_status(handler, query):
    status = query.get("line", ["500 Internal Server Error"])[0].replace("\r", "").replace("\n", "")
    body = _pattern(_number(query, "bytes", 300, 0, 1 << 20))
    handler._write(_head(status, _plain_headers(len(body))) + body)


def _test_404(handler, query):
    handler.send_answer(not_found(handler.path))


def _test_early_close(handler, query):
    count = _number(query, "bytes", 2000, 0, 1 << 24)
    body = _pattern(count)
    handler._write(_head("200 OK", _plain_headers(2 * count + 100)) + body)


def _test_stall(handler, query):
    seconds = _number(query, "seconds", 75, 0, 3600)
    body = _pattern(_number(query, "bytes", 1000, 0, 1 << 20))
    half = len(body) // 2
    if handler._write(_head("200 OK", _plain_headers(len(body))) + body[:half]):
        time.sleep(seconds)
        handler._write(body[half:])


def _test_trickle(handler, query):
    seconds = _number(query, "seconds", 120, 0, 3600)
    if not handler._write(_head("200 OK", _plain_headers())):
        return
    stop = time.monotonic() + seconds
    i = 0
    while time.monotonic() < stop:
        if not handler._write(b"%d\r\n" % i):
            return
        i += 1
        time.sleep(0.5)


def _test_huge_header(handler, query):
    size = _number(query, "bytes", 5000, 1, 1 << 20)
    body = _pattern(300)
    extra = [("X-Filler", "h" * size)]
    handler._write(_head("200 OK", _plain_headers(len(body), extra)) + body)


def _test_bad_chunk(handler, query):
    body = b"1E\r\n" + _pattern(30) + b"\r\nzz\r\n" + _pattern(100) + b"\r\n0\r\n\r\n"
    handler._write(_head("200 OK", _plain_headers(extra=[("Transfer-Encoding", "chunked")])) + body)


def _test_chunk_overrun(handler, query):
    body = b"7FFFFFFF\r\n" + _pattern(500)
    handler._write(_head("200 OK", _plain_headers(extra=[("Transfer-Encoding", "chunked")])) + body)


def _test_echo(handler, query):
    handler.send_answer(Answer(body=handler.request_text(), content_type="text/plain",
                               last_modified=FIXED_TEST_TIME))


def _test_empty(handler, query):
    handler.send_answer(Answer(body=b"", content_type="text/plain", last_modified=FIXED_TEST_TIME))


QUADRANTS = [(200, 30, 30), (30, 160, 60), (40, 60, 200), (230, 210, 40)]
PICTURE_FORMATS = {"jpeg": ("image/jpeg", image_codecs.encode_jpeg),
                   "png": ("image/png", image_codecs.encode_png),
                   "gif": ("image/gif", image_codecs.encode_gif)}


def _test_picture(handler, query):
    """Four quadrants, red and green above blue and yellow, in any size and format."""
    width = _number(query, "width", 360, 2, 4000)
    height = _number(query, "height", 240, 2, 4000)
    kind, encode = PICTURE_FORMATS.get(query.get("format", ["jpeg"])[0], PICTURE_FORMATS["jpeg"])
    top = bytes([0] * (width // 2) + [1] * (width - width // 2))
    bottom = bytes([2] * (width // 2) + [3] * (width - width // 2))
    rows = [top] * (height // 2) + [bottom] * (height - height // 2)
    handler.send_answer(Answer(body=encode(rows, QUADRANTS), content_type=kind,
                               last_modified=FIXED_TEST_TIME))


def _test_not_found(handler, query):
    handler.send_answer(not_found(handler.path))


TEST_ROUTES = {
    "/test/plain": _test_plain,
    "/test/chunked": _test_chunked,
    "/test/last-modified": _test_last_modified,
    "/test/no-ok": _test_no_ok,
    "/test/status": _test_status,
    "/test/404": _test_404,
    "/test/early-close": _test_early_close,
    "/test/stall": _test_stall,
    "/test/trickle": _test_trickle,
    "/test/huge-header": _test_huge_header,
    "/test/bad-chunk": _test_bad_chunk,
    "/test/chunk-overrun": _test_chunk_overrun,
    "/test/echo": _test_echo,
    "/test/empty": _test_empty,
    "/test/picture": _test_picture,
}


class Server(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, address, service, verbose=False):
        handler = type("SampleHandler", (Handler,), {"quiet": not verbose})
        super().__init__(address, handler)
        self.service = service
        service.port = self.server_address[1]


def serve_in_thread(server):
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    return thread
