#!/usr/bin/env python3
"""The update dialog downloads from a real FTP server (Debian's pyftpdlib on 127.0.0.1, in active mode): info.txt
travels in ASCII mode, a 30 MB setup in binary, the progress reaches 100 % and the file is byte-identical. The
descriptor gives the setup's size in whole kilobytes, rounded: the setup of a few bytes more still runs. A transfer
that the server ends before the size it lists for the file is refused, and nothing of it stays. From a server that
lists no files, and so tells no size, the setup whose size the descriptor rounds up by a megabyte runs.

usage: ftp-interop.py <ftp_interop.exe> <wine-run>   (WINEPREFIX names the build's prefix)
"""
import hashlib
import os
import subprocess
import sys
import tempfile
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

FOLDER = "SwDownload/Ragioneria/Quarzel08"
SETUP = "Setup201.exe"
SETUP_SIZE = 30 * 1024 * 1024 + 100
CUT_SIZE = 10 * 1024 * 1024
transfers = []   # (file, transfer type) of every download, as the server saw them
data_modes = []  # how each data connection was asked for


class RecordingHandler(FTPHandler):
    def ftp_RETR(self, file):
        transfers.append((os.path.basename(file), self._current_type))
        return super().ftp_RETR(file)

    def ftp_PORT(self, line):
        data_modes.append("active")
        return super().ftp_PORT(line)

    def ftp_EPRT(self, line):
        data_modes.append("active")
        return super().ftp_EPRT(line)

    def ftp_PASV(self, line):
        data_modes.append("passive")
        return super().ftp_PASV(line)

    def ftp_EPSV(self, line):
        data_modes.append("passive")
        return super().ftp_EPSV(line)


class CuttingFS(AbstractedFS):
    """Lists the setup whole but sends only its first part, as a server whose transfer breaks off."""
    cut_copy = None

    def open(self, filename, mode):
        if CuttingFS.cut_copy and os.path.basename(filename) == SETUP:
            return open(CuttingFS.cut_copy, mode)
        return super().open(filename, mode)


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def main():
    exe, wine_run = sys.argv[1], sys.argv[2]
    failures = []
    with tempfile.TemporaryDirectory() as root:
        served = os.path.join(root, "server", *FOLDER.split("/"))
        os.makedirs(served)

        def write_info(kilobytes):
            with open(os.path.join(served, "info.txt"), "w", newline="\n", encoding="cp1252") as f:
                f.write("Msg01$Leggere le note di rilascio\nUpdate$1.09$2.00$Msg01\n"
                        f"Release$2.01${SETUP}${kilobytes}$Correzioni\n")

        setup = os.urandom(SETUP_SIZE)
        with open(os.path.join(served, SETUP), "wb") as f:
            f.write(setup)

        cut = os.path.join(root, "cut.exe")
        with open(cut, "wb") as f:
            f.write(setup[:CUT_SIZE])

        authorizer = DummyAuthorizer()
        authorizer.add_user("aggiornamenti", "qdLurevo", os.path.join(root, "server"), perm="elr")
        RecordingHandler.authorizer = authorizer
        RecordingHandler.abstracted_fs = CuttingFS
        server = FTPServer(("127.0.0.1", 0), RecordingHandler)
        port = server.socket.getsockname()[1]
        thread = threading.Thread(target=server.serve_forever, kwargs={"timeout": 0.5}, daemon=True)
        thread.start()
        webupd = os.path.join(root, "WebUpd")
        path = os.path.join(webupd, SETUP)
        runs = []
        downloaded = []   # the setup each run left in the update folder, None for none
        # Each run: the copy the server sends (None: the whole setup), whether it lists its files (and so tells the
        # setup's size), the descriptor's kilobytes.
        setups = [(cut, True, SETUP_SIZE // 1024), (None, True, SETUP_SIZE // 1024),
                  (None, False, SETUP_SIZE // 1024 + 1024)]
        try:
            for cut_copy, listed, kilobytes in setups:
                CuttingFS.cut_copy = cut_copy
                authorizer.user_table["aggiornamenti"]["perm"] = "elr" if listed else "er"
                write_info(kilobytes)
                if os.path.exists(path):
                    os.remove(path)
                try:
                    run = subprocess.run([wine_run, exe, str(port), windows_path(webupd)], capture_output=True,
                                         timeout=240)
                    runs.append(run.stdout.decode("utf-8", "replace"))
                except subprocess.TimeoutExpired:
                    failures.append("the download did not end within 240 seconds")
                    break
                if os.path.exists(path):
                    with open(path, "rb") as f:
                        downloaded.append(f.read())
                else:
                    downloaded.append(None)
        finally:
            server.close_all()
        if len(runs) == len(setups):
            cut_out, out, unlisted_out = runs
            print(cut_out)
            print(out)
            print(unlisted_out)
            if downloaded[0] is not None:
                failures.append("the setup cut short by the server stayed in the update folder")
            cut_lines = cut_out.splitlines()
            if not any(line.startswith("MESSAGE Il download del programma di aggiornamento") and
                       "10.485.760 byte ricevuti su 31.457.380" in line for line in cut_lines):
                failures.append("the transfer cut short was not refused with the sizes received and listed")
            if any(line.startswith("START ") for line in cut_lines):
                failures.append("the setup cut short was started")
            lines = out.splitlines()
            if not data_modes or set(data_modes) != {"active"}:
                failures.append(f"the data connections were not all in active mode: {data_modes}")
            if ("info.txt", "a") not in transfers:
                failures.append(f"info.txt not read in ASCII mode: {transfers}")
            if (SETUP, "i") not in transfers:
                failures.append(f"the setup not read in binary mode: {transfers}")
            if not any(line.startswith("STATUS Scaricati 31.457.380 byte su 31.457.280 (100% completato")
                       for line in lines):
                failures.append("the progress did not reach 100 %")
            if "POS 100" not in lines:
                failures.append("the bar did not reach its end")
            if not any(line.startswith("START ") and line.endswith("\\WebUpd\\" + SETUP) for line in lines):
                failures.append("the setup whose size the descriptor rounds was not started")
            unlisted_lines = unlisted_out.splitlines()
            if not any(line.startswith("START ") and line.endswith("\\WebUpd\\" + SETUP) for line in unlisted_lines):
                failures.append("from a server that tells no size, the setup the descriptor rounds up was not started")
            for what, got in (("", downloaded[1]), (" from a server that tells no size", downloaded[2])):
                if got is None:
                    failures.append("no setup downloaded" + what)
                elif hashlib.sha256(got).digest() != hashlib.sha256(setup).digest():
                    failures.append(f"the downloaded setup{what} differs from the served one ({len(got)} bytes)")
    for failure in failures:
        print("FAIL:", failure)
    print(f"ftp-interop: {'failed' if failures else 'passed'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
