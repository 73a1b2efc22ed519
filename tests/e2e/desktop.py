"""The finished programs as a person uses them: inside a private network namespace, under a
real X server (Xvfb), driven with xdotool, against a real FTP server for discovery.

Only the standard library and Debian's tools are used; run with /usr/bin/python3."""

import ctypes
import os
import shutil
import socket
import subprocess
import tempfile
import time

CLONE_NEWNET = 0x40000000
CLONE_NEWUSER = 0x10000000


def enter_private_network():
    """Moves this process into a new network namespace with only loopback, or fails."""
    libc = ctypes.CDLL(None, use_errno=True)
    uid, gid = os.getuid(), os.getgid()
    flags = CLONE_NEWNET if uid == 0 else CLONE_NEWNET | CLONE_NEWUSER
    if libc.unshare(flags) != 0:
        raise SystemExit("FATAL: no private network namespace could be made (errno %d); "
                         "these tests never run on the host network" % ctypes.get_errno())
    if uid != 0:
        for path, text in (("/proc/self/setgroups", "deny"), ("/proc/self/uid_map", "0 %d 1" % uid),
                           ("/proc/self/gid_map", "0 %d 1" % gid)):
            with open(path, "w") as f:
                f.write(text)
    subprocess.run(["ip", "link", "set", "lo", "up"], check=True)


def wait_until(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError("timed out waiting for " + what)


def port_open(port, host="127.0.0.1"):
    try:
        socket.create_connection((host, port), timeout=0.2).close()
        return True
    except OSError:
        return False


class Desktop:
    """Xvfb, an FTP server that names the game server, and a folder to run the client in."""

    def __init__(self, source_dir, build_dir, server_address="127.0.0.1\n"):
        self.source_dir, self.build_dir = source_dir, build_dir
        self.work = tempfile.mkdtemp(prefix="vantix-e2e-")
        self.processes = []
        self.display = self.start_x_server()
        ftp_dir = os.path.join(self.work, "ftp")
        os.mkdir(ftp_dir)
        with open(os.path.join(ftp_dir, "server"), "w") as f:
            f.write(server_address)
        self.start(["/usr/bin/python3", "-m", "pyftpdlib", "-u", "dbranum", "-P", "Tb8kW4nq", "-p", "21",
                    "-d", ftp_dir], "ftp.log")
        wait_until(lambda: port_open(21), 15, "the FTP server")
        self.client_dir = os.path.join(self.work, "client")
        os.mkdir(self.client_dir)
        for name in os.listdir(os.path.join(source_dir, "data")):
            if name.endswith(".BMP"):
                shutil.copy(os.path.join(source_dir, "data", name), self.client_dir)

    def start_x_server(self):
        """Xvfb on the first display number that is free; the display's name."""
        for number in range(90, 190):
            if os.path.exists("/tmp/.X%d-lock" % number):
                continue
            display = ":%d" % number
            xvfb = self.start(["Xvfb", display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"], "xvfb.log")
            os.environ["DISPLAY"] = display
            deadline = time.monotonic() + 15
            while xvfb.poll() is None and time.monotonic() < deadline:
                if subprocess.run(["xdpyinfo"], capture_output=True).returncode == 0:
                    return display
                time.sleep(0.05)
            xvfb.kill()
        raise AssertionError("no X server could be started: " + self.log("xvfb.log"))

    def start(self, command, log_name, cwd=None):
        log = open(os.path.join(self.work, log_name), "w")
        process = subprocess.Popen(command, stdout=log, stderr=subprocess.STDOUT, cwd=cwd or self.work)
        self.processes.append(process)
        return process

    def log(self, name):
        with open(os.path.join(self.work, name), errors="replace") as f:
            return f.read()

    def start_client(self):
        return self.start([os.path.join(self.build_dir, "vantix")], "client.log", cwd=self.client_dir)

    def window(self, title, seconds=15):
        """The X window id of a window with this exact title, once it is there."""
        def find():
            found = subprocess.run(["xdotool", "search", "--name", "^%s$" % title], capture_output=True, text=True)
            return found.stdout.split()[-1] if found.stdout.split() else None
        return wait_until(find, seconds, "the window \"%s\"" % title)

    def type_into(self, window, text):
        subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
        subprocess.run(["xdotool", "type", "--delay", "20", text], check=True)

    def key(self, window, *keys):
        subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
        subprocess.run(["xdotool", "key", "--delay", "30"] + list(keys), check=True)

    def log_in(self, name, password):
        """Fills in the login prompt as a person would and presses Enter."""
        prompt = self.window("Login to Trivia Server")
        self.type_into(prompt, name)
        self.key(prompt, "Tab")
        self.type_into(prompt, password)
        self.key(prompt, "Return")

    def screenshot(self, name):
        path = os.path.join(self.build_dir, name)
        subprocess.run(["import", "-window", "root", path], check=True)
        return path

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
