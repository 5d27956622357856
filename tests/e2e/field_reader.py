"""Reads one text field of the running program through the accessibility bus, as a screen reader does.

Arguments: the window's caption, the field's name, and the text it should come to hold. Prints the
caret's offset and where on the screen the caret's place lies (x of the left edge, y of the top, and
the height of the character before it), then the text. Keys reach the program a moment after they
are sent, so the field is read again until it holds the expected text, for two seconds at most."""
import sys
import time

import pyatspi

CAPTION, NAME, EXPECTED = sys.argv[1:4]


def field():
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is None or app.name != "Quorvel":
                continue
            for frame in app:
                if frame is None or frame.name != CAPTION:
                    continue
                for control in frame:
                    if control is not None and control.name == NAME:
                        return control.queryText()
        time.sleep(0.1)
    sys.exit(f"FAIL: no field '{NAME}' in '{CAPTION}' on the accessibility bus")


text = field()
found = text.getText(0, -1)
for _ in range(40):
    if found == EXPECTED:
        break
    time.sleep(0.05)
    found = text.getText(0, -1)
caret = text.caretOffset
if caret > 0:
    x, y, width, height = text.getCharacterExtents(caret - 1, pyatspi.DESKTOP_COORDS)
    x += width
else:
    x, y, _, height = text.getCharacterExtents(0, pyatspi.DESKTOP_COORDS)
print(caret, x, y, height)
print(found, end="")
