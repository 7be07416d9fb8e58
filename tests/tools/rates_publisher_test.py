"""The rates publisher: ECB XML to rates.txt, and the answers it serves."""
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

DAILY = b"""<gesmes:Envelope xmlns:gesmes="http://www.gesmes.org/xml/2002-08-01"
    xmlns="http://www.ecb.int/vocabulary/2002-08-01/eurofxref"><Cube><Cube time='2024-05-03'>
    <Cube currency='USD' rate='1.0754'/><Cube currency='JPY' rate='163.42'/><Cube currency='XYZ' rate='2'/>
</Cube></Cube></gesmes:Envelope>"""


def convert(xml, *options):
    """The exit status and the bytes written, None when nothing was."""
    with tempfile.TemporaryDirectory() as folder, contextlib.redirect_stderr(io.StringIO()):
        source, target = os.path.join(folder, "daily.xml"), os.path.join(folder, "rates.txt")
        with open(source, "wb") as f:
            f.write(xml)
        status = rates_publisher.main(["convert", source, "-o", target, *options])
        return status, open(target, "rb").read() if os.path.exists(target) else None


class RatesPublisherTest(unittest.TestCase):
    def test_convert(self):
        header = b"Rates of 2024-05-03, base %s, ECB euro reference rates\n"
        self.assertEqual((0, header % b"Euro (EUR)" + b"Euro\t1.0000\nUS Dollar\t1.0754\nJapanese Yen\t163.4200\n"
                          b"XYZ\t2.0000\n\0"), convert(DAILY))
        # Rebased, rates below 1 keep six significant digits.
        self.assertEqual((0, header % b"US Dollar (USD)" + b"US Dollar\t1.0000\nEuro\t0.929887\n"
                          b"Japanese Yen\t151.9621\nXYZ\t1.8598\n\0"), convert(DAILY, "--base", "usd"))
        for xml in [b"<Cube", b"<Cube><Cube currency='USD' rate='1.1'/></Cube>", b"<Cube time='2024-05-03'/>",
                    b"<Cube time='2024-05-03'><Cube currency='USD' rate='x'/></Cube>",
                    b"<Cube time='2024-05-03'><Cube currency='USD' rate='-1'/></Cube>"]:
            self.assertEqual((1, None), convert(xml), xml)
        self.assertEqual((1, None), convert(DAILY, "--base", "GBP"), "base not in the file")

    def test_answers(self):
        folder = self.enterContext(tempfile.TemporaryDirectory())
        body = b"Rates\n" + b"Euro\t1.0000\n" * 100
        with open(os.path.join(folder, "rates.txt"), "wb") as f:
            f.write(body)
        server = rates_publisher.make_server(f.name, port=0)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        self.addCleanup(server.server_close)
        self.addCleanup(server.shutdown)
        over = rates_publisher.BODY_LIMIT + 1
        for answer, path, expected in [("ok", rates_publisher.RATES_PATH, (200, len(body))), ("ok", "/rates.txt", 404),
                                       ("not-found", rates_publisher.RATES_PATH, 404),
                                       ("empty", rates_publisher.RATES_PATH, (200, 0)),
                                       ("oversize", rates_publisher.RATES_PATH, (200, over)),
                                       ("cut", rates_publisher.RATES_PATH, "IncompleteRead"),
                                       ("hangup", rates_publisher.RATES_PATH, "RemoteDisconnected")]:
            server.answer = answer  # read at each request
            connection = self.enterContext(contextlib.closing(
                http.client.HTTPConnection("127.0.0.1", server.server_address[1], timeout=10)))
            connection.request("GET", path)
            try:
                reply = connection.getresponse()
                got = (200, min(len(reply.read()), over)) if reply.status == 200 else reply.status
            except (http.client.IncompleteRead, http.client.RemoteDisconnected) as error:
                got = type(error).__name__
            self.assertEqual(expected, got, answer)
