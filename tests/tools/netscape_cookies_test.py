#!/usr/bin/env python3
"""vellumin-scan --cookies --format netscape, read back by the programs the
format is for: Python's MozillaCookieJar, and curl sending the cookies to a
listener on the loopback interface. Every cookie must arrive as the cookie
files hold it.

    netscape_cookies_test.py VELLUMIN_SCAN
"""

import http.cookiejar
import http.server
import os
import shutil
import subprocess
import sys
import tempfile
import threading

SECONDS_FROM_1601_TO_1970 = 11644473600


def file_time(unix_seconds):
    ticks = (unix_seconds + SECONDS_FROM_1601_TO_1970) * 10_000_000
    return f"{ticks & 0xFFFFFFFF}\n{ticks >> 32}\n"


def record(name, value, host_path, flags, expires):
    return f"{name}\n{value}\n{host_path}\n{flags}\n{file_time(expires)}{file_time(1_600_000_000)}*\n"


# (name, value, host, path, secure, httponly, expires), as the files hold them.
FAR = 4_102_444_800  # 2100-01-01
COOKIES = {
    "taro@example.com[1].txt": [
        ("SID", "a1b2c3", "example.com", "/", False, True, FAR),
        ("theme", "dark", "example.com", "/mail/", False, False, FAR + 1),
        ("token", "s3cret", "example.com", "/", True, False, FAR + 2),
    ],
    "taro@localhost[1].txt": [
        ("local", "on", "localhost", "/", False, False, FAR + 3),
        ("both", "x=y", "localhost", "/app/", True, True, FAR + 4),
    ],
    "taro@shop.example.net[1].txt": [("cart", "item-42", "shop.example.net", "/cart/", False, False, FAR + 5)],
}


def flags(secure, httponly):
    return (1 if secure else 0) | (0x2000 if httponly else 0) | 0x600


def make_folder(folder):
    for file, cookies in COOKIES.items():
        with open(os.path.join(folder, file), "w", encoding="ascii", newline="") as out:
            for name, value, host, path, secure, httponly, expires in cookies:
                out.write(record(name, value, host + path, flags(secure, httponly), expires))
    # A value with a tab cannot be written: left out, with a warning; a file
    # that is no cookie file is only warned about.
    with open(os.path.join(folder, "taro@odd.example.com[1].txt"), "w", newline="") as out:
        out.write(record("bad", "a\tb", "odd.example.com/", 0x600, FAR))
    with open(os.path.join(folder, "taro@broken.example.com[1].txt"), "w", newline="") as out:
        out.write("one line\n")


def expected_domain(host):
    return host if host == "localhost" else "." + host


failures = []


def check(what, expected, actual):
    if expected != actual:
        failures.append(f"{what}:\n  expected {expected!r}\n  actual   {actual!r}")


def check_mozilla_jar(path):
    jar = http.cookiejar.MozillaCookieJar()
    jar.load(path)
    actual = sorted(
        (c.name, c.value, c.domain, c.path, c.secure, c.has_nonstandard_attr(http.cookiejar.HTTPONLY_ATTR), c.expires) for c in jar
    )
    expected = sorted(
        (name, value, expected_domain(host), path, secure, httponly, expires)
        for cookies in COOKIES.values()
        for name, value, host, path, secure, httponly, expires in cookies
    )
    check("MozillaCookieJar", expected, actual)


class Recorder(http.server.BaseHTTPRequestHandler):
    received = []

    def do_GET(self):
        Recorder.received.append((self.headers.get("Host", ""), self.path, self.headers.get("Cookie", "")))
        self.send_response(204)
        self.end_headers()

    def log_message(self, *args):
        pass


def check_curl(path, work):
    server = http.server.HTTPServer(("127.0.0.1", 0), Recorder)
    port = server.server_address[1]
    thread = threading.Thread(target=server.serve_forever, args=(0.05,), daemon=True)
    thread.start()
    try:
        # Over plain HTTP curl sends secure cookies to localhost only.
        requests = [("example.com", "/mail/inbox"), ("www.example.com", "/"), ("localhost", "/app/x"),
                    ("shop.example.net", "/cart/1"), ("example.net", "/cart/")]
        for host, target in requests:
            jar = os.path.join(work, "jar.txt")
            subprocess.run(["curl", "-sS", "--max-time", "10", "--cookie", path, "--cookie-jar", jar, "--resolve",
                            f"{host}:{port}:127.0.0.1", f"http://{host}:{port}{target}"], check=True)
        received = {(host.split(":")[0], target): sorted(filter(None, cookie.split("; ")))
                    for host, target, cookie in Recorder.received}
        for host, target in requests:
            expected = sorted(
                f"{name}={value}"
                for cookies in COOKIES.values()
                for name, value, cookie_host, cookie_path, secure, _, _ in cookies
                if (host == cookie_host or host.endswith("." + cookie_host)) and target.startswith(cookie_path)
                and (not secure or host == "localhost")
            )
            check(f"cookies curl sent to {host}{target}", expected, received.get((host, target)))
        # What curl read, written back out: every field of every cookie.
        with open(jar, encoding="utf-8") as written:
            lines = sorted(line.rstrip("\n") for line in written if line.strip() and
                           (not line.startswith("#") or line.startswith("#HttpOnly_")))
        expected = sorted(
            ("#HttpOnly_" if httponly else "") +
            "\t".join([expected_domain(host), "FALSE" if host == "localhost" else "TRUE", path,
                       "TRUE" if secure else "FALSE", str(expires), name, value])
            for cookies in COOKIES.values()
            for name, value, host, path, secure, httponly, expires in cookies
        )
        check("the cookies curl read", expected, lines)
    finally:
        server.shutdown()


def main():
    scan = sys.argv[1]
    work = tempfile.mkdtemp()
    try:
        folder = os.path.join(work, "cookies")
        os.mkdir(folder)
        make_folder(folder)
        result = subprocess.run([scan, "--cookies", "--format", "netscape", folder], capture_output=True)
        check("exit status", 0, result.returncode)
        output = result.stdout.decode("utf-8")
        check("header", "# Netscape HTTP Cookie File\n", output.splitlines(True)[0])
        check("warnings", [
            "vellumin-scan: taro@broken.example.com[1].txt: not a cookie file: line 2: the text ends inside a record",
            "vellumin-scan: taro@odd.example.com[1].txt: cookie 1 left out: a control character in it cannot go "
            "into a Netscape cookie file"], result.stderr.decode("utf-8").splitlines())
        path = os.path.join(work, "cookies.txt")
        with open(path, "w", encoding="utf-8") as out:
            out.write(output)
        check_mozilla_jar(path)
        if shutil.which("curl"):
            check_curl(path, work)
        else:
            print("no curl: the cookies were not sent through it")
    finally:
        shutil.rmtree(work)
    for failure in failures:
        print("FAIL: " + failure)
    if not failures:
        print("vellumin-scan --format netscape: MozillaCookieJar and curl read every cookie")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
