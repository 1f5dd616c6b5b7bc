"""What every desktop session test needs: the editor started in a real X
session, its widgets found through the desktop's accessibility bus, pressed
and dragged with the real mouse (xdotool), and checks that are counted.

Needs the built programs (CALYX_BIN_DIR). With CALYX_SCREENSHOT_DIR set,
pictures of the screen are saved there at each step.
"""
import os
import shutil
import struct
import subprocess
import time

import pyatspi

BIN = os.environ["CALYX_BIN_DIR"]
SHOTS = os.environ.get("CALYX_SCREENSHOT_DIR")
failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what, flush=True)
    if not condition:
        failures.append(what)


def screenshot(name):
    if SHOTS and shutil.which("import"):
        subprocess.run(["import", "-window", "root", os.path.join(SHOTS, name + ".png")], check=False)


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def wait_for(find, what, timeout=20):
    end = time.time() + timeout
    while time.time() < end:
        try:
            found = find()
        except Exception:  # the tree changes while it is read
            found = None
        if found is not None:
            return found
        time.sleep(0.2)
    raise AssertionError("not found: " + what)


def calyx_app():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Calyx":
            return app
    return None


def find(role, name=None, within=None, showing=False):
    """A search for the first node of `role` (named `name`); with `showing`,
    only one on screen now (a menu's items are found only once it is open)."""
    def search():
        root = within or calyx_app()
        if root is None:
            return None
        for node in walk(root):
            if node.getRoleName() == role and (name is None or node.name == name):
                if not showing or node.getState().contains(pyatspi.STATE_SHOWING):
                    return node
        return None
    return search


def names(role, within):
    return [n.name for n in walk(within) if n.getRoleName() == role]


def enabled(node):
    return node.getState().contains(pyatspi.STATE_ENABLED)


def press(node):
    """Clicks a widget with the real mouse, where the desktop says it is."""
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2),
                    "click", "1"], check=True)


def hover(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2)], check=True)


def run_menu(menu_name, item_name):
    press(wait_for(find("menu item", menu_name, showing=True), "menu " + menu_name))
    press(wait_for(find("menu item", item_name, showing=True), "menu item " + item_name))


def start(prefix, home, banks=(), sound_driver="none"):
    """The editor on `prefix`, opening `banks`. The "none" sound driver is no
    device at all (the start-up message shows); "dummy" plays into nothing."""
    env = dict(os.environ, WINEPREFIX=prefix, HOME=home, QT_QPA_PLATFORM="xcb",
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", XDG_CONFIG_HOME=os.path.join(home, ".config"),
               SDL_AUDIODRIVER=sound_driver)
    return subprocess.Popen([os.path.join(BIN, "calyx")] + list(banks), env=env, stderr=subprocess.DEVNULL)


def dismiss_driver_message(expected_text):
    # The first window of a fresh session: the accessibility bus may take a while.
    box = wait_for(find("dialog", "CalyxSound"), "the sound driver message", timeout=60)
    texts = [n.name for n in walk(box) if n.getRoleName() == "text"]
    check(texts == [expected_text], "sound driver message says %r (saw %r)" % (expected_text, texts))
    buttons = [n for n in walk(box) if n.getRoleName() == "push button" and n.name]
    check([b.name for b in buttons] == ["OK"], "the driver message has one OK button")
    screenshot("driver-message")
    press(buttons[0])


def expect_quit(process, what):
    """Checks that the editor ends by itself, with status 0, within ten
    seconds; kills it (after a screenshot) otherwise."""
    try:
        process.wait(timeout=10)
        check(process.returncode == 0, what)
    except subprocess.TimeoutExpired:
        screenshot("quit-blocked")
        process.kill()
        check(False, what)


def quit_editor(process, quit_item):
    run_menu(menu_names_now()[0], quit_item)
    expect_quit(process, "the editor quits from the File menu")


def menu_names_now():
    bar = wait_for(find("menu bar"), "the menu bar")
    return [n.name for n in walk(bar) if n.getRoleName() == "menu item" and n.parent.getRoleName() == "menu bar"]




def finish():
    """The session's exit status: 1 when a check failed."""
    if failures:
        print("%d check(s) failed" % len(failures))
        return 1
    return 0


def xdotool(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True)


def centre(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x + min(20, box.width // 2), box.y + box.height // 2


def drag_mouse(start_point, end_point, shot, steps=20):
    """Presses the real mouse at `start_point`, moves it in `steps` steps
    onto `end_point`, takes the picture `shot` there and lets go."""
    (sx, sy), (tx, ty) = start_point, end_point
    xdotool("mousemove", sx, sy)
    time.sleep(0.3)
    xdotool("mousedown", 1)
    for step in range(1, steps + 1):
        xdotool("mousemove", sx + (tx - sx) * step // steps, sy + (ty - sy) * step // steps)
        time.sleep(0.05)
    time.sleep(0.5)
    screenshot(shot)
    xdotool("mouseup", 1)


def make_demo(home):
    """The demo installation in `home`; answers its prefix."""
    prefix = os.path.join(home, "demo")
    subprocess.run([os.path.join(BIN, "calyx-make-demo"), prefix], check=True, stdout=subprocess.DEVNULL)
    return prefix


def double_click(node):
    x, y = centre(node)
    xdotool("mousemove", x, y, "click", "--repeat", 2, "--delay", 80, 1)


def dialogs():
    app = calyx_app()
    return [n for n in walk(app) if n.getRoleName() == "dialog"] if app is not None else []


def dialog_named(start_of_title):
    def search():
        return next((d for d in dialogs() if d.name.startswith(start_of_title)), None)
    return wait_for(search, "the dialog " + start_of_title)


def type_volume(dialog, value):
    """Types `value` over the volume box of the sound dialog `dialog`."""
    press(wait_for(find("text", "Volume", dialog), "the volume box"))
    xdotool("key", "ctrl+a")
    xdotool("type", value)

def wav_data(path):
    """The data chunk of a WAV file, or None."""
    with open(path, "rb") as f:
        data = f.read()
    offset = 12
    while offset + 8 <= len(data):
        kind, size = struct.unpack_from("<4sI", data, offset)
        if kind == b"data":
            return data[offset + 8:offset + 8 + size]
        offset += 8 + size + (size & 1)
    return None


def write_wav(path, samples):
    """A 22050 Hz mono 16-bit WAV file of `samples`."""
    data = struct.pack("<%dh" % len(samples), *samples)
    header = struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + len(data), b"WAVE", b"fmt ", 16, 1, 1, 22050,
                         44100, 2, 16, b"data", len(data))
    with open(path, "wb") as f:
        f.write(header + data)
