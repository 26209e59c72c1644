"""The SDL2 window under Xvfb: what the program paints reaches the X display pixel for pixel,
real pointer and key events arrive as the platform contract says, and the window manager's
close request ends the program with exit code 0.

Usage: sdl_window_e2e.py <path of the sdl_window_test program>
"""

import os
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xharness import Shot, XSession  # noqa: E402

PROBE = None


def mouse_lines(out):
    return [tuple(int(v) for v in line.split()[1:]) for line in out.splitlines()
            if line.startswith("mouse ")]


def key_lines(out):
    return [line[4:] for line in out.splitlines() if line.startswith("key ")]


class SdlWindow(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = XSession().__enter__()

    @classmethod
    def tearDownClass(cls):
        cls.session.__exit__(None, None, None)

    def setUp(self):
        # A fresh program per test, the pointer parked outside where its window will be.
        self.session.move_pointer(1000, 700)
        self.folder = tempfile.TemporaryDirectory()
        self.app = self.session.start([PROBE], cwd=self.folder.name,
                                      env={"DISC_PROBE_DIR": self.folder.name})
        self.app.wait_output("ready\n")
        self.app.wait_window()

    def tearDown(self):
        self.app.kill()
        self.folder.cleanup()

    def frame(self, name):
        return Shot.load_ppm(os.path.join(self.folder.name, name))

    def assertScreenShows(self, expected):
        try:
            self.app.wait_until(lambda shot: not shot.differences(expected, 1), timeout=5)
        except Exception:
            shot = self.app.screenshot()
            self.fail("screen differs from the framebuffer at %s" % shot.differences(expected))

    def test_first_frame_reaches_the_screen_pixel_for_pixel(self):
        # Painted and presented once before the window was mapped: it must still show.
        expected = self.frame("frame-a.ppm")
        self.assertEqual((self.app.width, self.app.height), (384, 480))
        self.assertScreenShows(expected)
        shot = self.app.screenshot()
        self.assertEqual(shot.get(0, 0), 0x101010)          # bar
        self.assertEqual(shot.get(10, 60), 0xFF0000)        # box corner
        self.assertEqual(shot.get(96, 384), 0xB0B0B0)       # cairo disc centre
        self.assertEqual(shot.get(200, 300), 0x202020)      # cleared background

    def test_picture_comes_back_after_the_window_is_mapped_again(self):
        expected = self.frame("frame-a.ppm")
        self.assertScreenShows(expected)
        self.app.map(False)
        self.app.map(True)
        self.assertScreenShows(expected)

    def test_drawing_without_unlock_is_shown_by_the_poll(self):
        self.app.type("b")
        self.app.wait_output("painted b\n")
        self.assertScreenShows(self.frame("frame-b.ppm"))

    def test_title_is_utf8_of_the_code_page_437_bytes(self):
        self.assertEqual(self.app.title(), "Vier gewinnt \u00fc\u263a")

    def test_pointer_position_is_window_relative_and_negative_outside(self):
        self.app.move(10, 20)
        out = self.app.wait_output("mouse 10 20 0")
        self.app.move(383, 479)
        out = self.app.wait_output("mouse 383 479 0")
        self.session.move_pointer(self.app.x + 500, self.app.y + 10)
        out = self.app.wait_output("mouse -1 -1 0")
        self.assertTrue(all(x < 384 and y < 480 for x, y, _, _ in mouse_lines(out)))

    def test_a_quick_click_is_seen_pressed_then_released(self):
        self.app.move(50, 60)
        self.app.wait_output("mouse 50 60 0 0")
        self.app.click(50, 60)
        out = self.app.wait_output("mouse 50 60 1 0\nmouse 50 60 0 0")
        self.app.click(50, 60, button=3)
        self.app.click(50, 60, button=2)
        out = self.app.wait_output("mouse 50 60 4 0\nmouse 50 60 0 0")
        self.assertIn("mouse 50 60 2 0\nmouse 50 60 0 0", out)

    def test_held_button_and_wheel_counter(self):
        self.app.move(30, 30)
        self.app.press(1)
        self.app.wait_output("mouse 30 30 1 0")
        self.app.move(40, 35)
        self.app.wait_output("mouse 40 35 1 0")
        self.app.release(1)
        self.app.wait_output("mouse 40 35 0 0")
        self.app.wheel(2)
        self.app.wait_output("mouse 40 35 0 2")
        self.app.wheel(-3)
        self.app.wait_output("mouse 40 35 0 -1")

    def test_keys_arrive_as_code_page_437_and_extended_codes(self):
        self.app.move(20, 20)
        self.app.type("a")
        self.app.key("Up", "Delete", "F1", "F10", "Return")
        out = self.app.wait_output("key 0d")
        self.assertEqual(key_lines(out), ["61", "ff 48", "ff 53", "ff 3b", "ff 44", "0d"])

    def test_close_request_ends_the_program_with_code_zero(self):
        self.app.close_request()
        started = time.monotonic()
        self.assertEqual(self.app.wait_exit(timeout=1.0), 0)
        self.assertLess(time.monotonic() - started, 1.0)
        self.assertEqual(key_lines(self.app.stdout()), ["ff 6b"])


if __name__ == "__main__":
    PROBE = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
