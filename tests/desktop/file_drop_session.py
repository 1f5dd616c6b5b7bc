#!/usr/bin/python3
"""WAV files dragged from outside the editor onto a row, as from a file
manager: the drag comes from the drag-source helper (a separate program, so
the drop crosses between applications as a real one does) and is moved with
the real mouse (xdotool). The 44.1 kHz stereo file is converted on request,
the bank saved, and `calyx-cli export` shows the converted sample in it.
A text file dragged onto a row is refused at once (no drop, no question),
and a WAV file dropped on the open edit dialog is taken into it.

Run inside an X server and a D-Bus session (see run-editor-session).
"""
import json
import os
import subprocess
import sys
import tempfile
import time

import pyatspi

from session_support import (BIN, check, dialog_named, dismiss_driver_message, double_click, find, finish, make_demo,
                             press, quit_editor, run_menu, screenshot, wait_for, walk)

BANK = "C:\\Jeux\\VLM2\\Datab\\Resson\\VLM2Snd.bnm"


def cli(prefix, *arguments):
    return subprocess.run([os.path.join(BIN, "calyx-cli")] + list(arguments), env=dict(os.environ, WINEPREFIX=prefix),
                          check=True, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True).stdout


def start_with_bank(prefix, home):
    env = dict(os.environ, WINEPREFIX=prefix, HOME=home, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               XDG_CONFIG_HOME=os.path.join(home, ".config"), XDG_CACHE_HOME=os.path.join(home, ".cache"),
               SDL_AUDIODRIVER="none")
    return subprocess.Popen([os.path.join(BIN, "calyx"), BANK], env=env, stderr=subprocess.DEVNULL)


def drag_from_outside(files, target):
    """Drags `files` from the drag-source helper onto the middle of `target`."""
    source = subprocess.Popen([os.path.join(BIN, "calyx-test-drag-source")] + files, stdout=subprocess.PIPE,
                              text=True, env=dict(os.environ, QT_QPA_PLATFORM="xcb"))
    check(source.stdout.readline().strip() == "ready", "the drag source is up")
    time.sleep(1.5)  # mapped, painted and on top
    box = target.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    to_x, to_y = box.x + box.width // 2, box.y + box.height // 2
    # The middle of the source window, in the screen's bottom right corner.
    from_x, from_y = 1024 - 110, 768 - 60
    subprocess.run(["xdotool", "mousemove", str(from_x), str(from_y), "mousedown", "1"], check=True)
    for step in range(1, 31):
        subprocess.run(["xdotool", "mousemove", str(from_x + (to_x - from_x) * step // 30),
                        str(from_y + (to_y - from_y) * step // 30)], check=True)
        time.sleep(0.05)
    time.sleep(0.5)
    screenshot("file-drop-dragging")
    subprocess.run(["xdotool", "mouseup", "1"], check=True)
    return source


def answer_box(button, text_part):
    """Presses `button` in the message box that says `text_part`."""
    def box_saying():
        box = find("dialog", "CalyxSound")()
        if box is not None and any(text_part in n.name for n in walk(box) if n.getRoleName() == "text"):
            return box
        return None
    box = wait_for(box_saying, "a message box saying " + text_part)
    check(True, "a message box says %r" % text_part)
    press(wait_for(find("push button", button, box), "the box's " + button))


def main():
    pyatspi.Registry.getDesktop(0).childCount
    with tempfile.TemporaryDirectory() as home:
        prefix = make_demo(home)
        target_name = json.loads(cli(prefix, "list", BANK, "--json"))[1]["name"]
        wav = os.path.join(home, "tone44k.wav")
        subprocess.run(["sox", "-n", "-r", "44100", "-c", "2", "-b", "16", wav, "synth", "0.5", "sine", "300-900"],
                       check=True)
        original = open(wav, "rb").read()
        expected = os.path.join(home, "expected.wav")
        cli(prefix, "convert", wav, expected)

        process = start_with_bank(prefix, home)
        dismiss_driver_message("The sound device cannot be opened")
        target = wait_for(find("table cell", target_name), "the row of " + target_name)
        screenshot("file-drop-before")
        source = drag_from_outside([wav, os.path.join(home, "tone-other.wav")], target)
        answer_box("OK", "Replace the sound of %s with the file tone44k.wav?" % target_name)
        screenshot("file-drop-conversion-offer")
        answer_box("Yes", "Convert a copy")
        try:
            out, _ = source.communicate(timeout=10)
            check("dropped copy" in out, "the drag source saw its files taken: %r" % out)
        except subprocess.TimeoutExpired:
            source.kill()
            check(False, "the drag ends")
        wait_for(find("table cell", wav), "the File Name column naming the dropped file", timeout=10)
        screenshot("file-drop-after")

        run_menu("File", "Save")
        exported = os.path.join(home, "exported.wav")
        saved = False
        for _ in range(50):
            time.sleep(0.2)
            cli(prefix, "export", BANK, "1", exported)
            got = open(exported, "rb").read()[44:]
            want = open(expected, "rb").read()[44:]
            if got == want[:len(want) & ~3]:
                saved = True
                break
        check(saved, "calyx-cli export shows the converted sample in the saved bank")
        check(open(wav, "rb").read() == original, "the dropped file is untouched")
        screenshot("file-drop-saved")

        names = [sound["name"] for sound in json.loads(cli(prefix, "list", BANK, "--json"))]
        other = wait_for(find("table cell", names[2]), "the row of " + names[2])
        notes = os.path.join(home, "notes.txt")
        with open(notes, "w") as f:
            f.write("not a sound")
        source = drag_from_outside([notes], other)
        out, _ = source.communicate(timeout=10)
        check("dropped none" in out, "a text file dragged onto a row is refused at once: %r" % out)
        time.sleep(0.5)
        check(find("dialog", "CalyxSound")() is None, "and no question is asked")

        mono = os.path.join(home, "mono22k.wav")
        subprocess.run(["sox", "-n", "-r", "22050", "-c", "1", "-b", "16", mono, "synth", "0.3", "sine", "500"],
                       check=True)
        double_click(other)
        dialog = dialog_named("Sound '" + names[2] + "'")
        screenshot("file-drop-dialog-open")
        source = drag_from_outside([mono], dialog)
        out, _ = source.communicate(timeout=10)
        check("dropped copy" in out, "the edit dialog takes the dropped file: %r" % out)
        file_box = wait_for(find("text", "Sample file", dialog), "the file name box")
        wait_for(lambda: file_box.queryText().getText(0, -1) == mono or None, "the dropped file in the box")
        screenshot("file-drop-on-dialog")
        press(wait_for(find("push button", "OK", dialog), "OK"))
        wait_for(find("table cell", mono), "the File Name column naming the file dropped on the dialog", timeout=10)
        run_menu("File", "Save")
        time.sleep(1)
        # Started with a bank after the start-up message: the File menu's
        # items are those of the document menu, where they are on screen.
        quit_editor(process, "Exit")
    return finish()


if __name__ == "__main__":
    sys.exit(main())
