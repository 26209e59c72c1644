"""Measures the waiting game under Xvfb: time from start to the first complete frame, CPU
used while it waits for input, resident memory while waiting, and time from a click to the
disc starting to fall. Not a test: it prints figures.

Usage: measure.py <discgame> <working folder with options.ini and properties/> [idle seconds]
"""

import os
import socket
import statistics
import struct
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..",
                                "platform", "tests", "e2e"))
from game_e2e import grab, hole  # noqa: E402
from xharness import XSession  # noqa: E402


class PixelReader:
    """Reads single pixels of the X display over the X protocol (GetImage of 1 x 1), fast
    enough to time what the program shows to within a millisecond or so."""

    def __init__(self, display):
        self.conn = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.conn.connect("/tmp/.X11-unix/X" + display[1:].split(".")[0])
        self.conn.sendall(struct.pack("<BxHHHHxx", ord("l"), 11, 0, 0, 0))
        head = self._recv(8)
        body = self._recv(struct.unpack("<H", head[6:8])[0] * 4)
        vendor_length, formats = struct.unpack("<H", body[16:18])[0], body[21]
        at = 32 + (vendor_length + 3) // 4 * 4 + 8 * formats
        self.root = struct.unpack("<I", body[at:at + 4])[0]

    def _recv(self, count):
        data = b""
        while len(data) < count:
            chunk = self.conn.recv(count - len(data))
            if not chunk:
                raise RuntimeError("X server closed the connection")
            data += chunk
        return data

    def click(self):
        """A left click at the pointer through the XTEST extension, on this connection, so
        that the time starts when the release reaches the server and not after a helper
        program has started."""
        name = b"XTEST"
        self.conn.sendall(struct.pack("<BxHHxx", 98, 2 + 2, len(name)) + name + b"\0" * 3)
        reply = self._recv(32)
        if reply[0] != 1 or not reply[8]:
            raise RuntimeError("the X server has no XTEST extension")
        for kind in (4, 5):  # ButtonPress, ButtonRelease
            self.conn.sendall(struct.pack("<BBHBBHIIIIhhIHBB", reply[9], 2, 9, kind, 1, 0, 0,
                                          0, 0, 0, 0, 0, 0, 0, 0, 0))

    def get(self, x, y):
        self.conn.sendall(struct.pack("<BBHIhhHHI", 73, 2, 5, self.root, x, y, 1, 1,
                                      0xFFFFFFFF))
        reply = self._recv(32)
        if reply[0] != 1:
            raise RuntimeError("GetImage failed")
        data = self._recv(struct.unpack("<I", reply[4:8])[0] * 4)
        return struct.unpack("<I", data[:4])[0] & 0xFFFFFF


def complete_at(reader, app):
    # The last things start-up draws: hole (7, 6), the seventh button, the status panel.
    return (reader.get(app.x + 336, app.y + 144) == 0x505050 and
            reader.get(app.x + 336, app.y + 446) == 0x454545 and
            reader.get(app.x + 25, app.y + 13) == 0x404040)


def complete(shot):
    # The last things start-up draws: every hole, the seventh button, the status text.
    holes = all(shot.get(*hole(c, r)) == 0x505050 for c in range(1, 8) for r in range(1, 7))
    button = shot.get(316 + 20, 446) == 0x454545
    text = any(shot.get(x, y) == 0xE0E0E0 for y in range(16, 32) for x in range(24, 360))
    return holes and button and text


def main():
    program, folder = os.path.abspath(sys.argv[1]), sys.argv[2]
    idle = float(sys.argv[3]) if len(sys.argv) > 3 else 10.0
    with XSession(416, 512) as x:
        x.move_pointer(410, 505)
        reader = PixelReader(x.display)
        # A first run finds where the window lies; the timed runs then only read pixels there.
        app = x.start([program], cwd=folder)
        app.wait_window(timeout=10)
        where = (app.x, app.y, app.width, app.height)
        app.close_request()
        app.wait_exit(2)
        firsts = []
        for _ in range(5):
            began = time.monotonic()
            app = x.start([program], cwd=folder)
            app.x, app.y, app.width, app.height = where
            while not complete_at(reader, app):
                pass
            firsts.append(time.monotonic() - began)
            app.wait_window(timeout=10)
            assert complete(grab(app)), "the window moved"
            app.close_request()
            app.wait_exit(2)
        print("start to first complete frame: median %.0f ms of %s (from process start, pixel-polled)"
              % (1000 * statistics.median(firsts), ["%.0f" % (1000 * f) for f in firsts]))

        app = x.start([program], cwd=folder)
        app.wait_window()
        while not complete(grab(app)):
            pass
        time.sleep(1.0)
        cpu0, wall0 = app.cpu_seconds(), time.monotonic()
        time.sleep(idle)
        cpu1, wall1 = app.cpu_seconds(), time.monotonic()
        print("idle CPU over %.1f s: %.2f %% of one core" % (wall1 - wall0,
                                                            100 * (cpu1 - cpu0) / (wall1 - wall0)))
        print("resident memory while waiting: %.1f MiB" % (app.resident_kib() / 1024))

        latencies = []
        missed = []
        for column in (1, 2, 3, 5, 6, 7):
            cx = 48 * column
            app.move(28 + 48 * (column - 1) + 20, 456)
            time.sleep(0.3)
            reader.click()
            began = time.monotonic()
            # The first frame shows the disc above the board for 40 ms; should a slow read
            # miss it, the landed disc in row 1 ends the wait (and the figure says so).
            while True:
                if reader.get(app.x + cx, app.y + 96) != 0x404040:
                    latencies.append(time.monotonic() - began)
                    break
                if reader.get(app.x + cx, app.y + 384) != 0x505050:
                    latencies.append(time.monotonic() - began)
                    missed.append(column)
                    break
            time.sleep(0.5)
        print("click to disc falling (first frame above the board): median %.0f ms of %s"
              % (1000 * statistics.median(latencies), ["%.0f" % (1000 * v) for v in latencies]))
        if missed:
            print("  (first frame missed, landed disc seen instead, in columns %s)" % missed)
        t = time.monotonic()
        for _ in range(100):
            reader.get(0, 0)
        print("one pixel read takes %.2f ms (the resolution of the polled figures)"
              % (10 * (time.monotonic() - t)))
        app.close_request()
        app.wait_exit(2)


if __name__ == "__main__":
    main()
