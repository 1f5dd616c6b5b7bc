#!/usr/bin/python3
"""A folder exported by calyx-cli export-all, one file edited in an audio
editor, taken back with File > Import folder... in a real X session: the
summary says what was done, and the saved bank holds the edited sound.

Run inside an X server and a D-Bus session (see run-editor-session).
"""
import os
import struct
import subprocess
import sys
import tempfile
import time

import pyatspi

from session_support import (BIN, check, dialogs, expect_quit, find, finish, make_demo, press, run_menu, screenshot,
                             start, wait_for, walk, wav_data, write_wav, xdotool)

VLM2 = "drive_c/Jeux/VLM2/Datab/Resson/VLM2Snd.bnm"


def cli(*args):
    return subprocess.run([os.path.join(BIN, "calyx-cli")] + list(args), capture_output=True, text=True)



def message_text():
    def search():
        for d in dialogs():
            texts = [n.name for n in walk(d) if n.getRoleName() == "text" and n.name]
            if texts:
                return d, texts
        return None
    return wait_for(search, "a message box", timeout=20)


def main():
    pyatspi.Registry.getDesktop(0).childCount
    with tempfile.TemporaryDirectory() as home:
        prefix = make_demo(home)
        bank = os.path.join(prefix, VLM2)
        folder = os.path.join(home, "wavs")
        os.makedirs(folder)
        check(cli("export-all", bank, folder).returncode == 0, "calyx-cli exports every sample")
        horn = next(n for n in os.listdir(folder) if n.startswith("2_"))
        samples = [int(9000 * ((i % 40) / 20.0 - 1)) for i in range(5000)]
        write_wav(os.path.join(folder, horn), samples)

        process = start(prefix, home, [bank], sound_driver="dummy")
        wait_for(find("table cell", "Horn"), "the Horn row")
        run_menu("File", "Import folder...")
        wait_for(lambda: next((d for d in dialogs()), None), "the folder dialog")
        time.sleep(1)
        screenshot("import-folder-dialog")
        xdotool("type", "--delay", 20, folder)
        xdotool("key", "Return")
        time.sleep(1)
        # Return takes a typed folder; should the dialog still ask, Choose does.
        choose = find("push button", "Choose", showing=True)()
        if choose is not None:
            press(choose)
        box, texts = message_text()
        screenshot("import-folder-summary")
        check(any(t.startswith("replaced 1, unchanged ") for t in texts), "the summary counts one replaced: %r" % texts)
        press(wait_for(find("push button", "OK", box), "the summary's OK"))
        time.sleep(0.5)
        press(wait_for(find("push button", "Save"), "the Save button"))
        time.sleep(1)
        run_menu("File", "Exit")
        expect_quit(process, "the editor quits without asking: the import was saved")
        out = os.path.join(home, "horn-after.wav")
        check(cli("export", bank, "2", out).returncode == 0, "calyx-cli exports Horn")
        check(wav_data(out) == struct.pack("<%dh" % len(samples), *samples), "the saved bank holds the edited Horn")
    return finish()


if __name__ == "__main__":
    sys.exit(main())
