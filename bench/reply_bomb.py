#!/usr/bin/python3
"""Peak memory of one `nimbrel-cli fetch` against servers whose replies are as large as the
reply reader's per-line and per-reply line limits let through: 999 continuation lines of 65,000
bytes each, as the answer to USER (a 530 refusal) and as the answer to FEAT (a 211 feature list).

Usage: bench/reply_bomb.py [NIMBREL_CLI]   (default build/default/nimbrel-cli)
Prints, per scenario, the exit code, the peak resident set size of the CLI (GNU time) and the
size of the JSON it printed. Measured, not asserted: compare the numbers between builds.
"""
import os
import socket
import subprocess
import sys
import tempfile
import threading

LINES, WIDTH = 999, 65000


def bomb(code):
    body = b"".join(b"%d-" % code + b"x" * WIDTH + b"\r\n" for _ in range(LINES))
    return body + b"%d End.\r\n" % code


SCENARIOS = {
    "530 reply to USER": {b"USER": bomb(530)},
    "211 reply to FEAT": {b"USER": b"331 Password.\r\n", b"PASS": b"230 In.\r\n", b"FEAT": bomb(211)},
}


def serve(listener, replies):
    while True:
        try:
            conn, _ = listener.accept()
        except OSError:
            return
        with conn:
            conn.sendall(b"220 Bomb ready.\r\n")
            pending = b""
            try:
                while True:
                    chunk = conn.recv(4096)
                    if not chunk:
                        break
                    pending += chunk
                    while b"\n" in pending:
                        line, pending = pending.split(b"\n", 1)
                        verb = line.strip().split(b" ")[0].upper()
                        if verb == b"QUIT":
                            conn.sendall(b"221 Bye.\r\n")
                            raise ConnectionResetError
                        conn.sendall(replies.get(verb, b"502 Not here.\r\n"))
            except OSError:
                pass


def measure(cli, replies):
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)
    port = listener.getsockname()[1]
    threading.Thread(target=serve, args=(listener, replies), daemon=True).start()
    # GNU time reports the CLI's own peak: a process forked from this one (which holds the
    # bombs) would count this one's memory as its own.
    with tempfile.NamedTemporaryFile("r") as peak, open(os.devnull, "wb") as sink:
        run = subprocess.Popen(["/usr/bin/time", "-f", "%M", "-o", peak.name, cli, "fetch",
                                "--server", "127.0.0.1:%d" % port, "EHAM"],
                               stdout=subprocess.PIPE, stderr=sink)
        printed = 0
        while True:
            chunk = run.stdout.read(1 << 20)
            if not chunk:
                break
            printed += len(chunk)
        code = run.wait()
        rss_kib = int(peak.read().split()[-1])
    listener.close()
    return code, rss_kib, printed


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    cli = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build/default/nimbrel-cli")
    if not os.access(cli, os.X_OK):
        sys.exit("no nimbrel-cli at %s (build it first)" % cli)
    if not os.access("/usr/bin/time", os.X_OK):
        sys.exit("GNU time is missing (apt-get install time)")
    for name, replies in SCENARIOS.items():
        code, rss_kib, printed = measure(cli, replies)
        print("%-20s exit %d  peak RSS %7.1f MiB  JSON %10d bytes"
              % (name, code, rss_kib / 1024, printed))


if __name__ == "__main__":
    main()
