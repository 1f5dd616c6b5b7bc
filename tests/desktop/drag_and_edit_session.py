#!/usr/bin/python3
"""A modder's whole job in the editor, in a real X session with the real
mouse: drag a sample from one demo bank onto a row of the other, confirm and
save; open the edit dialog on a sample, browse a WAV file, test it, set the
volume, OK and save; change things and Cancel. calyx-cli then reads the
saved banks back. The dialog is seen in English (the game's texts) and in
French (no game texts).

Run inside an X server and a D-Bus session (see run-editor-session).
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

import pyatspi

from session_support import (BIN, centre, check, dialog_named, dialogs, double_click, drag_mouse, expect_quit, find,
                             finish, make_demo, press, run_menu, screenshot, start, type_volume, wait_for, walk,
                             wav_data, write_wav, xdotool)

VLM2 = "drive_c/Jeux/VLM2/Datab/Resson/VLM2Snd.bnm"
K7 = "drive_c/Jeux/K7/K7datab/Resson/K7Snd.bnm"


def cli(*args):
    return subprocess.run([os.path.join(BIN, "calyx-cli")] + list(args), capture_output=True, text=True)


def exported_data(prefix, bank, index, folder):
    """The sample bytes of resource `index` as calyx-cli exports them."""
    out = os.path.join(folder, "export-%s-%d.wav" % (os.path.basename(bank), index))
    run = cli("export", os.path.join(prefix, bank), str(index), out)
    check(run.returncode == 0, "calyx-cli exports resource %d of %s (%s)" % (index, bank, run.stderr.strip()))
    return wav_data(out) if run.returncode == 0 else None



def volume_of(prefix, bank, index):
    run = cli("list", os.path.join(prefix, bank))
    for line in run.stdout.splitlines():
        fields = line.split()
        if fields and fields[0] == str(index):
            return line
    return ""


def document(title):
    """The document window whose title is `title` (the accessible name keeps
    the title it had when first read, so the modified marker is not looked at)."""
    def search():
        for node in walk(wait_for(find("frame", "Calyx"), "the main window")):
            if node.getRoleName() == "frame" and node.name.rstrip(" *") == title:
                return node
        return None
    return wait_for(search, "the document window " + title)


def drag(source, target):
    """Presses on `source`, moves the real mouse in steps onto `target` and lets go."""
    drag_mouse(centre(source), centre(target), "drag-over-row")


def message_box():
    """The message box on screen (a dialog with a text and buttons)."""
    def search():
        return next((d for d in dialogs() if any(n.getRoleName() == "text" for n in walk(d))), None)
    return wait_for(search, "a message box", timeout=10)


def quit_without_question(process, file_menu, quit_item):
    run_menu(file_menu, quit_item)
    expect_quit(process, "the editor quits without asking (nothing left unsaved)")


def tile_documents():
    frame = wait_for(find("frame", "Calyx"), "the main window")
    window = subprocess.run(["xdotool", "search", "--name", "^Calyx$"], capture_output=True, text=True).stdout.split()
    if window:
        xdotool("windowsize", window[0], 1000, 740)
    time.sleep(0.5)
    tile = next(n.name for n in walk(frame) if n.getRoleName() == "menu item" and n.name.startswith(("Tile", "Mosa")))
    run_menu("Window", tile)
    return frame


def drag_between_banks(prefix, home, work):
    vlm2_horn = exported_data(prefix, VLM2, 2, work)
    k7_skid_before = exported_data(prefix, K7, 2, work)
    process = start(prefix, home, [os.path.join(prefix, VLM2), os.path.join(prefix, K7)], sound_driver="dummy")
    tile_documents()
    source = wait_for(find("table cell", "Horn", document("VLM2Snd.bnm")), "VLM2's Horn row")
    target = wait_for(find("table cell", "Skid", document("K7Snd.bnm")), "K7's Skid row")
    drag(source, target)
    box = message_box()
    question = [n.name for n in walk(box) if n.getRoleName() == "text"]
    screenshot("drop-question")
    check("Replace the sound of Skid with Horn from VLM2Snd.bnm?" in question,
          "the drop asks before replacing Skid, naming the source: %r" % question)
    buttons = [n.name for n in walk(box) if n.getRoleName() == "push button" and n.name]
    check(buttons == ["OK", "Cancel"], "the question offers OK and Cancel: %r" % buttons)
    press(wait_for(find("push button", "OK", box), "the question's OK"))
    time.sleep(0.5)
    screenshot("after-drop")
    # The target's window is made the active one, then saved; the editor
    # then quits without asking about unsaved changes.
    press(wait_for(find("table cell", "Skid", document("K7Snd.bnm")), "K7's Skid row"))
    press(wait_for(find("push button", "Save"), "the Save button"))
    time.sleep(1)
    quit_without_question(process, "File", "Exit")

    k7_skid_after = exported_data(prefix, K7, 2, work)
    check(vlm2_horn is not None and k7_skid_after == vlm2_horn and k7_skid_after != k7_skid_before,
          "the saved K7 bank holds VLM2's Horn sample in Skid's place")
    check(cli("check", os.path.join(prefix, K7)).returncode == 0, "calyx-cli checks the saved K7 bank as sound")


def edit_dialog(prefix, home, work):
    wav = os.path.join(work, "new-idle.wav")
    samples = [int(8000 * ((i % 50) / 25.0 - 1)) for i in range(11024)]
    write_wav(wav, samples)
    bank = os.path.join(prefix, VLM2)
    original = open(bank, "rb").read()

    # Changes, then Cancel: nothing changes.
    process = start(prefix, home, [bank], sound_driver="dummy")
    vlm2 = document("VLM2Snd.bnm")
    double_click(wait_for(find("table cell", "EngineIdle", vlm2), "the EngineIdle row"))
    dialog = dialog_named("Sound 'EngineIdle'")
    type_volume(dialog, "12")
    press(wait_for(find("push button", "Cancel", dialog), "Cancel"))
    time.sleep(0.5)
    quit_without_question(process, "File", "Exit")
    check(open(bank, "rb").read() == original, "Cancel after changes leaves the bank as it was")

    # Browse a WAV, test it, set the volume, OK, save.
    process = start(prefix, home, [bank], sound_driver="dummy")
    vlm2 = document("VLM2Snd.bnm")
    double_click(wait_for(find("table cell", "EngineIdle", vlm2), "the EngineIdle row"))
    dialog = dialog_named("Sound 'EngineIdle'")
    screenshot("edit-dialog-english")
    press(wait_for(find("push button", "Browse...", dialog), "Browse..."))
    wait_for(lambda: next((d for d in dialogs() if not d.name.startswith("Sound")), None), "the file dialog")
    time.sleep(0.5)
    screenshot("browse-dialog")
    xdotool("type", "--delay", 20, wav)
    xdotool("key", "Return")
    time.sleep(1)
    file_box = wait_for(find("text", "Sample file", dialog), "the file name box")
    check(file_box.queryText().getText(0, -1) == wav, "Browse puts the chosen file in the box")
    press(wait_for(find("push button", "Play current", dialog), "Play current"))
    time.sleep(0.5)
    stray = [d.name for d in dialogs() if not d.name.startswith("Sound")]
    check(not stray, "Play current plays without a message")
    type_volume(dialog, "64")
    screenshot("edit-dialog-changed")
    press(wait_for(find("push button", "OK", dialog), "OK"))
    time.sleep(0.5)
    screenshot("after-edit")
    press(wait_for(find("push button", "Save"), "the Save button"))
    time.sleep(1)
    quit_without_question(process, "File", "Exit")

    data = exported_data(prefix, VLM2, 0, work)
    check(data is not None and data[:len(samples) * 2] == struct.pack("<%dh" % len(samples), *samples),
          "the saved bank holds the browsed WAV's samples in EngineIdle")
    listed = volume_of(prefix, VLM2, 0)
    check(" 64 " in " %s " % listed, "EngineIdle's volume is 64 after reopening: %r" % listed)


def french_dialog(prefix, home):
    """The same dialog without the game's texts: the editor's own French."""
    french = os.path.join(home, "french")
    shutil.copytree(prefix, french, symlinks=True)
    for folder in ("drive_c/Jeux/VLM2/Datab/Resson", "drive_c/Jeux/K7/K7datab/Resson"):
        os.remove(os.path.join(french, folder, "strings.dat"))
    ini = os.path.join(french, "drive_c/windows/Ornwick/Ornwick.Ini")
    with open(ini) as f:
        text = f.read().replace("Language=English", "Language=French")
    with open(ini, "w") as f:
        f.write(text)
    process = start(french, home, [os.path.join(french, VLM2)], sound_driver="dummy")
    vlm2 = document("VLM2Snd.bnm")
    double_click(wait_for(find("table cell", "EngineIdle", vlm2), "the EngineIdle row"))
    dialog = dialog_named("Modification de la ressource")
    buttons = [n.name for n in walk(dialog) if n.getRoleName() == "push button"]
    check(buttons == ["OK", "Cancel", "Browse...", "Reset", "exporter Wav", "Test current", "Test"],
          "the dialog's own button texts without the game's: %r" % buttons)
    labels = [n.name for n in walk(dialog) if n.getRoleName() == "label"]
    check("type de la ressource : échantillon sonore" in labels and "Nom de fichier:" in labels,
          "the dialog's French lines: %r" % labels)
    screenshot("edit-dialog-french")
    press(wait_for(find("push button", "Cancel", dialog), "Cancel"))
    quit_without_question(process, "Fichier", "Quitter")


def main():
    pyatspi.Registry.getDesktop(0).childCount
    with tempfile.TemporaryDirectory() as home:
        prefix = make_demo(home)
        work = os.path.join(home, "work")
        os.makedirs(work)
        french_dialog(prefix, home)
        drag_between_banks(prefix, home, work)
        edit_dialog(prefix, home, work)
    return finish()


if __name__ == "__main__":
    sys.exit(main())
