"""A throwaway RFC 3161 time-stamp server for the signing tests: answers each time-stamp request
over HTTP with `openssl ts -reply`, signed by a self-made time-stamping certificate, on a free
port of the loopback interface."""

import http.server
import os
import subprocess
import threading

CONFIG = """[tsa]
default_tsa = tsa_config
[tsa_config]
serial = {folder}/serial
signer_cert = {folder}/tsa.pem
signer_key = {folder}/tsa-key.pem
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha256, sha1
accuracy = secs:1
ess_cert_id_alg = sha256
"""


class TimeStampServer:
    """Runs until stop(); url is where osslsigncode's -ts finds it, certificate the file to verify
    its time stamps with."""

    def __init__(self, folder):
        self.folder = folder
        self.certificate = os.path.join(folder, "tsa.pem")
        self.requests = 0
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                        "-subj", "/CN=Launcher menu test time-stamp server",
                        "-addext", "extendedKeyUsage=critical,timeStamping",
                        "-keyout", os.path.join(folder, "tsa-key.pem"), "-out", self.certificate],
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=True)
        with open(os.path.join(folder, "serial"), "w") as f:
            f.write("01\n")
        self.config = os.path.join(folder, "tsa.cnf")
        with open(self.config, "w") as f:
            f.write(CONFIG.format(folder=folder))
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_POST(self):
                query = self.rfile.read(int(self.headers.get("Content-Length", 0)))
                reply = server.reply(query)
                self.send_response(200 if reply else 500)
                self.send_header("Content-Type", "application/timestamp-reply")
                self.send_header("Content-Length", str(len(reply)))
                self.end_headers()
                self.wfile.write(reply)

            def log_message(self, *args):
                pass

        self.httpd = http.server.HTTPServer(("127.0.0.1", 0), Handler)
        self.url = "http://127.0.0.1:%d" % self.httpd.server_port
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def reply(self, query):
        self.requests += 1
        request = os.path.join(self.folder, "request.tsq")
        response = os.path.join(self.folder, "reply.tsr")
        with open(request, "wb") as f:
            f.write(query)
        result = subprocess.run(["openssl", "ts", "-reply", "-config", self.config,
                                 "-queryfile", request, "-out", response],
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        if result.returncode != 0:
            return b""
        with open(response, "rb") as f:
            return f.read()

    def stop(self):
        self.httpd.shutdown()
        self.httpd.server_close()
        self.thread.join(timeout=10)
