"""An HTTPS server on 127.0.0.1 for tests and benchmarks, with certificates made on the spot.

Usage: serve_https.py DIR ROOT
Makes in DIR a throw-away CA (ca.pem), a second CA that signs nothing (other-ca.pem) and two
server certificates signed by the first: one for 127.0.0.1 and one for another host name. Serves
ROOT over HTTP/1.1 with keep-alive on two ports, one per certificate, and prints
"PORT WRONG_HOST_PORT" on the first line of standard output once both accept connections.
Then it prints the events the tests wait for, one per line: "connect" for every accepted
connection, "stalled" when a request is held back and "closed" when its client leaves.

Station codes with a behaviour of their own:
  STAL  the answer never comes
  CUTS  the connection closes in the middle of the body
  REDI  a redirect to the same file over plain http
"""
import http.server
import os
import ssl
import subprocess
import sys
import threading

STATIONS = "/data/observations/metar/stations/"


def openssl(*args, cwd):
    subprocess.run(["openssl", *args], cwd=cwd, check=True, capture_output=True)


def make_ca(name, cwd):
    openssl("req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
            "-nodes", "-keyout", name + ".key", "-out", name + ".pem", "-days", "2",
            "-subj", "/CN=Nimbrel test " + name, "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign", cwd=cwd)


def make_server_cert(name, alt_name, cwd):
    openssl("req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
            "-keyout", name + ".key", "-out", name + ".csr", "-subj", "/CN=" + name, cwd=cwd)
    with open(os.path.join(cwd, name + ".ext"), "w") as ext:
        ext.write("subjectAltName=" + alt_name + "\nbasicConstraints=CA:FALSE\n"
                  "extendedKeyUsage=serverAuth\n")
    openssl("x509", "-req", "-in", name + ".csr", "-CA", "ca.pem", "-CAkey", "ca.key",
            "-CAcreateserial", "-out", name + ".pem", "-days", "2", "-extfile", name + ".ext",
            cwd=cwd)


class Handler(http.server.SimpleHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    disable_nagle_algorithm = True  # headers and body go out as separate writes
    events = None

    def setup(self):
        super().setup()
        self.events("connect")

    def do_GET(self):
        code = self.path[len(STATIONS):-4] if self.path.startswith(STATIONS) else ""
        if code == "STAL":
            self.events("stalled")
            while self.connection.recv(1):
                pass
            self.events("closed")
            self.close_connection = True
        elif code == "CUTS":
            self.send_response(200)
            self.send_header("Content-Length", "1000")
            self.end_headers()
            self.wfile.write(b"2026/12/08 05:30\nCUTS 0805")
            self.wfile.flush()
            self.close_connection = True
        elif code == "REDI":
            self.send_response(302)
            self.send_header("Location", "http://127.0.0.1:%d%sEHAM.TXT"
                             % (self.server.server_address[1], STATIONS))
            self.send_header("Content-Length", "0")
            self.end_headers()
        else:
            super().do_GET()

    def log_message(self, *args):
        pass


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # a client that drops a transfer it does not want is no news


def serve(root, cert, events):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert + ".pem", cert + ".key")
    handler = type("BoundHandler", (Handler,), {"events": staticmethod(events)})
    server = Server(("127.0.0.1", 0),
                    lambda *a: handler(*a, directory=root))
    server.socket = context.wrap_socket(server.socket, server_side=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]


def main():
    folder, root = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    make_ca("ca", folder)
    make_ca("other-ca", folder)
    make_server_cert("server", "IP:127.0.0.1", folder)
    make_server_cert("wrong-host", "DNS:elsewhere.invalid", folder)
    lock = threading.Lock()

    def events(line):
        with lock:
            print(line, flush=True)

    os.chdir(folder)
    ports = [serve(root, name, events) for name in ("server", "wrong-host")]
    print(*ports, flush=True)
    threading.Event().wait()


if __name__ == "__main__":
    main()
