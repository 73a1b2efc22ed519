"""The real client reaches the real game server through discovery and logs in: the
server's log shows the login and its answer; the client ends with Escape, exit status 0."""

import os
import sys

import desktop


def main(source_dir, build_dir):
    desktop.enter_private_network()
    screen = desktop.Desktop(source_dir, build_dir)
    try:
        screen.start([os.path.join(build_dir, "vantix-server"), "serve", "--db", os.path.join(screen.work, "game.db")],
                     "server.log")
        desktop.wait_until(lambda: "listening" in screen.log("server.log"), 30, "the game server")
        client = screen.start_client()
        screen.log_in("dora", "pw 9876")
        game = screen.window("Orbelle")
        line = desktop.wait_until(
            lambda: next((l for l in screen.log("server.log").splitlines() if 'login "dora"' in l), None), 15,
            "the login in the server's log")
        assert "GETPLAYER" in line, "the server's answer to an unknown name: " + line
        screen.key(game, "Escape")
        status = client.wait(15)
        assert status == 0, "exit status %d" % status
        print(line)
    finally:
        screen.close()


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
