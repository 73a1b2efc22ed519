"""The client under a real X server: discovery over FTP, the login prompt, the exact "LOGIN"
bytes on the wire, the game window with its six buttons, and "BADVERSION" ending the
program with exit status 0."""

import socket
import sys

import desktop


def string(text):
    data = text.encode("cp1252")
    return bytes([len(data)]) + data


def main(source_dir, build_dir):
    desktop.enter_private_network()
    screen = desktop.Desktop(source_dir, build_dir)
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 2))
    listener.listen(1)
    try:
        client = screen.start_client()
        screen.log_in("ann", "s3cret pw")

        listener.settimeout(15)
        connection, _ = listener.accept()
        expected = string("LOGIN") + string("ann") + string("s3cret pw") + string("1.0.0.4")
        connection.settimeout(10)
        received = b""
        while len(received) < len(expected):
            chunk = connection.recv(4096)
            if not chunk:
                break
            received += chunk
        assert received == expected, "LOGIN bytes: %r, expected %r" % (received, expected)

        game = screen.window("Orbelle")
        geometry = desktop.subprocess.run(["xdotool", "getwindowgeometry", game], capture_output=True, text=True).stdout
        assert "610x391" in geometry, "the game window's client area: " + geometry
        print("screenshot:", screen.screenshot("e2e-game-window.png"))

        connection.sendall(string("BADVERSION"))
        box = screen.window("Vantix")
        screen.key(box, "Return")
        status = client.wait(15)
        assert status == 0, "exit status %d" % status
        connection.settimeout(1)
        try:
            extra = connection.recv(4096)
        except socket.timeout:
            extra = b""
        assert extra == b"", "sent after LOGIN: %r" % extra
        print("ok")
    finally:
        screen.close()


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
