"""Reads the running program through the accessibility bus, as a screen reader does, and checks it.

Arguments: the typed message and its coded text, which the Encrypt and Decrypt windows' output
fields must give back exactly through the text interface.

With --typing and the message instead, while the message has just been typed into the Encrypt
window's input field and that field has the keyboard: follows the caret as keys move it, reads the
text at the caret by word and by line, checks the events a screen reader hears while keys
insert, delete and select, the font it tells, that the field has no value to set, and its context
menu in the program's language, German."""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

# Each window's controls in tab order, with the role and name a screen reader announces.
WINDOWS = {
    "Quorvel 1.0": [
        ("push button", "Encrypt"), ("push button", "Decrypt"), ("push button", "About"),
        ("image", "Banner: Quorvel 1.0, by Tarnwick & Dravo")],
    "Encrypt Message": [
        ("text", "Message to encrypt"), ("push button", "Encrypt Message"),
        ("text", "Encrypted message"), ("push button", "Copy To Clipboard")],
    "Decrypt Message": [
        ("push button", "Decrypt Message"), ("push button", "Copy To Clipboard"),
        ("text", "Coded text to decrypt"), ("text", "Decrypted message")],
    "About Quorvel 1.0!": [
        ("label", None), ("image", "Picture: Quorvel 1.0 across a field of grey spheres"),
        ("label", "Programmer:"), ("label", "Tarnwick"), ("label", "Graphics:"), ("label", "Dravo"),
        ("label", "Website:"), ("label", "None Currently..."), ("label", "Version:"), ("label", "1.01a")],
}


def program():
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "Quorvel":
                return app
        time.sleep(0.1)
    sys.exit("FAIL: the program is not on the accessibility bus")


failures = []


def check(what, found, expected):
    if found != expected:
        failures.append(f"{what}: {found!r}, expected {expected!r}")


def field(caption, name):
    for frame in program():
        if frame is not None and frame.name == caption:
            for control in frame:
                if control is not None and control.name == name:
                    return control
    sys.exit(f"FAIL: no field '{name}' in '{caption}'")


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "30", *names], check=True)


def settled(read, expected):
    """What `read` gives once it gives `expected`, or after two seconds what it gives then: keys
    reach the program a moment after xdotool sends them."""
    found = read()
    for _ in range(40):
        if found == expected:
            break
        time.sleep(0.05)
        found = read()
    return found


def caret_after(text, expected, *names):
    keys(*names)
    return settled(lambda: text.caretOffset, expected)


def at(text, offset, boundary):
    return tuple(text.getTextAtOffset(offset, boundary))


# What a screen reader hears while these keys are pressed one after another at the end of the
# message (offset 42): a letter typed, taken back with Backspace, then one character selected
# leftwards. Each event as (type, detail1, detail2, text); selection changes carry no details.
TYPING_KEYS = ["s", "BackSpace", "shift+Left"]
TYPING_EVENTS = [
    ("object:text-changed:insert", 42, 1, "s"),
    ("object:text-caret-moved", 43, None, None),
    ("object:text-changed:delete", 42, 1, "s"),
    ("object:text-caret-moved", 42, None, None),
    ("object:text-caret-moved", 41, None, None),
    ("object:text-selection-changed", None, None, None),
]


def heard_while_typing(source):
    """The events from `source` while TYPING_KEYS are pressed, in the order they came."""
    heard = []
    kinds = sorted({kind for kind, *_ in TYPING_EVENTS})

    def listen(event):
        if event.source != source:
            return
        if event.type == "object:text-selection-changed":
            heard.append((event.type, None, None, None))
        elif event.type == "object:text-caret-moved":
            heard.append((event.type, event.detail1, None, None))
        else:
            heard.append((event.type, event.detail1, event.detail2, event.any_data))
        if len(heard) >= len(TYPING_EVENTS):
            pyatspi.Registry.stop()

    def give_up():
        pyatspi.Registry.stop()
        return False

    def press():
        keys(*TYPING_KEYS)
        GLib.timeout_add_seconds(5, give_up)
        return False

    pyatspi.Registry.registerEventListener(listen, *kinds)
    GLib.idle_add(press)
    pyatspi.Registry.start()
    pyatspi.Registry.deregisterEventListener(listen, *kinds)
    return heard


# The field's context menu as Qt's own fields show it on an X11 desktop, the program running in German:
# Qt's German texts, each with its key as the desktop binds it.
MENU_ITEMS = [
    "R\u00fcckg\u00e4ngig\tStrg+Z", "Wiederherstellen\tStrg+Umschalt+Z", "", "Ausschneiden\tStrg+X",
    "Kopieren\tStrg+C", "Einf\u00fcgen\tStrg+V", "L\u00f6schen", "", "Alles ausw\u00e4hlen\tStrg+A"]


def menu_shown_by(key):
    """The names of the items of the popup menu that shows when `key` is pressed, or None."""
    shown = []

    def listen(event):
        if event.source.getRoleName() == "popup menu" and event.detail1 == 1:
            shown.append([item.name for item in event.source])
            pyatspi.Registry.stop()

    def give_up():
        pyatspi.Registry.stop()
        return False

    def press():
        keys(key)
        GLib.timeout_add_seconds(5, give_up)
        return False

    pyatspi.Registry.registerEventListener(listen, "object:state-changed:showing")
    GLib.idle_add(press)
    pyatspi.Registry.start()
    pyatspi.Registry.deregisterEventListener(listen, "object:state-changed:showing")
    return shown[0] if shown else None


if sys.argv[1] == "--typing":
    message = sys.argv[2]
    source = field("Encrypt Message", "Message to encrypt")
    text = source.queryText()
    check("text after typing", settled(lambda: text.getText(0, -1), message), message)
    # The message is 29 characters, a line break and 12 more: the caret ends after all 42.
    check("caret after typing", text.caretOffset, 42)
    check("line at the caret after typing", at(text, 42, pyatspi.TEXT_BOUNDARY_LINE_START),
          ('bring "maps"', 30, 42))
    check("events while typing", heard_while_typing(source), TYPING_EVENTS)
    check("selection after shift+Left", text.getSelection(0), (41, 42))
    check("caret after Home", caret_after(text, 30, "Home"), 30)
    # A word is read as Qt's own fields give it: without the space after it.
    check("word at the caret after Home", at(text, 30, pyatspi.TEXT_BOUNDARY_WORD_START),
          ("bring", 30, 35))
    check("line at the caret after Home", at(text, 30, pyatspi.TEXT_BOUNDARY_LINE_START),
          ('bring "maps"', 30, 42))
    # Three to the left of the second line's start: back over the line break, then "!" and "2".
    check("caret after Left x3", caret_after(text, 27, "Left", "Left", "Left"), 27)
    check("line at the caret after Left x3", at(text, 27, pyatspi.TEXT_BOUNDARY_LINE_START),
          ("Meet 100% at 7:30, Room B-12!\n", 0, 30))
    check("caret after ctrl+Home", caret_after(text, 0, "ctrl+Home"), 0)
    check("word at the caret after ctrl+Home", at(text, 0, pyatspi.TEXT_BOUNDARY_WORD_START),
          ("Meet", 0, 4))
    check("text after the keys", text.getText(0, -1), message)
    # The font a reader tells is that of the first paragraph, the 29 characters before the line
    # break, and the field has no value that a tool could set in place of its text.
    # The field's font is Verdana at 9.75 points, told in whole points as Qt's own fields tell it.
    attributes, start, end = text.getAttributeRun(3, False)
    check("attribute run at 3", (start, end), (0, 29))
    check("attributes at 3", sorted(attributes),
          ['family-name:"Verdana"', "justification:left", "size:10", "style:normal", "vertical-align:baseline"])
    try:
        source.queryValue()
        failures.append(f"the field has a value: {source.queryValue().currentValue!r}")
    except NotImplementedError:
        pass
    check("context menu", menu_shown_by("Menu"), MENU_ITEMS)
    keys("Escape")
    for failure in failures:
        print("FAIL:", failure)
    sys.exit(1 if failures else 0)

MESSAGE, CODED = sys.argv[1], sys.argv[2]
OUTPUTS = {"Encrypt Message": CODED, "Decrypt Message": MESSAGE}
frames = {frame.name: frame for frame in program() if frame is not None}
for caption, expected in WINDOWS.items():
    frame = frames.get(caption)
    if frame is None:
        failures.append(f"no window '{caption}' on the bus, only {sorted(frames)}")
        continue
    if frame.getRoleName() != "frame":
        failures.append(f"'{caption}' is a {frame.getRoleName()}, not a frame")
    controls = [child for child in frame if child is not None]
    found = [(child.getRoleName(), child.name) for child in controls]
    # A name given as None is the control's caption, too long to repeat here.
    matches = len(found) == len(expected) and all(
        role == found_role and name in (None, found_name)
        for (role, name), (found_role, found_name) in zip(expected, found))
    if not matches:
        failures.append(f"'{caption}' holds {found}, expected {expected}")
    if any(not name for _, name in found):
        failures.append(f"'{caption}' has a control without a name: {found}")
    if caption in OUTPUTS:
        output = next((c for c in controls if c.name in ("Encrypted message", "Decrypted message")), None)
        text = output.queryText().getText(0, -1) if output is not None else None
        if text != OUTPUTS[caption]:
            failures.append(f"'{caption}' output reads {text!r}, expected {OUTPUTS[caption]!r}")

for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
