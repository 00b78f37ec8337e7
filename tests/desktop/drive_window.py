#!/usr/bin/python3
"""Drives the running program over the accessibility bus, as a screen reader user would.

Lists the window's buttons with their names, roles and states, types the file name through the
text box's editable-text interface, presses RECORD, waits until the status reads "RECORD",
lets it record, presses STOP, checks the WAV file and closes the window through File > Exit.
Each Press must come back at once: the click it starts may run for as long as the recording.
With --shots, `weston-screenshooter` takes a picture of the screen at each stage.
"""

import argparse
import glob
import os
import subprocess
import sys
import time
import wave

import pyatspi

PRESS_LIMIT = 1.0  # seconds a Press call may take


def fail(message):
    print("FAIL: " + message, flush=True)
    sys.exit(1)


def wait_for(what, check, timeout):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
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
        before = set(glob.glob(os.path.join(self.folder, "wayland-screenshot*.png")))
        subprocess.run(["weston-screenshooter"], cwd=self.folder, timeout=20, check=False)
        made = sorted(set(glob.glob(os.path.join(self.folder, "wayland-screenshot*.png"))) - before)
        if not made:
            fail("weston-screenshooter made no picture at stage " + stage)
        target = os.path.join(self.folder, "%02d-%s.png" % (self.count, stage))
        os.replace(made[-1], target)
        print("screenshot: " + target, flush=True)


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
    parser.add_argument("--shots", default="", help="folder for screenshots (Wayland only)")
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
    if len(buttons) != 11:
        fail("expected the window's 11 buttons")
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

    editable = None
    for node, _ in walk(app):
        try:
            editable = node.queryEditableText()
            break
        except NotImplementedError:
            continue
    if editable is None:
        fail("no editable text box")
    if not editable.setTextContents(args.wav):
        fail("the text box did not take the path")
    text = editable.getText(0, -1)
    print("file name box: %r" % text, flush=True)
    if text != args.wav:
        fail("the text box reads %r" % text)

    press(record, "RECORD")

    def status_reads(word):
        status.clear_cache()
        return status.name == word

    wait_for('the status to read "RECORD"', lambda: status_reads("RECORD"), 30)
    print('status reads "RECORD"', flush=True)
    if "enabled" not in states(stop):
        fail("STOP is not enabled while recording")
    time.sleep(args.seconds)
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
