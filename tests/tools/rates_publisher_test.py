#!/usr/bin/env python3
"""The rates publisher: ECB XML to rates.txt, and the answers it serves.
Run: python3 -m unittest discover -s tests/tools -p '*_test.py'"""
import contextlib
import http.client
import io
import os
import sys
import tempfile
import threading
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools"))
import rates_publisher  # noqa: E402

rates_publisher.RatesHandler.log_message = lambda *args: None

DAILY = b"""<?xml version="1.0" encoding="UTF-8"?>
<gesmes:Envelope xmlns:gesmes="http://www.gesmes.org/xml/2002-08-01"
    xmlns="http://www.ecb.int/vocabulary/2002-08-01/eurofxref">
  <gesmes:subject>Reference rates</gesmes:subject>
  <Cube><Cube time='2024-05-03'>
    <Cube currency='USD' rate='1.0754'/><Cube currency='JPY' rate='163.42'/><Cube currency='XYZ' rate='2'/>
  </Cube></Cube>
</gesmes:Envelope>"""


class ConvertTest(unittest.TestCase):
    def convert(self, xml, *options):
        with tempfile.TemporaryDirectory() as folder:
            source, target = os.path.join(folder, "daily.xml"), os.path.join(folder, "rates.txt")
            with open(source, "wb") as f:
                f.write(xml)
            with contextlib.redirect_stderr(io.StringIO()):
                status = rates_publisher.main(["convert", source, "-o", target, *options])
            data = open(target, "rb").read() if os.path.exists(target) else None
            return status, data

    def test_euro_table_in_the_programs_form(self):
        status, data = self.convert(DAILY)
        self.assertEqual(0, status)
        self.assertEqual(b"Rates of 2024-05-03, base Euro (EUR), ECB euro reference rates\n"
                         b"Euro\t1.0000\nUS Dollar\t1.0754\nJapanese Yen\t163.4200\nXYZ\t2.0000\n\0", data)

    def test_rebased_table_keeps_every_cross_rate(self):
        status, data = self.convert(DAILY, "--base", "usd")
        self.assertEqual(0, status)
        lines = data.rstrip(b"\0").decode().splitlines()
        self.assertIn("base US Dollar (USD)", lines[0])
        table = dict(line.split("\t") for line in lines[1:])
        self.assertEqual("1.0000", table["US Dollar"])
        # Each rebased rate times the dollar's euro rate gives the euro rate
        # back, to the precision written (at least four decimals).
        for name, euro_rate in [("Euro", 1.0), ("Japanese Yen", 163.42), ("XYZ", 2.0)]:
            self.assertAlmostEqual(euro_rate, float(table[name]) * 1.0754, delta=0.00005 * 1.0754, msg=name)

    def test_unusable_files_write_nothing(self):
        cases = {
            "not XML": b"<Cube",
            "no date": b"<Cube><Cube currency='USD' rate='1.1'/></Cube>",
            "no currency": b"<Cube time='2024-05-03'/>",
            "rate not a number": b"<Cube time='2024-05-03'><Cube currency='USD' rate='x'/></Cube>",
            "rate not positive": b"<Cube time='2024-05-03'><Cube currency='USD' rate='-1'/></Cube>",
        }
        for name, xml in cases.items():
            self.assertEqual((1, None), self.convert(xml), name)
        self.assertEqual((1, None), self.convert(DAILY, "--base", "GBP"), "base not in the file")


class ServeTest(unittest.TestCase):
    def setUp(self):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        self.rates = os.path.join(folder.name, "rates.txt")
        self.body = b"Rates\n" + b"Euro\t1.0000\n" * 100
        with open(self.rates, "wb") as f:
            f.write(self.body)

    def fetch(self, answer, path=rates_publisher.RATES_PATH):
        server = rates_publisher.make_server(self.rates, port=0, answer=answer)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        self.addCleanup(server.server_close)
        self.addCleanup(server.shutdown)
        connection = http.client.HTTPConnection("127.0.0.1", server.server_address[1], timeout=10)
        self.addCleanup(connection.close)
        connection.request("GET", path, headers={"User-Agent": "Example"})
        reply = connection.getresponse()
        return reply.status, reply.read()

    def test_answers(self):
        self.assertEqual((200, self.body), self.fetch("ok"))
        self.assertEqual(404, self.fetch("ok", "/rates.txt")[0])
        self.assertEqual(404, self.fetch("not-found")[0])
        self.assertEqual((200, b""), self.fetch("empty"))
        status, body = self.fetch("oversize")
        self.assertEqual(200, status)
        self.assertGreater(len(body), rates_publisher.BODY_LIMIT)
        with self.assertRaises(http.client.IncompleteRead) as cut:
            self.fetch("cut")
        self.assertEqual(len(self.body) // 2, len(cut.exception.partial))
        with self.assertRaises(http.client.RemoteDisconnected):
            self.fetch("hangup")


if __name__ == "__main__":
    unittest.main()
