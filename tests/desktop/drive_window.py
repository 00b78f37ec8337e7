#!/usr/bin/python3
"""Drives the running program over the accessibility bus, as a screen reader user would.

Lists the window's buttons with their names, roles and states. With --play, the program was
started with an existing WAV file: the file name box must be empty and PLAY must play that file.
With --help-window, Help > How to Use must open the help window, its frame wholly on the X
screen. Then it types the file name through the text box's editable-text interface (unless the
program was started with it, --named), presses RECORD, waits until the status reads "RECORD",
lets it record, presses STOP, checks the WAV file and closes the window through File > Exit.
Each Press must come back at once: the click it starts may run for as long as the recording.
With --shots, `weston-screenshooter` (Wayland) or `import` (X11) takes a picture of the screen
at each stage.
"""

import argparse
import glob
import os
import subprocess
import sys
import time
import wave

import pyatspi
from gi.repository import GLib

PRESS_LIMIT = 1.0  # seconds a Press call may take
NAME_CHANGES_PER_SECOND = 3  # at most, for a read-out a screen reader would speak


class Events:
    """The accessibility events the program sends, as a screen reader receives them."""

    def __init__(self):
        self.seen = []
        for kind in ("object:state-changed", "object:property-change:accessible-name"):
            pyatspi.Registry.registerEventListener(self._record, kind)

    def _record(self, event):
        try:
            self.seen.append((event.type, event.source.getRoleName(), event.source.name,
                              event.detail1, time.monotonic()))
        except Exception:  # the source may be gone already
            pass

    def pump(self, seconds=0.0):
        end = time.monotonic() + seconds
        context = GLib.MainContext.default()
        while True:
            while context.pending():
                context.iteration(False)
            if time.monotonic() >= end:
                return
            time.sleep(0.02)


def fail(message):
    print("FAIL: " + message, flush=True)
    sys.exit(1)


EVENTS = None


def wait_for(what, check, timeout):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if EVENTS:
            EVENTS.pump()
        try:
            found = check()
        except Exception:  # the application may still be setting up its tree
            found = None
        if found:
            return found
        time.sleep(0.2)
    fail("timed out waiting for " + what)


def walk(node, depth=0):
    yield node, depth
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def states(node):
    return sorted(s.value_nick for s in node.getState().getStates())


def find_app(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == name:
            return app
    return None


def find(app, role, name=None):
    for node, _ in walk(app):
        if node.getRoleName() == role and (name is None or node.name == name):
            return node
    return None


def action_names(node):
    try:
        action = node.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def press(node, what):
    names = action_names(node)
    if "Press" not in names:
        fail(what + " has no Press action (actions: %s)" % names)
    start = time.monotonic()
    try:
        node.queryAction().doAction(names.index("Press"))
    except Exception as error:  # no answer within the bus's timeout
        fail("Press on %s got no answer after %.1f s: %s" % (what, time.monotonic() - start,
                                                           error))
    took = time.monotonic() - start
    print("pressed %s: the call returned after %.3f s" % (what, took), flush=True)
    if took > PRESS_LIMIT:
        fail("Press on %s kept the caller waiting %.1f s" % (what, took))


class Shots:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    def take(self, stage):
        if not self.folder:
            return
        self.count += 1
        target = os.path.join(self.folder, "%02d-%s.png" % (self.count, stage))
        if not os.environ.get("WAYLAND_DISPLAY"):
            subprocess.run(["import", "-window", "root", target], timeout=30, check=False)
            if not os.path.exists(target):
                fail("import made no picture at stage " + stage)
            print("screenshot: " + target, flush=True)
            return
        before = set(glob.glob(os.path.join(self.folder, "wayland-screenshot*.png")))
        subprocess.run(["weston-screenshooter"], cwd=self.folder, timeout=20, check=False)
        made = sorted(set(glob.glob(os.path.join(self.folder, "wayland-screenshot*.png"))) - before)
        if not made:
            fail("weston-screenshooter made no picture at stage " + stage)
        os.replace(made[-1], target)
        print("screenshot: " + target, flush=True)


def x11_windows_named(name):
    """The X11 ids of the client windows with this title."""
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True,
                          check=False).stdout
    quoted = '"%s"' % name
    return [line.split()[0] for line in tree.splitlines()
            if line.strip().startswith("0x") and quoted in line]


def x11_frame(window):
    """The window's outer rectangle on the screen, the window manager's frame included."""
    info = subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True,
                          check=False).stdout
    values = {}
    for line in info.splitlines():
        if ":" in line:
            key, _, value = line.strip().partition(":")
            values[key] = value.strip()
    x, y = int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"])
    w, h = int(values["Width"]), int(values["Height"])
    extents = subprocess.run(["xprop", "-id", window, "_NET_FRAME_EXTENTS"], capture_output=True,
                             text=True, check=False).stdout
    left = right = top = bottom = 0
    if "=" in extents:
        left, right, top, bottom = (int(v) for v in extents.split("=")[1].split(","))
    return x - left, y - top, w + left + right, h + top + bottom


def x11_screen():
    info = subprocess.run(["xwininfo", "-root"], capture_output=True, text=True,
                          check=False).stdout
    size = [l for l in info.splitlines() if "-geometry" in l][0].split()[1].split("+")[0]
    w, h = size.split("x")
    return int(w), int(h)


def check_names(app):
    """What a screen reader needs beyond the buttons: the window's name, the position bar as a
    progress bar with its value, the caption's buttons, and each caption label tied to its
    value."""
    frame = app.getChildAtIndex(0)
    if frame.getRoleName() != "frame" or frame.name != "Sorvinta 3.0":
        fail("the main window is a %s named %r" % (frame.getRoleName(), frame.name))
    for name in ("Minimise", "Close"):
        button = find(app, "push button", name)
        if button is None or "Press" not in action_names(button):
            fail("no caption button %r to press" % name)
    bar = find(app, "progress bar", "Playback position")
    if bar is None:
        fail("no progress bar named \"Playback position\"")
    value = bar.queryValue()
    if (value.minimumValue, value.maximumValue, value.currentValue) != (0, 100, 0):
        fail("the position bar reads %s of %s..%s" % (
            value.currentValue, value.minimumValue, value.maximumValue))
    for caption, target in (("STATUS:", "STOP"), ("SIZE:", "BYTES")):
        label = find(app, "label", caption)
        targets = [r.getTarget(i).name for r in label.getRelationSet()
                   if r.getRelationType() == pyatspi.RELATION_LABEL_FOR
                   for i in range(r.getNTargets())]
        if targets != [target]:
            fail("%r labels %s, not %r" % (caption, targets, target))
    print("named: the window \"Sorvinta 3.0\", the caption's Minimise and Close, the progress "
          "bar \"Playback position\" at 0 of 0..100; STATUS: and SIZE: label their values",
          flush=True)


def check_help_window(app, shots_folder):
    """Help > How to Use opens the help window, wholly on the screen with its frame."""
    how_to = find(app, "menu item", "How to Use")
    if how_to is None:
        fail("no Help > How to Use menu item")
    how_to.queryAction().doAction(0)
    help_frame = wait_for("the help window", lambda: find(app, "frame", "Sorvinta Help"), 30)
    print("Help > How to Use opened the \"Sorvinta Help\" window", flush=True)
    search_tab = find(help_frame, "page tab", "Search")
    if search_tab is None:
        fail("the help window has no Search tab")
    search_tab.queryAction().doAction(0)
    field = wait_for("the search field", lambda: find(help_frame, "text", "Words to search for"),
                     10)
    # Only an active window has the keyboard (a Wayland compositor may leave a new window
    # inactive).
    if "active" in states(help_frame):
        wait_for("the search field to take the keyboard", lambda: "focused" in states(field), 10)
        print("help window: the Search tab puts the keyboard in \"Words to search for\"",
              flush=True)
    else:
        print("help window: \"Words to search for\" is named (the window is not active)",
              flush=True)
    if not os.environ.get("DISPLAY"):
        return
    screen_w, screen_h = x11_screen()
    ids = wait_for("the help window on the X screen", lambda: x11_windows_named("Sorvinta Help"),
                   30)
    # The window manager frames and places the window, and the program corrects its place
    # once it knows the frame: wait for that to settle.
    time.sleep(2)
    x, y, w, h = x11_frame(ids[0])
    print("help window with its frame: %dx%d at %d,%d on a %dx%d screen" % (
        w, h, x, y, screen_w, screen_h), flush=True)
    if x < 0 or y < 0 or x + w > screen_w or y + h > screen_h:
        fail("the help window reaches past the screen's edge")
    if shots_folder:
        target = os.path.join(shots_folder, "help-window.png")
        subprocess.run(["import", "-window", "root", target], check=False, timeout=30)
        print("screenshot: " + target, flush=True)


def check_main_window_place(shots_folder):
    """The main window's caption and menus are on the screen (it is twice the size at
    QT_SCALE_FACTOR=2, wider than a 1024-pixel screen)."""
    if not os.environ.get("DISPLAY"):
        return
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True,
                          check=False).stdout
    for line in tree.splitlines():
        line = line.strip()
        if not line.startswith("0x") or "Sorvinta" not in line:
            continue
        window = line.split()[0]
        info = subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True,
                              check=False).stdout
        if "IsViewable" not in info:
            continue
        x, y, w, h = x11_frame(window)
        if w < 300 or h < 150:
            continue
        print("main window with its frame: %dx%d at %d,%d" % (w, h, x, y), flush=True)
        if x < 0 or y < 0:
            fail("the main window's caption or menus lie off the screen")
        if shots_folder:
            # The window alone, once the live spectrum shows the input.
            time.sleep(2)
            target = os.path.join(shots_folder, "main-window.png")
            subprocess.run(["import", "-window", window, target], check=False, timeout=30)
            print("screenshot: " + target, flush=True)
        return
    fail("no main window on the X screen")


def process_alive(pid):
    try:
        os.kill(pid, 0)
    except ProcessLookupError:
        return False
    # A finished child not yet reaped by its parent counts as gone.
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().split(")")[-1].split()[0] != "Z"
    except FileNotFoundError:
        return False


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--pid", type=int, required=True, help="the program's process")
    parser.add_argument("--wav", required=True, help="the file to record to (must not exist)")
    parser.add_argument("--seconds", type=float, default=2.0)
    parser.add_argument("--shots", default="", help="folder for screenshots")
    parser.add_argument("--play", default="", help="the existing file the program was started with")
    parser.add_argument("--named", action="store_true",
                        help="the program was started with --wav as its argument")
    parser.add_argument("--help-window", action="store_true",
                        help="open Help > How to Use and check where its window lies")
    args = parser.parse_args()
    shots = Shots(args.shots)

    app = wait_for("the program on the accessibility bus", lambda: find_app("Sorvinta"), 90)
    record = wait_for("the RECORD button", lambda: find(app, "push button", "RECORD"), 60)

    print("accessibility tree (buttons, text box, status):", flush=True)
    for node, depth in walk(app):
        role = node.getRoleName()
        if role in ("push button", "radio button", "check box", "text", "entry", "frame",
                    "panel", "label"):
            if role in ("panel", "label") and not node.name:
                continue
            print("  %s%s %r [%s]" % ("  " * depth, role, node.name, ", ".join(states(node))),
                  flush=True)

    buttons = [n for n, _ in walk(app) if n.getRoleName() in ("push button", "radio button")]
    print("%d buttons: %d push buttons, %d radio buttons" % (
        len(buttons), sum(n.getRoleName() == "push button" for n in buttons),
        sum(n.getRoleName() == "radio button" for n in buttons)), flush=True)
    # The window's 11 and the caption bar's minimise and close buttons.
    if len(buttons) != 13:
        fail("expected the window's 11 buttons and the caption's 2")
    check_names(app)
    checked = [n.name for n in buttons if "checked" in states(n)]
    if checked != ["44,100 kHz, 16 Bit, Stereo"]:
        fail("the chosen format should be the first one, got %s" % checked)
    stop = find(app, "push button", "STOP")
    if "enabled" in states(stop) or "Press" in action_names(stop):
        fail("STOP is enabled or can be pressed before a recording")
    status = find(app, "label", "STOP")
    if status is None:
        fail("no status label reading STOP")
    shots.take("shown")
    check_main_window_place(args.shots)

    def status_reads(word):
        status.clear_cache()
        return status.name == word

    editable = None
    for node, _ in walk(app):
        try:
            editable = node.queryEditableText()
            break
        except NotImplementedError:
            continue
    if editable is None:
        fail("no editable text box")

    if args.play:
        # A file the program was started with is the one to play, never the one to record to.
        if editable.getText(0, -1) != "":
            fail("the file name box reads %r, not empty" % editable.getText(0, -1))
        press(find(app, "push button", "PLAY"), "PLAY")
        wait_for('the status to read "PLAY"', lambda: status_reads("PLAY"), 30)
        print('PLAY plays %s: status reads "PLAY"' % args.play, flush=True)
        press(find(app, "push button", "Stop Playing"), "Stop Playing")
        wait_for('the status to read "STOP"', lambda: status_reads("STOP"), 30)

    if args.help_window:
        check_help_window(app, args.shots)

    if args.named:
        text = editable.getText(0, -1)
        print("file name box, as the program was started: %r" % text, flush=True)
        if text != args.wav:
            fail("the file name box reads %r, not the new name the program was started with"
                 % text)
    else:
        if not editable.setTextContents(args.wav):
            fail("the text box did not take the path")
        text = editable.getText(0, -1)
        print("file name box: %r" % text, flush=True)
        if text != args.wav:
            fail("the text box reads %r" % text)

    global EVENTS
    EVENTS = Events()
    EVENTS.pump()
    press(record, "RECORD")

    wait_for('the status to read "RECORD"', lambda: status_reads("RECORD"), 30)
    print('status reads "RECORD"', flush=True)
    if "enabled" not in states(stop):
        fail("STOP is not enabled while recording")
    recording_from = time.monotonic()
    EVENTS.pump(args.seconds)
    recorded_for = time.monotonic() - recording_from
    told = {(kind, name, detail) for kind, role, name, detail, _ in EVENTS.seen
            if role == "push button"}
    for kind in ("object:state-changed:enabled", "object:state-changed:sensitive"):
        if (kind, "STOP", 1) not in told or (kind, "RECORD", 0) not in told:
            fail("a screen reader was not told by %s that STOP and RECORD changed (told: %s)"
                 % (kind, sorted(told)))
    sizes = [name for kind, role, name, _, when in EVENTS.seen
             if kind.startswith("object:property-change:accessible-name") and role == "label"
             and name.endswith(" kb") and when >= recording_from]
    print("told: RECORD and STOP enabled and sensitive; %d size names in %.1f s of recording"
          % (len(sizes), recorded_for), flush=True)
    if not sizes:
        fail("the size read-out was never told while recording")
    if len(sizes) > NAME_CHANGES_PER_SECOND * recorded_for + 1:
        fail("the size read-out told a screen reader %d times in %.1f s" % (len(sizes),
                                                                           recorded_for))
    shots.take("recording")
    press(stop, "STOP")
    wait_for('the status to read "STOP"', lambda: status_reads("STOP"), 30)
    wait_for("the file " + args.wav, lambda: os.path.exists(args.wav), 30)
    with wave.open(args.wav) as w:
        seconds = w.getnframes() / w.getframerate()
        print("recorded %s: %d Hz, %d bit, %d channels, %.2f s" % (
            args.wav, w.getframerate(), 8 * w.getsampwidth(), w.getnchannels(), seconds),
            flush=True)
        if (w.getframerate(), w.getsampwidth(), w.getnchannels()) != (44100, 2, 2):
            fail("the file is not 44,100 Hz, 16 bit, stereo")
    if seconds < args.seconds * 0.5:
        fail("the recording holds only %.2f s" % seconds)
    shots.take("saved")

    # File > Exit, as often as the window refuses (the first close may only stop the live
    # spectrum).
    presses = 0
    for _ in range(4):
        if not process_alive(args.pid):
            break
        presses += 1
        try:
            exit_item = find(app, "menu item", "Exit")
            if exit_item is None:
                fail("no File > Exit menu item")
            exit_item.queryAction().doAction(0)
        except Exception:  # the program may be gone before it answers
            pass
        end = time.monotonic() + 5
        while time.monotonic() < end and process_alive(args.pid):
            time.sleep(0.2)
    if process_alive(args.pid):
        fail("the program is still running after File > Exit")
    print("the window closed after %d File > Exit" % presses, flush=True)


if __name__ == "__main__":
    main()
