"""Walks the running window as a screen reader does, through AT-SPI.

    atspi_walk.py COOKIE_FOLDER

The program must be running on the same D-Bus session with its cookie folder
at COOKIE_FOLDER. Checks the roles, names and states of the commands, buttons,
folder box, table (its name too) and content pane, then presses DELETE through its
accessible action, answers the question No and then Yes through the
question's own buttons, and checks the files on disk. Exits 1 on the first
failure.
"""

import os
import sys
import time

import pyatspi
from gi.repository import GLib

TIMEOUT = 60.0


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


NAME_CHANGES = []
NAME_EVENT = "object:property-change:accessible-name"


def record_name_change(event):
    # What the event carries, as text ("[page tab list | クッキー]" for the
    # strip): asking its source from inside the handler is a call back into
    # the program that may time out, and then nothing would be recorded.
    try:
        NAME_CHANGES.append(str(event.any_data))
    except Exception:
        NAME_CHANGES.append(repr(event))


def hear_tab_chosen(strip, tab, name, other):
    """Chooses tab `name` and waits to be told that the strip's name changed
    to it. The program learns over the bus that a listener wants the event,
    some time after the listener asked: until then it tells nobody. So when
    nothing is heard, the other tab and this one are chosen again."""
    for _ in range(4):
        del NAME_CHANGES[:]
        press(tab[name])
        poll("the view tabs to read %s" % name, lambda: strip.name == name)
        deadline = time.monotonic() + 3
        while time.monotonic() < deadline:
            while GLib.MainContext.default().iteration(False):
                pass
            if told_name(name):
                return
            time.sleep(0.1)
        # Asked again, the registry tells the program once more.
        pyatspi.Registry.deregisterEventListener(record_name_change, NAME_EVENT)
        pyatspi.Registry.registerEventListener(record_name_change, NAME_EVENT)
        press(tab[other])
        poll("the view tabs to read %s" % other, lambda: strip.name == other)
    fail("the view tabs never told that their name changed to %s" % name)


def told_name(name):
    """Whether the view tabs told that their name changed to `name`."""
    return any("page tab list" in change and name in change for change in NAME_CHANGES)


def poll(what, probe, timeout=TIMEOUT):
    """Calls probe until it returns something true, taking in the events that
    arrived meanwhile; fails after timeout."""
    deadline = time.monotonic() + timeout
    last_error = None
    while time.monotonic() < deadline:
        while GLib.MainContext.default().iteration(False):
            pass
        try:
            result = probe()
            if result:
                return result
        except Exception as error:  # the tree changes under us while it is walked
            last_error = error
        time.sleep(0.1)
    fail("timed out waiting for %s%s" % (what, " (%s)" % last_error if last_error else ""))


def states(node):
    return set(node.getState().getStates())


def walk(node, depth=0):
    yield node
    if depth > 12:
        return
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is None:
            continue
        # Table cells are many and reached through the table interface.
        if child.getRole() in (pyatspi.ROLE_TABLE_CELL,):
            continue
        yield from walk(child, depth + 1)


def find(root, role, name=None):
    for node in walk(root):
        if node.getRole() == role and (name is None or node.name == name):
            return node
    return None


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and (app.name or "").lower() == "vellumin":
            return app
    return None


def press(node):
    action = node.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    if "press" not in names:
        fail("%r has no press action, only %s" % (node.name, names))
    action.doAction(names.index("press"))


def question(app):
    """The open delete question: its alert node and its Yes and No buttons."""
    for node in walk(app):
        if node.getRole() in (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG) and node.name == "削除確認":
            yes = find(node, pyatspi.ROLE_PUSH_BUTTON, "はい(Y)")
            no = find(node, pyatspi.ROLE_PUSH_BUTTON, "いいえ(N)")
            if yes and no and pyatspi.STATE_SHOWING in states(yes):
                return node, yes, no
    return None


def question_gone(app):
    return question(app) is None


def cookie_files(folder):
    return sorted(name for name in os.listdir(folder) if name.endswith(".txt"))


def main():
    folder = sys.argv[1]
    before = cookie_files(folder)
    # A screen reader keeps the names it read until told they changed.
    app = poll("the application vellumin on the accessibility bus", application)
    # Asked once the program is on the bus, so that it hears of it.
    pyatspi.Registry.registerEventListener(record_name_change, NAME_EVENT)

    # The three commands of the green column: push buttons named by their texts.
    commands = {}
    for name in ("DELETE", "ALL DELETE", "ReLoad"):
        commands[name] = poll("the command %s" % name, lambda n=name: find(app, pyatspi.ROLE_PUSH_BUTTON, n))
        if pyatspi.STATE_SENSITIVE not in states(commands[name]):
            fail("%s is not enabled with %d files listed" % (name, len(before)))
        if pyatspi.STATE_FOCUSABLE not in states(commands[name]):
            fail("%s cannot take the focus, so no key reaches it" % name)

    # Every push button by its caption; the clear-search button is disabled.
    for name in ("参照", "ファイル名", "ファイル内容", "解\u3000除", "HELP", "Version", "閉じる(C)"):
        button = poll("the button %s" % name, lambda n=name: find(app, pyatspi.ROLE_PUSH_BUTTON, n))
        enabled = pyatspi.STATE_SENSITIVE in states(button)
        if enabled != (name != "解\u3000除"):
            fail("button %s is %s" % (name, "enabled" if enabled else "disabled"))

    # No button a screen reader would announce without a name (the grid's
    # corner cell included).
    unnamed = [n for n in walk(app) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON and not n.name]
    if unnamed:
        fail("%d push buttons have no name" % len(unnamed))

    # The folder box: named by its label, showing the folder, not editable.
    box = poll("the folder box", lambda: find(app, pyatspi.ROLE_TEXT, "クッキーフォルダ"))
    text = box.queryText().getText(0, -1)
    if text != folder.rstrip("/") + "/":
        fail("the folder box reads %r" % text)
    if pyatspi.STATE_SENSITIVE in states(box):
        fail("the folder box is enabled")
    label = find(app, pyatspi.ROLE_LABEL, "クッキーフォルダ")
    if label is None:
        fail("no label クッキーフォルダ")
    targets = [t.getTarget(i) for t in label.getRelationSet() if t.getRelationType() == pyatspi.RELATION_LABEL_FOR
               for i in range(t.getNTargets())]
    if not any(t.getRole() == pyatspi.ROLE_TEXT and t.name == box.name for t in targets):
        fail("the label クッキーフォルダ does not name the folder box")

    # The table: named, its header row, one row per file, the first row current.
    table_node = poll("the table", lambda: find(app, pyatspi.ROLE_TABLE))
    if table_node.name != "クッキーファイル一覧":
        fail("the table is named %r" % table_node.name)
    table = table_node.queryTable()
    headers = [table.getColumnHeader(c).name for c in range(3)]
    if headers != ["FileName", "URL(?)", "Info(?)"]:
        fail("the table's column headers are %s" % headers)
    if table.nRows != len(before):
        fail("the table has %d rows for %d files" % (table.nRows, len(before)))
    if list(table.getSelectedRows()) != [0]:
        fail("the selected rows are %s, not the first" % list(table.getSelectedRows()))
    if table.getRowHeader(0).name != "1":
        fail("the first row's number reads %r" % table.getRowHeader(0).name)
    first = table.getAccessibleAt(0, 0).name
    if first + ".txt" != before[0]:
        fail("the first row names %r, the first file is %r" % (first, before[0]))

    # The content pane: read-only text.
    pane = poll("the content pane", lambda: find(app, pyatspi.ROLE_TEXT, "最後に選択したクッキーファイルの内容"))
    if pyatspi.STATE_EDITABLE in states(pane) or pyatspi.STATE_READ_ONLY not in states(pane):
        fail("the content pane is not read-only text")

    # The lower pane's views: a tab list of two tabs that can be pressed, and
    # the cookies' own table, named, of nine columns.
    strip = poll("the view tabs", lambda: find(app, pyatspi.ROLE_PAGE_TAB_LIST))
    tabs = [strip.getChildAtIndex(i) for i in range(strip.childCount)]
    names = [t.name for t in tabs if t is not None and t.getRole() == pyatspi.ROLE_PAGE_TAB]
    if names != ["テキスト", "クッキー"]:
        fail("the view tabs are %s" % names)
    # The strip reads as its chosen tab, and says when that changes.
    if strip.name != "テキスト":
        fail("the view tabs read %r with the text chosen" % strip.name)
    del NAME_CHANGES[:]
    press(next(t for t in tabs if t is not None and t.name == "クッキー"))
    decoded_node = poll("the cookie table", lambda: find(app, pyatspi.ROLE_TABLE, "クッキーの内容"))
    decoded = decoded_node.queryTable()
    if decoded.nColumns != 9:
        fail("the cookie table has %d columns" % decoded.nColumns)
    poll("the view tabs to read the cookies' tab", lambda: strip.name == "クッキー")
    tab = {t.name: t for t in tabs if t is not None}
    hear_tab_chosen(strip, tab, "クッキー", "テキスト")
    hear_tab_chosen(strip, tab, "テキスト", "クッキー")

    # DELETE, answered No: the file stays.
    press(commands["DELETE"])
    _, _, no = poll("the delete question", lambda: question(app))
    press(no)
    poll("the question to close after No", lambda: question_gone(app))
    if cookie_files(folder) != before:
        fail("answering No changed the folder: %s" % cookie_files(folder))

    # DELETE, answered Yes: the current row's file goes, and only it.
    press(commands["DELETE"])
    _, yes, _ = poll("the delete question again", lambda: question(app))
    press(yes)
    poll("the question to close after Yes", lambda: question_gone(app))
    expected = [name for name in before if name != first + ".txt"]
    poll("the first row's file to be deleted", lambda: cookie_files(folder) == expected, timeout=10)
    poll("the table to list the rest", lambda: table.nRows == len(expected), timeout=10)
    # The text pane shows the file of the row that took the deleted one's
    # place, as a click on that row would.
    with open(os.path.join(folder, expected[0]), "rb") as f:
        info = f.read().decode("cp932").splitlines()[1]
    poll("the text pane to show %s" % expected[0], lambda: info in pane.queryText().getText(0, -1), timeout=10)

    # ALL DELETE, answered Yes: the folder is empty and both commands go grey.
    press(commands["ALL DELETE"])
    _, yes, _ = poll("the delete-all question", lambda: question(app))
    press(yes)
    poll("every file to be deleted", lambda: cookie_files(folder) == [], timeout=10)
    for name in ("DELETE", "ALL DELETE"):
        poll("%s to be disabled" % name,
             lambda n=name: pyatspi.STATE_SENSITIVE not in states(commands[n]), timeout=10)
    if pyatspi.STATE_SENSITIVE not in states(commands["ReLoad"]):
        fail("ReLoad is disabled")
    print("ok: walked the window and deleted through AT-SPI")


if __name__ == "__main__":
    main()
