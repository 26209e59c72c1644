"""discgame as a person plays it: the real binary in a real X window under Xvfb, driven by
real pointer events, checked from screenshots of the X display. Every test starts the
program in a fresh working folder with its own options.ini and properties/.

Usage: game_e2e.py <discgame> <statusprobe>
"""

import array
import os
import struct
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..",
                                "platform", "tests", "e2e"))
from xharness import Shot, XSession  # noqa: E402

DISCGAME = None
STATUSPROBE = None

BAR, GREY, HOLE = 0x101010, 0x404040, 0x505050
WHITE, BLACK = 0xB0B0B0, 0x101010

# Texts of different lengths, so that even their extents tell them apart.
TEXTS = {
    "s1": b"Disc game test",
    "s4": b"Drawn",
    "s5": b"Black won",
    "s6": b"White has won the game",
    "s8": b"White to move",
    "s9": b"Black to play now",
}


def grab(app):
    """The window's area of the X display. Decodes the common 32-bit little-endian xwd picture
    in bulk, which is much faster than pixel by pixel; anything else goes to the harness."""
    data = subprocess.run(["xwd", "-root", "-silent"], env=app.session.env,
                          capture_output=True, timeout=30, check=True).stdout
    header = struct.unpack(">25I", data[:100])
    header_size, width, height = header[0], header[4], header[5]
    byte_order, bits_per_pixel, bytes_per_line = header[7], header[11], header[12]
    masks, ncolors = header[14:17], header[19]
    if (bits_per_pixel, byte_order, masks) != (32, 0, (0xFF0000, 0xFF00, 0xFF)) or \
            bytes_per_line != width * 4 or sys.byteorder != "little":
        return Shot.from_xwd(data).crop(app.x, app.y, app.width, app.height)
    at = header_size + ncolors * 12
    words = array.array("I")
    words.frombytes(data[at:at + bytes_per_line * height])
    pixels = []
    for y in range(app.y, app.y + app.height):
        start = y * width + app.x
        pixels.extend(p & 0xFFFFFF for p in words[start:start + app.width])
    return Shot(app.width, app.height, pixels)


def hole(column, row):
    return 48 * column, 432 - 48 * row


def button(column):
    return 28 + 48 * (column - 1) + 20, 456


class Game(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # A screen just larger than the window keeps the screenshots small.
        cls.session = XSession(416, 512).__enter__()
        cls.probes = tempfile.TemporaryDirectory()
        cls.expected_bars = {}

    @classmethod
    def tearDownClass(cls):
        cls.session.__exit__(None, None, None)
        cls.probes.cleanup()

    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.app = None

    def tearDown(self):
        if self.app is not None:
            self.app.kill()
        self.folder.cleanup()

    # -- set-up -----------------------------------------------------------------------------
    def start(self, white="human", black="human", language="en", texts=TEXTS, first=None):
        with open(os.path.join(self.folder.name, "options.ini"), "w") as f:
            f.write("[players]\nwhite=%s\nblack=%s\n[interface]\nlanguage=%s\n"
                    % (white, black, language))
        if texts is not None:
            os.makedirs(os.path.join(self.folder.name, "properties"))
            path = os.path.join(self.folder.name, "properties",
                                "Language_%s.properties" % language)
            with open(path, "wb") as f:
                f.write(b"".join(k.encode() + b"=" + v + b"\r\n" for k, v in texts.items()))
        self.session.move_pointer(410, 505)
        self.app = self.session.start([DISCGAME], cwd=self.folder.name)
        self.app.wait_window()
        if first is None:
            first = texts["s8"] if texts else b"<s8>"
        return self.wait_status(first)

    # -- what the screen shows --------------------------------------------------------------
    def expected_bar(self, text):
        """The top bar with `text` in the status line, drawn by the headless backend."""
        if text not in self.expected_bars:
            path = os.path.join(self.probes.name, "status-%d.ppm" % len(self.expected_bars))
            subprocess.run([STATUSPROBE, path, text.hex()], check=True, timeout=10)
            self.expected_bars[text] = Shot.load_ppm(path).crop(0, 0, 384, 48)
        return self.expected_bars[text]

    def shows_status(self, shot, text):
        return not shot.crop(0, 0, 384, 48).differences(self.expected_bar(text), 1)

    def shot(self):
        return grab(self.app)

    def wait_until(self, predicate, timeout=5.0):
        deadline = time.monotonic() + timeout
        while True:
            shot = self.shot()
            if predicate(shot):
                return shot
            if time.monotonic() >= deadline:
                self.fail("the window did not show what was expected within %.1f s" % timeout)
            time.sleep(0.02)

    def wait_status(self, text, timeout=5.0):
        try:
            return self.wait_until(lambda s: self.shows_status(s, text), timeout=timeout)
        except AssertionError:
            shot = self.shot()
            self.fail("status line does not show %r: %s" % (
                text, shot.crop(0, 0, 384, 48).differences(self.expected_bar(text))))

    def wait_disc(self, column, row, colour, timeout=5.0):
        x, y = hole(column, row)
        return self.wait_until(lambda s: s.get(x, y) == colour, timeout=timeout)

    def discs(self, shot):
        return sorted((c, r, shot.get(*hole(c, r))) for c in range(1, 8) for r in range(1, 7)
                      if shot.get(*hole(c, r)) != HOLE)

    def click(self, column):
        self.app.click(*button(column))

    def settle(self, quiet=0.3):
        """Waits until the picture has not changed for `quiet` seconds; returns it."""
        last = self.shot()
        since = time.monotonic()
        while time.monotonic() - since < quiet:
            time.sleep(0.05)
            shot = self.shot()
            if shot.differences(last, 1):
                last, since = shot, time.monotonic()
        return last

    # -- tests ------------------------------------------------------------------------------
    def test_start_screen(self):
        shot = self.start()
        self.assertEqual((self.app.width, self.app.height), (384, 480))
        self.assertEqual(self.app.title(), "Disc game test")
        for x, y in [(0, 0), (383, 48), (0, 432), (383, 479)]:
            self.assertEqual(shot.get(x, y), BAR, (x, y))
        for x, y in [(0, 49), (200, 431), (48, 96)]:
            self.assertEqual(shot.get(x, y), GREY, (x, y))
        self.assertEqual(self.discs(shot), [], "42 empty holes")
        for c in range(1, 8):
            left = 28 + 48 * (c - 1)
            self.assertEqual(shot.get(left, 444), 0x000000, "frame of button %d" % c)
            self.assertEqual(shot.get(left + 20, 446), 0x454545, "top of button %d" % c)
            self.assertEqual(shot.get(left + 20, 465), 0x080808, "bottom of button %d" % c)
        # Centred: the 13 glyphs of "White to move" start at x = (336 - 104) / 2 + 24.
        text_x = [x for y in range(16, 32) for x in range(24, 360) if shot.get(x, y) == 0xE0E0E0]
        self.assertGreaterEqual(min(text_x), 140)
        self.assertLess(max(text_x), 244)
        self.assertTrue(self.shows_status(shot, TEXTS["s8"]))

    def test_click_on_column_four_drops_white_and_black_is_to_move(self):
        self.start()
        self.click(4)
        shot = self.wait_disc(4, 1, WHITE)
        self.wait_status(TEXTS["s9"])
        shot = self.settle()
        self.assertEqual(self.discs(shot), [(4, 1, WHITE)])
        self.assertEqual(shot.get(*hole(4, 2)), HOLE)
        self.assertEqual(shot.get(192, 96), GREY, "nothing left above the board")

    def test_click_on_a_full_column_changes_nothing(self):
        self.start()
        for i in range(6):
            self.click(1)
            self.wait_disc(1, i + 1, WHITE if i % 2 == 0 else BLACK)
        before = self.settle()
        self.assertTrue(self.shows_status(before, TEXTS["s8"]))
        self.click(1)
        after = self.settle(quiet=0.5)
        self.assertEqual(after.crop(0, 0, 384, 432).differences(before.crop(0, 0, 384, 432)), [])
        self.click(2)
        self.wait_disc(2, 1, WHITE)

    def test_own_engine_as_black_replies_at_once(self):
        self.start(black="engine")
        self.click(3)
        shot = self.wait_disc(3, 1, WHITE)
        shot = self.wait_until(lambda s: len(self.discs(s)) == 2, timeout=3)
        self.wait_status(TEXTS["s8"])
        self.assertEqual([d[2] for d in self.discs(self.settle())].count(BLACK), 1)

    def test_win_shows_the_win_text_and_the_next_click_starts_a_new_game(self):
        self.start()
        for move in "1212121":
            before = len(self.discs(self.shot()))
            self.click(int(move))
            self.wait_until(lambda s: len(self.discs(s)) == before + 1)
        self.wait_status(TEXTS["s6"])
        self.click(5)
        shot = self.wait_status(TEXTS["s8"])
        shot = self.settle()
        self.assertEqual(self.discs(shot), [], "a new game and no disc dropped")
        self.click(5)
        self.wait_disc(5, 1, WHITE)

    def test_german_shows_its_own_white_to_move_text(self):
        german = dict(TEXTS, s8=b"Weiss zieht")
        self.start(language="de", texts=german, first="Weiß am Zug".encode("cp437"))

    def test_without_language_file_the_error_line_is_printed_once_and_the_game_plays(self):
        self.start(language="fr", texts=None)
        self.assertEqual(self.app.title(), "<s1>")
        self.click(4)
        self.wait_disc(4, 1, WHITE)
        self.wait_status(b"<s9>")
        self.app.close_request()
        self.assertEqual(self.app.wait_exit(timeout=1.0), 0)
        self.assertEqual(self.app.stdout(), "Error: Can't load language file for default\n")

    def test_close_request_ends_the_process_with_code_zero_within_a_second(self):
        self.start()
        self.click(4)
        self.wait_disc(4, 1, WHITE)
        began = time.monotonic()
        self.app.close_request()
        self.assertEqual(self.app.wait_exit(timeout=1.0), 0)
        self.assertLess(time.monotonic() - began, 1.0)
        self.assertEqual(self.app.stdout(), "")


if __name__ == "__main__":
    DISCGAME, STATUSPROBE = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    del sys.argv[1:3]
    unittest.main()
