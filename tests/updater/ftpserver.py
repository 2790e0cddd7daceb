#!/usr/bin/python3
"""The FTP server the updater tests talk to, on loopback only.

One served folder, one password, several users that each see the server differently:

  tovel   MLSD offered in FEAT, names in UTF-8 after OPTS UTF8 ON (a modern server)
  unix    no MLSD: LIST in the Unix ls -l form, names in UTF-8
  dos     no MLSD: LIST in the DOS/IIS form ("MM-DD-YY  hh:mmAM  <DIR>  name")
  cp949   no MLSD, no UTF8: LIST in the Unix form with names in code page 949
  slow    like tovel, but every reply waits --delay seconds first
  stall   like tovel, but every reply after the login waits --stall seconds
  nosize  like tovel, but SIZE is not a command it knows (502)

Faults, whoever asks: a file whose name contains "cutshort" is sent with only its
first half followed by "226 Transfer complete."; one whose name contains "dropped"
loses its data connection half way (the server replies 426); one whose name contains
"oversize" is sent with ten bytes more than SIZE says, then 226; SIZE of a file whose
name contains "zerosize" answers "213 0", as servers that cannot tell do.

Prints the port it listens on to --port-file once it serves. The password comes from
--password or the environment variable TOVEL_FTP_PASSWORD. With --command-log, every
command received is appended to that file as one line "user<TAB>COMMAND<TAB>argument"
(the argument of PASS left out), so a benchmark can count what a client asked for.
"""

import argparse
import os
import sys
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

NO_MLSD_USERS = ("unix", "dos", "cp949")


class TestFS(AbstractedFS):
    def _user(self):
        return self.cmd_channel.username if self.cmd_channel.authenticated else ""

    def format_list(self, basedir, listing, ignore_err=True):
        user = self._user()
        if user == "dos":
            return self._dos_list(basedir, listing)
        lines = super().format_list(basedir, listing, ignore_err)
        if user == "cp949":
            return (line.decode("utf8").encode("cp949", "replace") for line in lines)
        return lines

    def _dos_list(self, basedir, listing):
        for name in listing:
            path = os.path.join(basedir, name)
            try:
                st = self.lstat(path)
            except OSError:
                continue
            when = time.localtime(st.st_mtime)
            stamp = time.strftime("%m-%d-%y  %I:%M%p", when)
            if os.path.isdir(path):
                middle = "%-14s" % "<DIR>"
            else:
                middle = "%14d" % st.st_size
            yield ("%s       %s %s\r\n" % (stamp, middle, name)).encode("utf8")


class BytesProducer:
    """Sends the given bytes, then ends cleanly."""

    def __init__(self, data):
        self.chunks = [data]

    def more(self):
        return self.chunks.pop() if self.chunks else b""


class HalfProducer:
    """Sends the first half of a file, then either ends cleanly or breaks."""

    def __init__(self, data, fail):
        self.chunks = [data[: len(data) // 2]]
        self.fail = fail

    def more(self):
        if self.chunks:
            return self.chunks.pop()
        if self.fail:
            raise OSError("data connection dropped")
        return b""


class TestHandler(FTPHandler):
    use_gmt_times = False
    reply_delay = 0.0
    stall_delay = 0.0
    # Commands arrive in the user's encoding; before login they are plain ASCII.
    name_encoding = "utf8"
    command_log = None

    def pre_process_command(self, line, cmd, arg):
        if self.command_log is not None:
            shown = "" if cmd == "PASS" else arg
            self.command_log.write("%s\t%s\t%s\n" % (self.username or "-", cmd, shown))
        return super().pre_process_command(line, cmd, arg)

    def decode(self, data):
        return data.decode(self.name_encoding, self.unicode_errors)

    def push(self, s):
        # Multi-line replies are pushed directly; everything goes out in the user's encoding.
        super(FTPHandler, self).push(s.encode(self.name_encoding, "replace"))

    def respond(self, resp, logfun=None):
        delay = 0.0
        if self.username == "slow":
            delay = self.reply_delay
        elif self.username == "stall" and self.authenticated:
            delay = self.stall_delay
        if delay > 0:
            self.ioloop.call_later(delay, self._respond_now, resp)
            return
        self._respond_now(resp)

    def _respond_now(self, resp):
        if not self._closed:
            FTPHandler.respond(self, resp)

    def on_login(self, username):
        if username == "cp949":
            self.name_encoding = "cp949"

    def ftp_FEAT(self, line):
        if self.username not in NO_MLSD_USERS:
            return super().ftp_FEAT(line)
        features = ["SIZE", "MDTM", "REST STREAM"]
        if self.username != "cp949":
            features.append("UTF8")
        self.push("211-Features supported:\r\n")
        self.push("".join(" %s\r\n" % x for x in sorted(features)))
        self.respond("211 End FEAT.")

    def ftp_OPTS(self, line):
        if line.strip().upper() == "UTF8 ON":
            if self.name_encoding == "cp949":
                self.respond("501 UTF8 is not supported.")
            else:
                self.respond("200 Always in UTF8 mode.")
            return
        super().ftp_OPTS(line)

    def ftp_MLSD(self, path):
        if self.username in NO_MLSD_USERS:
            self.respond("500 Command \"MLSD\" not understood.")
            return
        return super().ftp_MLSD(path)

    def ftp_SIZE(self, path):
        if self.username == "nosize":
            self.respond("502 Command \"SIZE\" not implemented.")
            return
        if "zerosize" in os.path.basename(path):
            self.respond("213 0")
            return
        return super().ftp_SIZE(path)

    def ftp_RETR(self, file):
        name = os.path.basename(file)
        if "oversize" in name:
            return self._send_faulty(file, lambda data: BytesProducer(data + b"0123456789"))
        if "cutshort" in name or "dropped" in name:
            return self._send_faulty(file, lambda data: HalfProducer(data, "dropped" in name))
        return super().ftp_RETR(file)

    def _send_faulty(self, file, producer):
        """Sends the file's bytes through the producer that makes them faulty."""
        try:
            with open(file, "rb") as f:
                data = f.read()
        except OSError as err:
            self.respond("550 %s." % err.strerror)
            return None
        self.push_dtp_data(producer(data), isproducer=True, cmd="RETR")
        return file


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--password", default=os.environ.get("TOVEL_FTP_PASSWORD"))
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--delay", type=float, default=0.3)
    parser.add_argument("--stall", type=float, default=3.0)
    parser.add_argument("--command-log")
    args = parser.parse_args()
    if not args.password:
        parser.error("no password: give --password or TOVEL_FTP_PASSWORD")

    authorizer = DummyAuthorizer()
    for user in ("tovel", "unix", "dos", "cp949", "slow", "stall", "nosize"):
        authorizer.add_user(user, args.password, args.root, perm="elr")
    TestHandler.authorizer = authorizer
    TestHandler.abstracted_fs = TestFS
    TestHandler.reply_delay = args.delay
    TestHandler.stall_delay = args.stall
    TestHandler.passive_ports = None
    TestHandler.permit_foreign_addresses = False
    TestHandler.banner = "Tovel test FTP server ready."
    TestHandler.auth_failed_timeout = 0.1
    if args.command_log:
        # Line-buffered: a reader sees each command as soon as the server has it.
        TestHandler.command_log = open(args.command_log, "a", buffering=1, encoding="utf8", errors="replace")

    server = FTPServer(("127.0.0.1", args.port), TestHandler)
    server.max_cons = 64
    port = server.socket.getsockname()[1]
    tmp = args.port_file + ".tmp"
    with open(tmp, "w") as f:
        f.write("%d\n" % port)
    os.replace(tmp, args.port_file)
    try:
        server.serve_forever(handle_exit=True)
    finally:
        server.close_all()


if __name__ == "__main__":
    sys.exit(main())
