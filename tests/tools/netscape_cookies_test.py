#!/usr/bin/env python3
"""vellumin-scan --cookies --format netscape, read back by the programs the
format is for: Python's MozillaCookieJar, and curl and wget sending the
cookies to a listener on the loopback interface. Every cookie must arrive as
the cookie files hold it (wget drops HttpOnly cookies: it reads their lines
as comments), and a cookie whose host any of them would read as another one,
or not at all, is left out with a warning that says why.

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
import urllib.parse

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
    # Whole cookies before a record that strays (make_folder() adds it)
    # are written all the same.
    "taro@cut.example[1].txt": [
        ("kept", "1", "cut.example", "/", False, False, FAR + 10),
        ("also", "2", "cut.example", "/a/", True, False, FAR + 11),
    ],
    # Cookies are not kept apart by port: written without it.
    "taro@port.example[1].txt": [
        ("lang", "ja", "example.net:8080", "/", False, False, FAR + 6),
        ("v6", "1", "[::1]:8080", "/", False, False, FAR + 7),
        ("v6bare", "2", "::1", "/", False, False, FAR + 8),
        ("v4", "3", "127.0.0.1:", "/", False, True, FAR + 9),
    ],
}
WRITTEN_HOST = {"example.net:8080": "example.net", "[::1]:8080": "[::1]", "127.0.0.1:": "127.0.0.1"}

# Cookies left out, by the file's host (CP932 bytes), with the reason each
# warning must give.
LEFT_OUT = [
    (b":8080", "its host is empty"),
    (b"a b.example", "its host holds a blank"),
    (b"a\x1bb.example", "a control character in its host cannot go into a Netscape cookie file"),
    (b"#x", 'its host starts with "#", which reads as a comment'),
    (b"$x", 'its host starts with "$", which Python reads as a comment'),
    # Python strips the full-width blank before it looks for a comment.
    (b"\x81\x40#x", 'its host starts with a full-width blank and "#", which reads as a comment'),
    (b"\x81\x40\x81\x40$x.example", 'its host starts with a full-width blank and "$", which Python reads as a comment'),
    (b"set-cookie:x", 'its host starts with "Set-Cookie:", which curl reads as a header'),
    (b"..example.org", "its host starts with two dots, which curl reads as one"),
]
# Hosts that look odd but read back whole everywhere: written.
KEPT = [
    ("Set-Cookie", b"set-cookie:80", "set-cookie"),
    ("wide", b"\x81\x40x.example", ".\u3000x.example"),
]


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
    with open(os.path.join(folder, "taro@hosts.example[1].txt"), "wb") as out:
        for number, (host, _) in enumerate(LEFT_OUT, 1):
            out.write(record(f"gone{number}", "x", "HOST/", 0x600, FAR).encode().replace(b"HOST", host))
        for name, host, _ in KEPT:
            out.write(record(name, "y", "HOST/", 0x600, FAR).encode().replace(b"HOST", host))
    with open(os.path.join(folder, "taro@broken.example.com[1].txt"), "w", newline="") as out:
        out.write("one line\n")
    # A record for no host strays: the cookies before it stay, the rest goes.
    with open(os.path.join(folder, "taro@cut.example[1].txt"), "a", newline="") as out:
        out.write(record("nohost", "x", "/", 0x600, FAR) + record("after", "x", "cut.example/", 0x600, FAR))
    # One cookie for bank.example to the browser and to the readers, whose
    # name holds CRs: no line ends there, so no cookie for .attacker.example
    # comes out of it (and the name, with its control characters, cannot be
    # written).
    with open(os.path.join(folder, "taro@crafted.example[1].txt"), "wb") as out:
        out.write(b"n\rv\r.attacker.example/\r1536\r0\r0\r0\r0\r*\rSID\nsecret\nbank.example/\n1536\n" +
                  file_time(FAR).encode() + file_time(1_600_000_000).encode() + b"*\n")


def written_host(host):
    return WRITTEN_HOST.get(host, host)


def subdomains(host):
    host = written_host(host)
    return host != "localhost" and ":" not in host and not host.replace(".", "").isdigit()


def expected_domain(host):
    return ("." if subdomains(host) else "") + written_host(host)


# Every cookie each reader must read back, as sorted tuples.
def expected_cookies(with_httponly=True):
    cookies = [(name, value, expected_domain(host), path, secure, httponly, expires)
               for cookies in COOKIES.values()
               for name, value, host, path, secure, httponly, expires in cookies if with_httponly or not httponly]
    cookies += [(name, "y", domain, "/", False, False, FAR) for name, _, domain in KEPT]
    return sorted(cookies)


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
    check("MozillaCookieJar", expected_cookies(), actual)


class Recorder(http.server.BaseHTTPRequestHandler):
    received = []

    def do_GET(self):
        # Through a proxy (wget) the target comes as a whole URL.
        target = urllib.parse.urlsplit(self.path).path if "://" in self.path else self.path
        Recorder.received.append((self.headers.get("Host", "").split(":")[0], target, self.headers.get("Cookie", "")))
        self.send_response(204)
        self.end_headers()

    def log_message(self, *args):
        pass


# Requests to the hosts of the cookies above, and one to a parent domain
# that the browser sent none of them to.
REQUESTS = [("example.com", "/mail/inbox"), ("www.example.com", "/"), ("localhost", "/app/x"),
            ("shop.example.net", "/cart/1"), ("example.net", "/cart/"), ("www.example.net", "/"), ("example.org", "/")]


def expected_sent(host, target, secure_ok):
    return sorted(
        f"{name}={value}"
        for cookies in COOKIES.values()
        for name, value, cookie_host, cookie_path, secure, httponly, _ in cookies
        if (host == written_host(cookie_host) or (subdomains(cookie_host) and host.endswith("." + written_host(cookie_host))))
        and target.startswith(cookie_path) and (not secure or secure_ok(host))
    )


# Sends REQUESTS through `send(host, target, port)` to a listener on the
# loopback interface; the cookies each one carried.
def send_all(send):
    server = http.server.HTTPServer(("127.0.0.1", 0), Recorder)
    port = server.server_address[1]
    thread = threading.Thread(target=server.serve_forever, args=(0.05,), daemon=True)
    thread.start()
    Recorder.received = []
    try:
        for host, target in REQUESTS:
            send(host, target, port)
    finally:
        server.shutdown()
    return {(host, target): sorted(filter(None, cookie.split("; "))) for host, target, cookie in Recorder.received}


# The cookie lines of a file a reader wrote back, HttpOnly ones included.
def cookie_lines(jar):
    with open(jar, encoding="utf-8") as written:
        return sorted(line.rstrip("\n") for line in written if line.strip() and
                      (not line.startswith("#") or line.startswith("#HttpOnly_")))


def netscape_lines(cookies):
    return sorted(("#HttpOnly_" if httponly else "") +
                  "\t".join([domain, "TRUE" if domain.startswith(".") else "FALSE", path, "TRUE" if secure else "FALSE",
                             str(expires), name, value])
                  for name, value, domain, path, secure, httponly, expires in cookies)


def check_curl(path, work):
    jar = os.path.join(work, "curl-jar.txt")

    def send(host, target, port):
        subprocess.run(["curl", "-sS", "--max-time", "10", "--cookie", path, "--cookie-jar", jar, "--resolve",
                        f"{host}:{port}:127.0.0.1", f"http://{host}:{port}{target}"], check=True)

    received = send_all(send)
    for host, target in REQUESTS:
        # Over plain HTTP curl sends secure cookies to localhost only.
        check(f"cookies curl sent to {host}{target}", expected_sent(host, target, lambda h: h == "localhost"),
              received.get((host, target)))
    # What curl read, written back out: every field of every cookie.
    check("the cookies curl read", netscape_lines(expected_cookies()), cookie_lines(jar))


def check_wget(path, work):
    jar = os.path.join(work, "wget-jar.txt")

    def send(host, target, port):
        # wget has no --resolve: the listener is its proxy, and the URL's
        # host decides the cookies all the same.
        subprocess.run(["wget", "-q", "-O", "/dev/null", "--timeout=10", "--tries=1", "-e", "use_proxy=on", "-e",
                        f"http_proxy=http://127.0.0.1:{port}/", "--load-cookies", path, "--save-cookies", jar,
                        "--keep-session-cookies", f"http://{host}{target}"], check=True)

    received = send_all(send)
    for host, target in REQUESTS:
        # wget reads an HttpOnly cookie's line as a comment, and sends a
        # secure cookie over HTTPS only.
        expected = sorted(set(expected_sent(host, target, lambda h: False)) -
                          {f"{name}={value}" for cookies in COOKIES.values()
                           for name, value, _, _, _, httponly, _ in cookies if httponly})
        check(f"cookies wget sent to {host}{target}", expected, received.get((host, target)))
    check("the cookies wget read", netscape_lines(expected_cookies(with_httponly=False)), cookie_lines(jar))


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
        check("no cookie from a lone CR", False, "attacker" in output)
        check("warnings", [
            "vellumin-scan: taro@broken.example.com[1].txt: not a cookie file: line 2: the text ends inside a record",
            "vellumin-scan: taro@crafted.example[1].txt: cookie 1 left out: a control character in its name cannot go "
            "into a Netscape cookie file",
            "vellumin-scan: taro@cut.example[1].txt: strays from the cookie format after 2 whole cookies: "
            "line 21: no host before the \"/\""] +
            [f"vellumin-scan: taro@hosts.example[1].txt: cookie {number} left out: {why}"
             for number, (_, why) in enumerate(LEFT_OUT, 1)] +
            ["vellumin-scan: taro@odd.example.com[1].txt: cookie 1 left out: a control character in its value cannot go "
             "into a Netscape cookie file"], result.stderr.decode("utf-8").splitlines())
        path = os.path.join(work, "cookies.txt")
        with open(path, "w", encoding="utf-8") as out:
            out.write(output)
        check_mozilla_jar(path)
        for reader, check_reader in (("curl", check_curl), ("wget", check_wget)):
            if shutil.which(reader):
                check_reader(path, work)
            else:
                print(f"no {reader}: the cookies were not sent through it")
    finally:
        shutil.rmtree(work)
    for failure in failures:
        print("FAIL: " + failure)
    if not failures:
        print("vellumin-scan --format netscape: MozillaCookieJar, curl and wget read every cookie they can")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
