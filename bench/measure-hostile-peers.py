#!/usr/bin/env python3
"""Measures how glyphwell-server holds up against hostile peers, on 127.0.0.1 only.

usage: measure-hostile-peers.py BIN_DIR   (BIN_DIR holds glyphwell-server)

Prints: the answer time of a normal GET while 50 clients send their request header one byte a
second; how long such a client is kept; the service's peak memory (VmHWM) before and after a
1 MB gzip request body that inflates to about 1 GB; the status of that request and of one over
the body cap. Every client stops by itself; the whole run takes well under a minute.
"""
import http.client
import os
import socket
import subprocess
import sys
import tempfile
import threading
import time
import zlib

SLOW_CLIENTS = 50
SLOW_CLIENT_SECONDS = 20
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def peak_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return -1


def timed_get(port, path, timeout=60):
    start = time.monotonic()
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=timeout)
    connection.request("GET", path)
    response = connection.getresponse()
    response.read()
    connection.close()
    return response.status, time.monotonic() - start


def slow_client(port, kept, stop):
    """Sends a request header one byte a second; records how long the server kept it."""
    header = b"GET /ztym.txt HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: " + b"x" * 200 + b"\r\n\r\n"
    start = time.monotonic()
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=5) as s:
            for byte in header:
                if stop.is_set() or time.monotonic() - start > SLOW_CLIENT_SECONDS:
                    break
                s.sendall(bytes([byte]))
                time.sleep(1)
    except OSError:
        pass
    kept.append(time.monotonic() - start)


def post(port, path, body, headers, timeout=120):
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=timeout)
    try:
        connection.request("POST", path, body=body, headers=headers)
        response = connection.getresponse()
        response.read()
        return response.status
    except OSError as error:
        return f"connection dropped ({error.__class__.__name__})"
    finally:
        connection.close()


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    server = os.path.join(sys.argv[1], "glyphwell-server")
    with tempfile.TemporaryDirectory() as work:
        manifest = os.path.join(work, "site.manifest")
        with open(manifest, "w") as out:
            out.write(f"version\t1.0\ncategory\t中文字体\nsubcategory\t黑体\n"
                      f"font\tDejaVu Sans\tsans\t{FONT}\n")
        root = os.path.join(work, "root")
        subprocess.run([server, "build", "--manifest", manifest, "--out", root], check=True,
                       stdout=subprocess.DEVNULL)
        port = free_port()
        process = subprocess.Popen([server, "serve", "--root", root, "--port", str(port)],
                                   stdout=subprocess.DEVNULL)
        try:
            for _ in range(100):
                try:
                    timed_get(port, "/ztym.txt", timeout=1)
                    break
                except OSError:
                    time.sleep(0.05)
            status, quiet = timed_get(port, "/ztym.txt")
            print(f"normal GET, quiet service: {status} in {quiet * 1000:.1f} ms")

            stop = threading.Event()
            kept = []
            slow = [threading.Thread(target=slow_client, args=(port, kept, stop))
                    for _ in range(SLOW_CLIENTS)]
            for thread in slow:
                thread.start()
            time.sleep(2)
            status, busy = timed_get(port, "/ztym.txt")
            print(f"normal GET, {SLOW_CLIENTS} slow clients: {status} in {busy * 1000:.1f} ms")
            for thread in slow:
                thread.join()
            stop.set()
            print(f"slow clients kept by the service: {min(kept):.1f} s to {max(kept):.1f} s "
                  f"(a client gives up after {SLOW_CLIENT_SECONDS} s)")

            print(f"peak memory before the gzip request: {peak_kib(process.pid) / 1024:.1f} MiB")
            packer = zlib.compressobj(9, zlib.DEFLATED, 31)
            zeros = bytes(1 << 20)
            bomb = b"".join(packer.compress(zeros) for _ in range(1000)) + packer.flush()
            status = post(port, "/recognize", bomb,
                          {"Content-Encoding": "gzip", "Content-Type": "application/octet-stream"})
            print(f"gzip body of {len(bomb) / 1e6:.2f} MB (1000 MiB inflated): {status}; "
                  f"peak memory after it: {peak_kib(process.pid) / 1024:.1f} MiB")
            status = post(port, "/recognize", bytes(9 << 20),
                          {"Content-Type": "application/octet-stream"})
            print(f"plain body of 9 MiB: {status}")
            status, after = timed_get(port, "/ztym.txt")
            print(f"normal GET afterwards: {status} in {after * 1000:.1f} ms")
        finally:
            process.terminate()
            process.wait(timeout=30)


if __name__ == "__main__":
    main()
