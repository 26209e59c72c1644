"""toolkit-demo as a person uses it: the real binary in a real X window under Xvfb, driven by
real pointer events, checked from screenshots. The expected frames are painted by the demo's
own screen code on the headless backend (toolkit_demo_frames), so every screenshot must match
one of them pixel for pixel.

Usage: demo_e2e.py <toolkit-demo> <toolkit_demo_frames>
"""

import os
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..",
                                "platform", "tests", "e2e"))
from xharness import Shot, XSession  # noqa: E402

DEMO = None
FRAMES = None

BAR_HEIGHT, ITEM_HEIGHT = 20, 20
FILE_TITLE = (20, 10)
HINTS_BOX = (34, 94)


def item(row):
    """Centre of the row-th item (from 0) of the File menu."""
    return 40, BAR_HEIGHT + 2 + row * ITEM_HEIGHT + ITEM_HEIGHT // 2


class Demo(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = XSession().__enter__()
        cls.frames = tempfile.TemporaryDirectory()
        subprocess.run([FRAMES, cls.frames.name], check=True, timeout=30)

    @classmethod
    def tearDownClass(cls):
        cls.session.__exit__(None, None, None)
        cls.frames.cleanup()

    def setUp(self):
        self.app = self.session.start([DEMO])
        self.app.wait_window()
        self.expect("start")

    def tearDown(self):
        if self.app.proc.poll() is None:
            self.app.proc.kill()
            self.app.proc.wait()

    def expect(self, name):
        expected = Shot.load_ppm(os.path.join(self.frames.name, name + ".ppm"))
        try:
            self.app.wait_until(lambda shot: not shot.differences(expected, 1))
        except Exception:
            shot = self.app.screenshot()
            self.fail("%s: the window differs at %s" % (name, shot.differences(expected, 3)))

    def hold_click(self, x, y):
        """Press, hold for several polls, release: how a person opens a menu."""
        self.app.move(x, y)
        self.app.press()
        time.sleep(0.2)
        self.app.release()

    def test_open_a_menu_choose_an_item_tick_a_box_and_quit(self):
        self.hold_click(*FILE_TITLE)
        self.expect("file-open")

        self.hold_click(*item(0))
        self.expect("new-game")

        self.app.click(*HINTS_BOX)
        self.expect("hints")

        self.hold_click(*FILE_TITLE)
        self.hold_click(*item(2))
        self.assertEqual(self.app.wait_exit(), 0)

    def test_disabled_item_is_not_chosen(self):
        self.hold_click(*FILE_TITLE)
        self.expect("file-open")
        self.hold_click(*item(1))
        # Still open, nothing chosen: the pointer rests on the disabled item, unlit.
        time.sleep(0.2)
        self.expect("file-open")

    def test_closing_the_window_ends_with_code_zero(self):
        self.app.close_request()
        self.assertEqual(self.app.wait_exit(), 0)


if __name__ == "__main__":
    DEMO, FRAMES = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1])
