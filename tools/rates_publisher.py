#!/usr/bin/env python3
"""The rates publisher: makes and serves the rates.txt that "Currency Sync."
and the six-hourly Auto Update download.

  rates_publisher.py convert eurofxref-daily.xml [--base USD] [-o rates.txt]
      Turns the European Central Bank's daily euro reference rates (the
      eurofxref-daily.xml layout: Cube time="...", then Cube currency="..."
      rate="..." elements, euro as base) into a rates.txt: a header naming
      the base and the date, then one "name TAB rate" line per currency, the
      base first at 1, and the zero byte the program's own files end with.
      --base rebases the table to another currency of the file.

  rates_publisher.py serve rates.txt [--bind 127.0.0.1] [--port 8080]
                     [--answer ok|not-found|empty|cut|oversize|hangup|stall]
      Serves the file at /palmos/quantrel/data/rates.txt (read anew at each
      request). The other answers try the program's failure handling: a 404,
      an empty body, a body cut short of its Content-Length, a body over the
      program's limit (42,261 bytes, what its reader takes whole), a close without any answer, no answer at all.

Python 3 standard library only.
"""
import argparse
import datetime
import http.server
import math
import socket
import sys
import time
import xml.etree.ElementTree as ElementTree

RATES_PATH = "/palmos/quantrel/data/rates.txt"
BODY_LIMIT = 42261
NAME_LIMIT = 103
ENTRY_LIMIT = 100

CURRENCY_NAMES = {
    "EUR": "Euro", "USD": "US Dollar", "JPY": "Japanese Yen", "BGN": "Bulgarian Lev",
    "CZK": "Czech Koruna", "DKK": "Danish Krone", "GBP": "British Pound", "HUF": "Hungarian Forint",
    "PLN": "Polish Zloty", "RON": "Romanian Leu", "SEK": "Swedish Krona", "CHF": "Swiss Franc",
    "ISK": "Icelandic Krona", "NOK": "Norwegian Krone", "TRY": "Turkish Lira", "AUD": "Australian Dollar",
    "BRL": "Brazilian Real", "CAD": "Canadian Dollar", "CNY": "Chinese Yuan", "HKD": "Hong Kong Dollar",
    "IDR": "Indonesian Rupiah", "ILS": "Israeli Shekel", "INR": "Indian Rupee", "KRW": "South Korean Won",
    "MXN": "Mexican Peso", "MYR": "Malaysian Ringgit", "NZD": "New Zealand Dollar",
    "PHP": "Philippine Peso", "SGD": "Singapore Dollar", "THB": "Thai Baht", "ZAR": "South African Rand",
    "RUB": "Russian Ruble", "HRK": "Croatian Kuna",
}


class PublishError(Exception):
    pass


def local_name(tag):
    return tag.rsplit("}", 1)[-1]


def read_reference_rates(xml_bytes):
    """The date and the euro rates of an eurofxref-daily.xml: (date, [(code, rate)])
    in file order."""
    try:
        root = ElementTree.fromstring(xml_bytes)
    except ElementTree.ParseError as error:
        raise PublishError(f"not an XML file: {error}")
    date = None
    rates = []
    for element in root.iter():
        if local_name(element.tag) != "Cube":
            continue
        if "time" in element.attrib and date is None:
            date = element.attrib["time"]
        if "currency" in element.attrib:
            code = element.attrib["currency"].strip().upper()
            try:
                rate = float(element.attrib.get("rate", ""))
            except ValueError:
                raise PublishError(f"rate of {code} is not a number")
            if not math.isfinite(rate) or rate <= 0:
                raise PublishError(f"rate of {code} is not a positive number")
            if code != "EUR" and code not in (c for c, _ in rates):
                rates.append((code, rate))
    if date is None:
        raise PublishError("no Cube time=... element")
    if not rates:
        raise PublishError("no Cube currency=... rate=... element")
    return date, rates


def rate_text(rate):
    """Four decimals as the program writes them, more for rates below 1 so that
    at least six significant digits remain (a rebased table has small rates)."""
    decimals = 4 if rate >= 1 else min(12, 5 - math.floor(math.log10(rate)))
    return f"{rate:.{decimals}f}"


def currency_name(code):
    return CURRENCY_NAMES.get(code, code)[:NAME_LIMIT]


def compose_rates(date, rates, base="EUR"):
    """The bytes of rates.txt for the euro rates, rebased to `base`."""
    table = [("EUR", 1.0)] + rates
    base = base.upper()
    divisor = dict(table).get(base)
    if divisor is None:
        raise PublishError(f"{base} is not in the file")
    table = [(base, 1.0)] + [(code, rate / divisor) for code, rate in table if code != base]
    if len(table) > ENTRY_LIMIT:
        raise PublishError(f"more than {ENTRY_LIMIT} currencies")
    lines = [f"Rates of {date}, base {currency_name(base)} ({base}), ECB euro reference rates"]
    lines += [f"{currency_name(code)}\t{rate_text(rate)}" for code, rate in table]
    return ("\n".join(lines) + "\n").encode("latin-1", "replace") + b"\0"


def convert(args):
    with open(args.xml, "rb") as source:
        date, rates = read_reference_rates(source.read())
    data = compose_rates(date, rates, args.base)
    if args.output == "-":
        sys.stdout.buffer.write(data)
    else:
        with open(args.output, "wb") as target:
            target.write(data)
    return 0


class RatesHandler(http.server.BaseHTTPRequestHandler):
    server_version = "RatesPublisher"
    protocol_version = "HTTP/1.1"

    def do_GET(self):
        answer = self.server.answer
        if answer == "hangup":
            self.close_connection = True
            return
        if answer == "stall":
            time.sleep(3600)
            return
        if self.path != RATES_PATH or answer == "not-found":
            return self.send_body(404, b"Not found\n")
        if answer == "empty":
            return self.send_body(200, b"")
        if answer == "oversize":
            return self.send_body(200, b"Too large\n" + b"Euro\t1.0000\n" * (BODY_LIMIT // 12 + 1))
        try:
            with open(self.server.rates_file, "rb") as source:
                body = source.read()
        except OSError:
            return self.send_body(404, b"No rates published\n")
        if answer == "cut":
            return self.send_body(200, body[: len(body) // 2], announced=len(body))
        return self.send_body(200, body)

    def send_body(self, status, body, announced=None):
        self.send_response(status)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body) if announced is None else announced))
        self.send_header("Cache-Control", "no-cache")
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(body)
        self.close_connection = True

    def log_message(self, format, *args):
        sys.stderr.write(f"{datetime.datetime.now():%H:%M:%S} {self.address_string()} {format % args}\n")


def make_server(rates_file, bind="127.0.0.1", port=8080, answer="ok"):
    server = http.server.ThreadingHTTPServer((bind, port), RatesHandler)
    server.daemon_threads = True
    server.rates_file = rates_file
    server.answer = answer
    return server


def serve(args):
    server = make_server(args.rates, args.bind, args.port, args.answer)
    host, port = server.server_address[:2]
    shown = f"[{host}]" if ":" in host else host
    print(f"Serving {args.rates} at http://{shown}:{port}{RATES_PATH} (answer: {args.answer}); "
          f"set RatesServer to {shown}:{port}", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    return 0


def main(argv=None):
    parser = argparse.ArgumentParser(description="Make and serve rates.txt for Quantrel.")
    commands = parser.add_subparsers(dest="command", required=True)
    make = commands.add_parser("convert", help="ECB eurofxref-daily.xml to rates.txt")
    make.add_argument("xml")
    make.add_argument("--base", default="EUR", help="currency code to rebase to (default EUR)")
    make.add_argument("-o", "--output", default="rates.txt", help="file to write, - for standard output")
    make.set_defaults(run=convert)
    publish = commands.add_parser("serve", help="serve rates.txt over HTTP")
    publish.add_argument("rates")
    publish.add_argument("--bind", default="127.0.0.1")
    publish.add_argument("--port", type=int, default=8080)
    publish.add_argument("--answer", default="ok",
                         choices=["ok", "not-found", "empty", "cut", "oversize", "hangup", "stall"])
    publish.set_defaults(run=serve)
    args = parser.parse_args(argv)
    try:
        return args.run(args)
    except (PublishError, OSError) as error:
        print(f"rates_publisher: {error}", file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main())
