"""End-to-end harness: real programs in real X windows under Xvfb, driven as a person would.

Needs the Debian packages xvfb and xdotool, and nothing but the Python standard library:
screenshots and close requests speak the X protocol directly. Typical use:

    from xharness import XSession

    with XSession() as x:                         # a private Xvfb on a free display
        app = x.start(["build/discgame"], cwd="data", env={"LANG": "C"})
        app.wait_window()                         # mapped, geometry known
        shot = app.wait_until(lambda s: s.get(48, 384) == 0x505050)
        app.click(180, 450)                       # window-relative pixels, left button
        shot = app.screenshot()                   # the window's area of the X display
        assert shot.get(10, 10) == 0x101010       # pixels are 0xRRGGBB
        shot.save("/tmp/after-click.png")         # PNG when ImageMagick is there, else PPM
        app.close_request()                       # what a window manager's close button does
        assert app.wait_exit(timeout=1.0) == 0

Registering such a test with CTest (only when DISC_E2E is on, label "xvfb"):

    if(DISC_E2E)
        find_package(Python3 REQUIRED COMPONENTS Interpreter)
        add_test(NAME game_e2e
                 COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/tests/e2e/game_e2e.py
                         $<TARGET_FILE:discgame>)
        set_tests_properties(game_e2e PROPERTIES LABELS xvfb TIMEOUT 120
            ENVIRONMENT "PYTHONPATH=${PROJECT_SOURCE_DIR}/platform/tests/e2e")
    endif()

A test script is a plain unittest module (`unittest.main()`), so its exit code is the verdict.
Set DISC_E2E_SHOTS to a folder to keep every screenshot a test takes.

Notes from Xvfb without a window manager:
- Windows keep the position their program asked for; the geometry comes from xdotool.
- `xdotool windowclose` destroys the window under the program and `windowkill` kills the
  client: neither is a close request. `close_request` sends the WM_DELETE_WINDOW client message
  that a window manager sends, straight over the X protocol.
"""

import array
import os
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import time

__all__ = ["XSession", "App", "Shot", "HarnessError"]


class HarnessError(RuntimeError):
    pass


def _run(args, env, timeout=10.0, check=True):
    done = subprocess.run(args, env=env, capture_output=True, text=True, timeout=timeout)
    if check and done.returncode != 0:
        raise HarnessError("%s failed (%d): %s" % (" ".join(args), done.returncode,
                                                   done.stderr.strip()))
    return done.stdout


class Shot:
    """A screenshot: width x height pixels as 0xRRGGBB integers, row by row."""

    def __init__(self, width, height, pixels):
        self.width = width
        self.height = height
        self.pixels = pixels

    def get(self, x, y):
        """The pixel at (x, y) as 0xRRGGBB; None outside the picture."""
        if 0 <= x < self.width and 0 <= y < self.height:
            return self.pixels[y * self.width + x]
        return None

    def crop(self, x, y, width, height):
        rows = []
        for row in range(y, y + height):
            start = row * self.width + x
            rows.extend(self.pixels[start:start + width])
        return Shot(width, height, rows)

    def differences(self, other, limit=10):
        """Up to `limit` (x, y, mine, theirs) where two pictures of one size differ."""
        if (self.width, self.height) != (other.width, other.height):
            raise HarnessError("sizes differ: %dx%d and %dx%d" % (
                self.width, self.height, other.width, other.height))
        found = []
        for i, (mine, theirs) in enumerate(zip(self.pixels, other.pixels)):
            if mine != theirs:
                found.append((i % self.width, i // self.width, mine, theirs))
                if len(found) >= limit:
                    break
        return found

    def save_ppm(self, path):
        with open(path, "wb") as out:
            out.write(b"P6\n%d %d\n255\n" % (self.width, self.height))
            out.write(bytes(b for p in self.pixels for b in (p >> 16 & 255, p >> 8 & 255,
                                                               p & 255)))

    def save(self, path):
        """Saves as PNG through ImageMagick when it is installed, else as PPM beside it."""
        converter = "/usr/bin/convert"
        if path.endswith(".png") and os.access(converter, os.X_OK):
            with tempfile.NamedTemporaryFile(suffix=".ppm") as ppm:
                self.save_ppm(ppm.name)
                subprocess.run([converter, ppm.name, path], check=True, timeout=30)
            return path
        if path.endswith(".png"):
            path = path[:-4] + ".ppm"
        self.save_ppm(path)
        return path

    @staticmethod
    def load_ppm(path):
        """Reads a binary PPM (P6, maxval 255), as the headless backend writes them."""
        with open(path, "rb") as f:
            data = f.read()
        fields = []
        at = 0
        while len(fields) < 4:
            while data[at:at + 1].isspace():
                at += 1
            if data[at:at + 1] == b"#":
                at = data.index(b"\n", at)
                continue
            end = at
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[at:end])
            at = end
        at += 1
        if fields[0] != b"P6" or fields[3] != b"255":
            raise HarnessError("%s is not a binary PPM with maxval 255" % path)
        width, height = int(fields[1]), int(fields[2])
        raw = data[at:at + width * height * 3]
        pixels = [raw[i] << 16 | raw[i + 1] << 8 | raw[i + 2] for i in range(0, len(raw), 3)]
        return Shot(width, height, pixels)


    @staticmethod
    def from_xwd(data, region=None):
        """Decodes the output of `xwd` for a TrueColor screen (24 or 32 bits per pixel); only
        the rectangle region = (x, y, width, height) when given, clipped to the picture."""
        header = struct.unpack(">25I", data[:100])
        header_size, version, _format, _depth, width, height = header[:6]
        byte_order, bits_per_pixel, bytes_per_line = header[7], header[11], header[12]
        masks = header[14:17]
        ncolors = header[19]
        if version != 7 or bits_per_pixel not in (24, 32):
            raise HarnessError("unexpected xwd picture: version %d, %d bits per pixel"
                               % (version, bits_per_pixel))
        at = header_size + ncolors * 12
        step = bits_per_pixel // 8
        order = "little" if byte_order == 0 else "big"
        left, top, wide, high = region if region is not None else (0, 0, width, height)
        left, top = max(left, 0), max(top, 0)
        wide, high = max(0, min(wide, width - left)), max(0, min(high, height - top))
        # The usual layout (32 bits, 0x00RRGGBB masks, the machine's byte order) decodes a row
        # at a time; anything else pixel by pixel.
        fast = (step == 4 and tuple(masks) == (0xFF0000, 0xFF00, 0xFF)
                and order == sys.byteorder and array.array("I").itemsize == 4)
        shifts = [(m & -m).bit_length() - 1 for m in masks]
        pixels = []
        for y in range(top, top + high):
            start = at + y * bytes_per_line + left * step
            row = data[start:start + wide * step]
            if fast:
                pixels.extend(v & 0xFFFFFF for v in array.array("I", row))
                continue
            for x in range(0, wide * step, step):
                value = int.from_bytes(row[x:x + step], order)
                pixels.append(((value & masks[0]) >> shifts[0]) << 16
                              | ((value & masks[1]) >> shifts[1]) << 8
                              | (value & masks[2]) >> shifts[2])
        return Shot(wide, high, pixels)


class XSession:
    """A private Xvfb server on a free display, stopped again on exit."""

    def __init__(self, width=1024, height=768, depth=24):
        self.size = (width, height, depth)
        self.server = None
        self.display = None
        self.env = None
        self.apps = []
        self._shots = 0
        self._x = None

    def __enter__(self):
        for tool in ("Xvfb", "xdotool"):
            if shutil.which(tool) is None:
                raise HarnessError("%s is missing: install xvfb and xdotool" % tool)
        read_end, write_end = os.pipe()
        width, height, depth = self.size
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             "%dx%dx%d" % (width, height, depth), "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 15
        with os.fdopen(read_end, "rb", buffering=0) as pipe:
            while not number.endswith(b"\n") and time.monotonic() < deadline:
                chunk = pipe.read(16)
                if not chunk:
                    break
                number += chunk
        if not number.strip().isdigit():
            self._stop_server()
            raise HarnessError("Xvfb did not start")
        self.display = ":" + number.strip().decode()
        self.env = dict(os.environ, DISPLAY=self.display)
        self.env.pop("XAUTHORITY", None)
        self.env.pop("WAYLAND_DISPLAY", None)
        return self

    def __exit__(self, *exc):
        for app in self.apps:
            app.kill()
        if self._x is not None:
            self._x.__exit__()
            self._x = None
        self._stop_server()
        return False

    def _stop_server(self):
        if self.server is not None and self.server.poll() is None:
            self.server.terminate()
            try:
                self.server.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.server.kill()
                self.server.wait()

    def start(self, argv, cwd=None, env=None):
        """Starts a program on this display; its stdout and stderr are collected."""
        full_env = dict(self.env)
        full_env.update(env or {})
        app = App(self, argv, cwd, full_env)
        self.apps.append(app)
        return app

    def xdotool(self, *args, timeout=10.0):
        return _run(["xdotool"] + [str(a) for a in args], self.env, timeout)

    def screenshot(self, region=None):
        """The whole screen, or its rectangle region = (x, y, width, height), clipped to it."""
        width, height, _ = self.size
        left, top, wide, high = region if region is not None else (0, 0, width, height)
        left, top = max(left, 0), max(top, 0)
        wide, high = max(1, min(wide, width - left)), max(1, min(high, height - top))
        if self._x is None:
            self._x = _XConnection(self.display)
        shot = self._x.get_image(left, top, wide, high)
        keep = os.environ.get("DISC_E2E_SHOTS")
        if keep:
            os.makedirs(keep, exist_ok=True)
            self._shots += 1
            shot.save(os.path.join(keep, "shot-%s-%03d.png" % (os.getpid(), self._shots)))
        return shot

    def move_pointer(self, x, y, timeout=5.0):
        """Moves the pointer to screen coordinates (for example outside every window) and
        waits until the server has it there. (`mousemove --sync` would wait for ever when the
        pointer is already in place.)"""
        self.xdotool("mousemove", x, y)
        deadline = time.monotonic() + timeout
        while self.pointer() != (x, y):
            if time.monotonic() >= deadline:
                raise HarnessError("the pointer did not reach %d, %d" % (x, y))
            time.sleep(0.005)

    def pointer(self):
        """The pointer's screen coordinates."""
        fields = dict(f.split(":") for f in self.xdotool("getmouselocation").split())
        return int(fields["x"]), int(fields["y"])

    def send_close_request(self, window):
        """Sends the WM_DELETE_WINDOW client message a window manager sends for its close
        button."""
        with _XConnection(self.display) as conn:
            protocols = conn.intern("WM_PROTOCOLS")
            delete = conn.intern("WM_DELETE_WINDOW")
            conn.send_client_message(window, protocols, delete)


class _XConnection:
    """The X protocol, just enough for screenshots and close requests: no library needed.
    Xvfb started by XSession accepts local clients without authorisation."""

    def __init__(self, display):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.settimeout(10)
        self.sock.connect("/tmp/.X11-unix/X" + display[1:].split(".")[0])
        self.sock.sendall(struct.pack("<BxHHHHxx", ord("l"), 11, 0, 0, 0))
        head = self._recv(8)
        if head[0] != 1:
            raise HarnessError("the X server refused the connection")
        setup = self._recv(struct.unpack("<H", head[6:8])[0] * 4)
        vendor_length, = struct.unpack("<H", setup[16:18])
        formats, self.image_byte_order = setup[21], setup[22]
        self.formats = {}
        at = 32 + (vendor_length + 3) // 4 * 4
        for i in range(formats):
            depth, bits_per_pixel = setup[at + i * 8], setup[at + i * 8 + 1]
            self.formats[depth] = bits_per_pixel
        screen = at + formats * 8
        self.root, = struct.unpack("<I", setup[screen:screen + 4])
        self.root_depth = setup[screen + 38]

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.sock.close()
        return False

    def _recv(self, count):
        data = bytearray()
        while len(data) < count:
            chunk = self.sock.recv(min(count - len(data), 1 << 20))
            if not chunk:
                raise HarnessError("the X server closed the connection")
            data += chunk
        return bytes(data)

    def _reply(self, what):
        reply = self._recv(32)
        if reply[0] != 1:
            raise HarnessError("%s failed (X error %d)" % (what, reply[1]))
        extra, = struct.unpack("<I", reply[4:8])
        return reply, self._recv(extra * 4)

    def intern(self, name):
        raw = name.encode()
        pad = (4 - len(raw) % 4) % 4
        self.sock.sendall(struct.pack("<BBHHxx", 16, 0, 2 + (len(raw) + pad) // 4, len(raw))
                          + raw + b"\0" * pad)
        reply, _ = self._reply("InternAtom " + name)
        return struct.unpack("<I", reply[8:12])[0]

    def send_client_message(self, window, message_type, value):
        event = struct.pack("<BBHII5I", 33, 32, 0, window, message_type, value, 0, 0, 0, 0)
        self.sock.sendall(struct.pack("<BBHII", 25, 0, 11, window, 0) + event)
        # A round trip (GetInputFocus) makes sure the event was delivered before we return.
        self.sock.sendall(struct.pack("<BxH", 43, 1))
        self._reply("SendEvent")

    def get_image(self, x, y, width, height):
        """The root window's rectangle as a Shot (ZPixmap of a TrueColor 24 or 32-bit screen)."""
        self.sock.sendall(struct.pack("<BBHIhhHHI", 73, 2, 5, self.root, x, y, width, height,
                                      0xFFFFFFFF))
        _, data = self._reply("GetImage")
        if self.formats.get(self.root_depth) != 32 or self.image_byte_order != 0:
            raise HarnessError("only 32-bit little-endian screens are read")
        values = array.array("I", data[:width * height * 4])
        if sys.byteorder != "little":
            values.byteswap()
        return Shot(width, height, [v & 0xFFFFFF for v in values])


class App:
    """A program started in an XSession, and its one window."""

    def __init__(self, session, argv, cwd, env):
        self.session = session
        self._out = tempfile.TemporaryFile()
        self._err = tempfile.TemporaryFile()
        # A relative program path means the caller's folder, not the program's working folder.
        argv = list(argv)
        if os.sep in argv[0]:
            argv[0] = os.path.abspath(argv[0])
        self.proc = subprocess.Popen(argv, cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                                     stdout=self._out, stderr=self._err)
        self.started = time.monotonic()
        self.window = None
        self.x = self.y = self.width = self.height = None

    # -- window ---------------------------------------------------------------------------
    def wait_window(self, timeout=10.0):
        """Waits until the program has a visible window; returns its X id."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.proc.poll() is not None:
                raise HarnessError("the program ended (%d) before it showed a window: %s"
                                   % (self.proc.returncode, self.stderr()))
            found = _run(["xdotool", "search", "--onlyvisible", "--pid", str(self.proc.pid)],
                         self.session.env, check=False).split()
            if found:
                self.window = int(found[-1])
                self.update_geometry()
                return self.window
            time.sleep(0.02)
        raise HarnessError("no window within %.1f s" % timeout)

    def update_geometry(self):
        fields = {}
        for line in self.session.xdotool("getwindowgeometry", "--shell", self.window).split():
            key, _, value = line.partition("=")
            fields[key] = int(value)
        self.x, self.y = fields["X"], fields["Y"]
        self.width, self.height = fields["WIDTH"], fields["HEIGHT"]

    def title(self):
        return self.session.xdotool("getwindowname", self.window).rstrip("\n")

    def map(self, mapped=True):
        self.session.xdotool("windowmap" if mapped else "windowunmap", "--sync", self.window)

    # -- pointer and keys (window-relative pixels) -----------------------------------------
    def move(self, x, y):
        self.session.move_pointer(self.x + x, self.y + y)

    def press(self, button=1):
        self.session.xdotool("mousedown", button)

    def release(self, button=1):
        self.session.xdotool("mouseup", button)

    def click(self, x, y, button=1):
        """Moves there and clicks: press and release back to back, as xdotool sends them."""
        self.move(x, y)
        self.session.xdotool("click", button)

    def wheel(self, steps):
        """Turns the wheel: positive away from the user (X button 4), negative towards (5)."""
        for _ in range(abs(steps)):
            self.session.xdotool("click", 4 if steps > 0 else 5)

    def type(self, text):
        self.session.xdotool("type", "--delay", 20, text)

    def key(self, *names):
        """X key names, e.g. "Up", "F1", "Return"."""
        self.session.xdotool("key", *names)

    def close_request(self):
        """The window manager's close button: a WM_DELETE_WINDOW client message."""
        self.session.send_close_request(self.window)

    # -- pictures ---------------------------------------------------------------------------
    def screenshot(self):
        """The window's area of the X display, as a person sees it."""
        return self.session.screenshot((self.x, self.y, self.width, self.height))

    def pixel(self, x, y):
        return self.screenshot().get(x, y)

    def wait_until(self, predicate, timeout=5.0, interval=0.05):
        """Screenshots until predicate(shot) holds; returns that shot, or raises with the last."""
        deadline = time.monotonic() + timeout
        while True:
            shot = self.screenshot()
            if predicate(shot):
                return shot
            if time.monotonic() >= deadline:
                raise HarnessError("the window did not show what was expected within %.1f s"
                                   % timeout)
            time.sleep(interval)

    # -- process ---------------------------------------------------------------------------
    def wait_exit(self, timeout=5.0):
        """The exit code; raises when the program is still running after timeout seconds."""
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise HarnessError("the program did not end within %.1f s" % timeout) from None

    def wait_output(self, text, timeout=5.0):
        """Waits until stdout holds `text`; returns the whole stdout so far."""
        deadline = time.monotonic() + timeout
        while True:
            out = self.stdout()
            if text in out:
                return out
            if self.proc.poll() is not None or time.monotonic() >= deadline:
                raise HarnessError("%r not printed; stdout so far: %r, stderr: %r"
                                   % (text, out[-400:], self.stderr()[-400:]))
            time.sleep(0.01)

    def stdout(self):
        self._out.seek(0)
        return self._out.read().decode(errors="replace")

    def stderr(self):
        self._err.seek(0)
        return self._err.read().decode(errors="replace")

    def cpu_seconds(self):
        """User plus system CPU time the process used so far (Linux /proc)."""
        with open("/proc/%d/stat" % self.proc.pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

    def resident_kib(self):
        with open("/proc/%d/status" % self.proc.pid) as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
        return None

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
