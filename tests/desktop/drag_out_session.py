#!/usr/bin/python3
"""A sample's row dragged out of the editor with the real mouse (xdotool)
onto another program: the test's drop target, a stand-in for a file
manager's folder (a separate program, so that the drop crosses between
applications as a real one does), receives a WAV file named as export-all
names it ("2_Horn.wav"), byte for byte what `calyx-cli export` writes. The
bank is left as it was and nothing is asked. (Inside the editor the same
drag still copies between rows: drag_and_edit_session.py.)

Run inside an X server and a D-Bus session (see run-editor-session).
"""
import os
import subprocess
import sys
import tempfile
import time

import pyatspi

from session_support import (BIN, centre, check, dialogs, drag_mouse, expect_quit, find, finish, make_demo, run_menu,
                             screenshot, start, wait_for)

VLM2 = "drive_c/Jeux/VLM2/Datab/Resson/VLM2Snd.bnm"


def main():
    pyatspi.Registry.getDesktop(0).childCount
    with tempfile.TemporaryDirectory() as home:
        prefix = make_demo(home)
        bank = os.path.join(prefix, VLM2)
        before = open(bank, "rb").read()
        expected = os.path.join(home, "expected.wav")
        subprocess.run([os.path.join(BIN, "calyx-cli"), "export", bank, "2", expected], check=True,
                       stdout=subprocess.DEVNULL)
        folder = os.path.join(home, "folder")
        os.makedirs(folder)

        process = start(prefix, home, [bank], sound_driver="dummy")
        row = wait_for(find("table cell", "Horn", wait_for(find("frame", "VLM2Snd.bnm"), "the bank's window",
                                                           timeout=60)), "Horn's row")
        # The drop target shows last, on top, in the screen's bottom left corner.
        target = subprocess.Popen([os.path.join(BIN, "calyx-test-drop-target"), folder], stdout=subprocess.PIPE,
                                  text=True, env=dict(os.environ, QT_QPA_PLATFORM="xcb"))
        check(target.stdout.readline().strip() == "ready", "the drop target is up")
        time.sleep(1.5)
        screenshot("drag-out-before")

        # Onto the middle of the drop target.
        drag_mouse(centre(row), (110, 768 - 60), "drag-out-over-target", steps=30)
        try:
            out, _ = target.communicate(timeout=15)
        except subprocess.TimeoutExpired:
            target.kill()
            out = ""
        check("received 2_Horn.wav" in out, "the drop target received 2_Horn.wav: %r" % out)
        received = os.path.join(folder, "2_Horn.wav")
        check(os.path.exists(received) and open(received, "rb").read() == open(expected, "rb").read(),
              "the file is byte for byte what calyx-cli export writes")
        time.sleep(0.5)
        screenshot("drag-out-after")
        check(not dialogs(), "nothing is asked")
        run_menu("File", "Exit")
        expect_quit(process, "the editor quits without asking (the bank is unchanged)")
        check(open(bank, "rb").read() == before, "the bank is as it was")
    return finish()


if __name__ == "__main__":
    sys.exit(main())
