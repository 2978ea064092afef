#!/usr/bin/env python3
"""Cumulon's sample weather service: plays the weather service on 127.0.0.1.

    sample_service.py [--port 8642] [--port-file FILE] [--catalog-out FILE]
                      [--older-catalog-out FILE]

With --port 0 the system picks a free port; --port-file receives it once the
service listens (tests wait for that file).  --catalog-out writes the live
catalog (data/links.dat) pointed at this service for the port in use: only
the scheme, host and port of each address change.  --older-catalog-out does
the same with the catalog of 2013 addresses and formats (links-2013.dat).  See
README.md beside this file for the routes.
"""

import argparse
import datetime
import os
import signal
import ssl
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPOSITORY = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.dirname(HERE))   # tools/: weather_tables
sys.path.insert(0, HERE)

import weather_tables  # noqa: E402
from cumulon_sample import catalog, http_app, locations, pictures  # noqa: E402


def parse_time(text):
    when = datetime.datetime.fromisoformat(text)
    return when if when.tzinfo else when.replace(tzinfo=datetime.timezone.utc)


def write_atomically(path, data):
    temporary = path + ".tmp"
    with open(temporary, "wb") as handle:
        handle.write(data)
    os.replace(temporary, path)


OLDER_CATALOG = os.path.join(HERE, "links-2013.dat")


def build_service(data_dir, source, now=None):
    """The service with the live catalog (data_dir/links.dat, today's
    addresses) and the older one (links-2013.dat beside this file, the
    addresses and formats of 2013, which the tests keep covering)."""
    registry = locations.Registry(source, data_dir)
    with open(os.path.join(data_dir, "links.dat"), "rb") as handle:
        real_catalog = handle.read()
    with open(OLDER_CATALOG, "rb") as handle:
        older_catalog = handle.read()
    clock = (lambda: now) if now else None
    return http_app.Service(registry, pictures.Pictures(registry), real_catalog, clock,
                            older_catalog=older_catalog)


def main(argv=None):
    parser = argparse.ArgumentParser(description="Cumulon's sample weather service.")
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=8642, help="0 picks a free port")
    parser.add_argument("--port-file", help="write the port in use into this file")
    parser.add_argument("--pid-file", help="write the process id into this file")
    parser.add_argument("--catalog-out",
                        help="write the live catalog, pointed at this service, into this file")
    parser.add_argument("--older-catalog-out",
                        help="write the older catalog (2013 addresses and formats), pointed at "
                             "this service, into this file")
    parser.add_argument("--data-dir", default=os.path.join(REPOSITORY, "data"),
                        help="folder with links.dat, radar.trv and river.trv")
    parser.add_argument("--source", default=weather_tables.DEFAULT_SOURCE,
                        help="folder of the weather-util-data tables")
    parser.add_argument("--now", type=parse_time,
                        help="answer as if it were this time (ISO 8601), for tests")
    parser.add_argument("--tls-cert", help="serve HTTPS with this certificate (PEM); the "
                        "catalogs then point at https://127.0.0.1:PORT/")
    parser.add_argument("--tls-key", help="the certificate's private key (PEM)")
    parser.add_argument("--verbose", action="store_true", help="log every request")
    args = parser.parse_args(argv)

    service = build_service(args.data_dir, args.source, args.now)
    server = http_app.Server((args.host, args.port), service, verbose=args.verbose)
    port = server.server_address[1]
    if args.tls_cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.minimum_version = ssl.TLSVersion.TLSv1_2
        context.load_cert_chain(args.tls_cert, args.tls_key)
        # The handshake happens in the request's own thread, at its first read.
        server.socket = context.wrap_socket(server.socket, server_side=True,
                                            do_handshake_on_connect=False)
        service.scheme = "https"
    if args.catalog_out:
        write_atomically(args.catalog_out, catalog.sample_catalog(service.real_catalog, port,
                                                                  scheme=service.scheme))
    if args.older_catalog_out:
        write_atomically(args.older_catalog_out,
                         catalog.sample_catalog(service.older_catalog, port,
                                                scheme=service.scheme))
    if args.pid_file:
        write_atomically(args.pid_file, b"%d\n" % os.getpid())
    if args.port_file:
        write_atomically(args.port_file, b"%d\n" % port)
    print("sample weather service on %s://%s:%d/ (pid %d)"
          % (service.scheme, args.host, port, os.getpid()), flush=True)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
