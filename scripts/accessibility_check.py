#!/usr/bin/python3
"""What a screen reader sees of the running tool, through AT-SPI (Debian's python3-pyatspi).

Finds the window by its caption, checks that it is an application window (a frame, not a filler),
reads the names of the tabs and of every button, the log memo's text and a cell of the archive
grid. Run by scripts/check-accessibility.sh inside Xvfb and a D-Bus session; exit 0 when all hold.
"""
import sys
import time

import pyatspi

CAPTION = "ЗЕЛОР-ПУИ  (MODBUS-RTU)   V1.04 - 2018"
TABS = ["СТАТУС", "АРХИВ", "ПРОГ.-2", "КОНФИГ.-3", "КОНФИГ.-4"]
# A few buttons by caption, and icon buttons by their hints.
SOME_BUTTONS = ["ЗАПУСК МОНИТОРА", "ЗАПРОС ПАРАМЕТРОВ", "УСТАНОВИТЬ ВРЕМЯ",
                "Отключение звук. сигнализации", "Считать конфиг из пульта", "Сохранить конфиг в файл"]


def find_window(seconds):
    deadline = time.time() + seconds
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is None:
                continue
            for window in app:
                if window is not None and window.name == CAPTION:
                    return app, window
        time.sleep(0.2)
    return None, None


def descendants(node, role):
    return pyatspi.findAllDescendants(node, lambda a: a is not None and a.getRole() == role)


def main():
    problems = []
    app, window = find_window(30)
    if window is None:
        print("FAIL: no window captioned %r on the accessibility bus" % CAPTION)
        return 1
    print("application %r, window %r, role %s" % (app.name, window.name, window.getRoleName()))
    if window.getRole() not in (pyatspi.ROLE_FRAME, pyatspi.ROLE_WINDOW):
        problems.append("the window's role is %s, not frame/window" % window.getRoleName())

    tabs = [t.name for t in descendants(window, pyatspi.ROLE_PAGE_TAB)]
    print("tabs:", tabs)
    if tabs[:len(TABS)] != TABS:
        problems.append("tabs %r, expected %r" % (tabs, TABS))

    buttons = descendants(window, pyatspi.ROLE_PUSH_BUTTON)
    names = [b.name for b in buttons]
    print("%d buttons: %s" % (len(names), " | ".join(names)))
    unnamed = [b for b in buttons if not b.name.strip()]
    if unnamed:
        problems.append("%d buttons without a name" % len(unnamed))
    for expected in SOME_BUTTONS:
        if expected not in names:
            problems.append("no button named %r" % expected)
    radios = [r.name for r in descendants(window, pyatspi.ROLE_RADIO_BUTTON)]
    print("%d radio buttons: %s" % (len(radios), " | ".join(radios)))
    if any(not r.strip() for r in radios):
        problems.append("radio buttons without a name")

    memos = [t for t in descendants(window, pyatspi.ROLE_TEXT) if t.name == "Журнал обмена с прибором"]
    if not memos:
        problems.append("no text named 'Журнал обмена с прибором'")
    else:
        text = memos[0].queryText()
        content = text.getText(0, text.characterCount)
        print("log memo: %r" % content)
        if "TX :" not in content:
            problems.append("the log memo reads %r" % content)

    grids = [t for t in descendants(window, pyatspi.ROLE_TABLE) if t.name == "Архив событий"]
    if not grids:
        problems.append("no table named 'Архив событий'")
    else:
        table = grids[0].queryTable()
        cell = table.getAccessibleAt(0, 0)
        heading = table.getColumnDescription(1) or ""
        header = table.getColumnHeader(1)
        print("archive grid: %d x %d, cell (0, 0) %r, column 1 heading %r" %
              (table.nRows, table.nColumns, cell.name if cell else None, header.name if header else heading))
        if cell is None or cell.name != "x":
            problems.append("the archive grid's first cell does not read 'x'")

    for p in problems:
        print("FAIL:", p)
    if not problems:
        print("PASS: window, tabs, buttons, log memo and grid cells are readable")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
