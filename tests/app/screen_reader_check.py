#!/usr/bin/python3
"""What a screen reader finds in the running program over AT-SPI: the window's title, the
document's text and caret, the caret following keys pressed, and a message box's text and a button
pressed by its name. Usage: screen_reader_check.py PID NAME TEXT, with the program showing the file
NAME that holds TEXT (ASCII, lines ending in CR LF), unchanged, the caret at its start."""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

pid, name, text = int(sys.argv[1]), sys.argv[2], sys.argv[3]


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def poll(find, what, seconds=20):
    """The first true answer of find(), asked again until the time is up."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            found = find()
        except GLib.Error:
            found = None
        if found:
            return found
        time.sleep(0.05)
    fail("no " + what + " within %d s" % seconds)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def descendant(root, test):
    return pyatspi.findDescendant(root, lambda node: node is not None and test(node))


def key(*keys):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *keys], check=True)


app = poll(application, "application on the accessibility bus")
frame = poll(lambda: descendant(app, lambda n: n.getRole() == pyatspi.ROLE_FRAME and
                                n.name == name + " - Quenwrite"), "window titled " + name)
edit = poll(lambda: descendant(frame, lambda n: n.getRole() == pyatspi.ROLE_TEXT and
                               n.getState().contains(pyatspi.STATE_MULTI_LINE)),
            "multi-line text in the window")
document = edit.queryText()
if document.characterCount != len(text) or document.getText(0, -1) != text:
    fail("the text read is %r, not %r" % (document.getText(0, -1), text))
print("read the document: %d characters" % document.characterCount)
poll(lambda: edit.getState().contains(pyatspi.STATE_FOCUSED), "focus in the text")
if document.caretOffset != 0:
    fail("the caret is at %d, not at the start" % document.caretOffset)

# Each key press should move the caret and tell where it went.
firstLineEnd = text.index("\r\n")
moves = [("End", firstLineEnd), ("Right", firstLineEnd + 2), ("ctrl+End", len(text)),
         ("ctrl+Home", 0)]
seen = []
loop = GLib.MainLoop()


def onCaret(event):
    if event.source == edit:
        seen.append(event.detail1)


step = {"next": 0, "from": 0, "done": False}


def pressNext():
    """Presses each key once the caret move of the one before was told."""
    if step["next"] > 0 and moves[step["next"] - 1][1] not in seen[step["from"]:]:
        return True
    if step["next"] == len(moves):
        step["done"] = True
        loop.quit()
        return False
    step["from"] = len(seen)
    key(moves[step["next"]][0])
    step["next"] += 1
    return True


pyatspi.Registry.registerEventListener(onCaret, "object:text-caret-moved")
GLib.timeout_add(20, pressNext)
GLib.timeout_add_seconds(20, loop.quit)
loop.run()
pyatspi.Registry.deregisterEventListener(onCaret, "object:text-caret-moved")
if not step["done"]:
    fail("caret moves told: %s; %s never told after %s" % (seen, moves[step["next"] - 1][1],
                                                           moves[step["next"] - 1][0]))
print("caret moves told: %s" % seen)
line, start, end = document.getTextAtOffset(firstLineEnd + 2, pyatspi.TEXT_BOUNDARY_LINE_START)
if line != text[firstLineEnd + 2:].split("\r\n")[0] + "\r\n" or start != firstLineEnd + 2:
    fail("the second line reads %r from %d" % (line, start))
print("second line: %r" % line)

# A change, then New: the box asking about the change is read and answered No by name.
key("x")
poll(lambda: document.characterCount == len(text) + 1, "typed character in the text")
key("ctrl+n")
question = "Would you like to save changes in the current document?"
box = poll(lambda: descendant(app, lambda n: n.getRole() in (pyatspi.ROLE_DIALOG,
                                                              pyatspi.ROLE_ALERT)),
           "message box")
poll(lambda: descendant(box, lambda n: n.getRole() == pyatspi.ROLE_LABEL and
                        n.name == question), "label reading " + repr(question))
print("message box %r says %r" % (box.name, question))
no = poll(lambda: descendant(box, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and
                             n.name == "No"), "button named No")
actions = no.queryAction()
actions.doAction(0)
poll(lambda: descendant(app, lambda n: n.getRole() == pyatspi.ROLE_FRAME and
                        n.name == "New file - Quenwrite"), "new document after No")
poll(lambda: edit.queryText().characterCount == 0, "empty text after No")
print("pressed No by name: a new, empty document")
print("PASS")
