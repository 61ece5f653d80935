"""The service on its own, against a recorded forecast upstream on 127.0.0.1:
its pages, the update site, and the fault table (upstream down, hung, slow,
malformed; unknown cities; hostile requests; 1,000 clients at once; a stop
while requests run)."""
import asyncio
import resource
import socket
import sys
import threading
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools"))
from harness import free_port  # noqa: E402
from recorded_upstream import RecordedUpstream  # noqa: E402
from server_pages import MARKER, city_query, get, weather  # noqa: E402
from torvane_service import build_ip_database, TorvaneService  # noqa: E402

DATABASE = build_ip_database([
    ("127.0.0.0", "127.0.0.1", "中国|0|广东省|深圳市|电信"),
    ("127.0.0.2", "127.0.0.2", "中国|0|内蒙古|呼伦贝尔市|移动"),
    ("127.0.0.3", "127.0.0.3", "0|0|0|内网IP|内网IP"),
    ("127.0.0.4", "127.0.0.4", "中国|0|北京|北京市|联通"),
    ("127.0.0.5", "127.255.255.255", "美国|0|加利福尼亚|圣何塞|0"),
])


def place_of(body):
    text = body.decode("gbk")
    at = text.find("来自：")
    return None if at < 0 else text[at + 3:text.index("<", at)]


class ServiceTest(unittest.TestCase):
    def setUp(self):
        self.upstream = RecordedUpstream().start()
        self.addCleanup(self.upstream.stop)

    def service(self, upstream=None, **options):
        options.setdefault("ip_database", DATABASE)
        service = TorvaneService(upstream or self.upstream.base, **options).start()
        self.addCleanup(service.stop)
        return service

    def assert_alive(self, service):
        self.assertIsNone(service.proc.poll(), "the service ended")
        self.assertEqual(get(service.base + "/healthz")[0], 200)

    def test_location_by_address_and_by_a_trusted_proxys_forwarding(self):
        service = self.service(trusted_proxies=["127.0.0.1"])
        untrusting = self.service()
        cases = [
            (service, {}, "广东省深圳市 电信"),
            (service, {"X-Forwarded-For": "127.0.0.2, 127.0.0.1"}, "内蒙古自治区海拉尔市 移动"),
            (service, {"X-Forwarded-For": "127.0.0.4"}, "北京市 联通"),
            (service, {"X-Forwarded-For": "127.0.0.3"}, None),   # private range
            (service, {"X-Forwarded-For": "127.0.0.9"}, None),   # abroad
            # A header's bytes as they come: UTF-8 Chinese claiming a place.
            (service, {"X-Forwarded-For": "来自：广东省深圳市".encode().decode("latin-1")}, None),
            (service, {"X-Forwarded-For": "::1"}, None),
            (untrusting, {"X-Forwarded-For": "127.0.0.2"}, "广东省深圳市 电信"),
        ]
        for which, headers, place in cases:
            with self.subTest(headers=headers):
                status, answer_headers, body = get(which.base + "/ic.asp", headers)
                self.assertEqual(status, 200)
                self.assertIn("gb2312", answer_headers["Content-Type"])
                self.assertEqual(place_of(body), place)

    def test_without_a_database_location_names_no_place_and_weather_works(self):
        service = self.service(ip_database=Path("/nonexistent/ip2region.db"))
        self.assertEqual(place_of(get(service.base + "/ic.asp")[2]), None)
        self.assertIsNotNone(weather(service.base, "深圳"))

    def test_weather_faults_answer_at_once_without_the_marker(self):
        closed = f"http://127.0.0.1:{free_port()}"
        cases = [(None, "深圳", True), ("down", "广州", False), ("hang", "杭州", False),
                 ("slow", "南京", False), ("malformed", "成都", False), ("partial", "武汉", False),
                 ("500", "西安", False), ("close", "长沙", False)]
        service = self.service()
        down = self.service(upstream=closed)
        for mode, city, marked in cases:
            with self.subTest(mode=mode):
                self.upstream.set_mode(None if mode == "down" else mode)
                # slow: the answer comes after 4 s; the service gives up at 3 s.
                status, _, body = get((down if mode == "down" else service).base + city_query(city))
                self.assertEqual(status, 200)
                self.assertEqual(MARKER in body.decode("gbk"), marked)
        self.upstream.set_mode(None)
        self.assert_alive(service)

    def test_unknown_cities_and_hostile_queries_answer_a_page_without_the_marker(self):
        service = self.service()
        asked = self.upstream.count()
        for query in ["city=%BB%F0%D0%C7", "city=", "", "city=%G1%20", "city=%C9", "city=%FF%FF%FF",
                      "city=%C9%EE%00", "city=" + "%C9%EE" * 2000, "city=" + "A" * 6000,
                      "city=../../etc/passwd", "city=%25%32%35", "city=" + "%C9%EE" * 3000]:
            with self.subTest(query=query[:30]):
                status, _, body = get(service.base + "/search.php?" + query)
                # A request line past 8 KB is refused whole.
                self.assertEqual(status, 200 if len(query) < 8000 else 400)
                self.assertNotIn(MARKER, body.decode("gbk"))
        self.assertEqual(self.upstream.count(), asked, "no upstream call for a city not in the table")
        self.assert_alive(service)

    def test_malformed_requests_are_refused_and_the_service_goes_on(self):
        service = self.service()
        raw = [b"GET /" + b"a" * 20000 + b" HTTP/1.1\r\nHost: x\r\n\r\n",
               b"GET /ic.asp HTTP/1.1\r\nHost: x\r\nX-Big: " + b"b" * 20000 + b"\r\n\r\n",
               b"\x00\xff\xfe garbage\r\n\r\n", b"GET /ic.asp\r\n\r\n",
               b"POST /ic.asp HTTP/1.1\r\nHost: x\r\nContent-Length: 100000\r\n\r\n" + b"x" * 100000,
               b"GET /ic.asp HTTP/1.1\r\nHost: x\r\n"]  # never finished: the client leaves
        # Each is answered 400, and the answer arrives: the service reads what
        # a refused request still sends rather than resetting the connection.
        for request in raw:
            with self.subTest(request=request[:20]):
                with socket.create_connection(("127.0.0.1", service.port), timeout=30) as s:
                    s.sendall(request)
                    s.shutdown(socket.SHUT_WR)
                    answer = s.recv(65536)
                    self.assertTrue(answer.startswith(b"HTTP/1.1 400"), answer[:40])
        self.assertEqual(get(service.base + "/tg/../ip2region.db")[0], 404)
        self.assertEqual(get(service.base + "/nothing")[0], 404)
        self.assert_alive(service)

    def test_a_stale_page_is_served_when_the_upstream_fails(self):
        service = self.service(cache_seconds=1)
        first = get(service.base + city_query("拉萨"))[2]
        self.assertIn(MARKER, first.decode("gbk"))
        fetched = self.upstream.count()
        self.upstream.set_mode("hang")
        # Once the page is over a second old the next search fetches again,
        # the upstream hangs, and the old page answers.
        answers = []
        def fetched_again():
            answers.append(get(service.base + city_query("拉萨"))[2])
            return self.upstream.count() > fetched
        self.assertTrue(self.wait_until(fetched_again, timeout=20))
        self.assertEqual(answers[-1], first)

    def test_concurrent_searches_for_a_city_make_one_upstream_call(self):
        service = self.service()
        self.upstream.set_mode("slow", delay=1.0)
        asked = self.upstream.count()
        answers = []
        def search():
            answers.append(get(service.base + city_query("昆明"))[2])
        threads = [threading.Thread(target=search) for _ in range(40)]
        for t in threads:
            t.start()
        for t in threads:
            t.join(60)
        self.assertEqual(len(answers), 40)
        self.assertEqual(self.upstream.count(), asked + 1)
        self.assertEqual(len(set(answers)), 1)
        self.assertIn(MARKER, answers[0].decode("gbk"))

    def test_a_thousand_clients_at_once_all_get_their_page(self):
        soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
        if hard != resource.RLIM_INFINITY and hard < 1100:
            self.skipTest(f"this machine allows {hard} open files, fewer than 1,000 clients need")
        resource.setrlimit(resource.RLIMIT_NOFILE, (max(soft, min(hard, 4096)), hard))
        service = self.service()
        self.assertIsNotNone(weather(service.base, "深圳"))  # the page is cached
        search = city_query("深圳")

        async def client(i):
            reader, writer = await asyncio.open_connection("127.0.0.1", service.port)
            target = "/ic.asp" if i % 2 else search
            writer.write(f"GET {target} HTTP/1.1\r\nHost: t\r\nConnection: close\r\n\r\n".encode())
            await writer.drain()
            answer = await reader.read()
            writer.close()
            return answer

        async def all_clients():
            return await asyncio.wait_for(asyncio.gather(*(client(i) for i in range(1000))), 120)

        answers = asyncio.run(all_clients())
        self.assertEqual(sum(a.startswith(b"HTTP/1.1 200") for a in answers), 1000)
        self.assertEqual(sum("来自：广东省深圳市".encode("gbk") in a for a in answers), 500)
        self.assertEqual(sum(MARKER.encode() in a for a in answers), 500)
        self.assert_alive(service)

    def test_sigterm_lets_a_running_request_finish_then_ends(self):
        service = self.service()
        self.upstream.set_mode("hang")
        answers = []
        thread = threading.Thread(target=lambda: answers.append(get(service.base + city_query("银川"))))
        thread.start()
        self.assertTrue(self.wait_until(lambda: self.upstream.count() >= 1))
        self.assertEqual(service.stop(), 0)
        thread.join(30)
        self.assertEqual(answers[0][0], 200)
        self.assertNotIn(MARKER, answers[0][2].decode("gbk"))

    def test_update_site_files_as_they_are_with_cache_control_and_a_log(self):
        installer = bytes(range(256)) * 4000
        site = {"index.html": "<html><body>2.1 更新说明</body></html>".encode("utf-8"),
                "version.txt": b"[Version]\r\nVersion=2.1\r\n", "torvane-setup-2.1.exe": installer}
        service = self.service(site=site)
        ages = {}
        for path, name in [("/tg/", "index.html"), ("/tg/version.txt", "version.txt"),
                           ("/tg/torvane-setup-2.1.exe", "torvane-setup-2.1.exe")]:
            status, headers, body = get(service.base + path)
            self.assertEqual((status, body), (200, site[name]), path)
            ages[name] = int(headers["Cache-Control"].split("max-age=")[1].split(",")[0])
        self.assertLess(ages["version.txt"], 3600)
        self.assertGreaterEqual(ages["torvane-setup-2.1.exe"], 86400)
        self.assertTrue(self.wait_until(lambda: any(r["target"] == "/tg/version.txt" and r["status"] == 200
                                                    for r in service.log())))

    @staticmethod
    def wait_until(predicate, timeout=15.0):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if predicate():
                return True
            time.sleep(0.05)
        return bool(predicate())


if __name__ == "__main__":
    unittest.main()
