#!/usr/bin/python3
"""The program as a screen reader meets it, through AT-SPI: the real program, in a copy of its folder, on a
private X display (Xvfb) with openbox, a private session bus and the accessibility bus.

    screen_reader.py APP_FOLDER walk    every usable control has a name and a role; the named ones are there
    screen_reader.py APP_FOLDER press   the press actions do what a click does
    screen_reader.py APP_FOLDER days    the arrow keys move the focus over days whose names read in full

One check per process: the reader library keeps its first accessibility bus. Exits 0 when every check
holds, 1 after printing what failed, 77 (skipped) when a part of the desktop is not installed."""

import importlib.util
import os
import shutil
import subprocess
import sys
import tempfile
import time

WAIT_SECONDS = 20
CONTAINERS = {"filler", "panel"}  # groups may go unnamed: readers pass over them
CONTROLS = [  # role, name, an action a reader needs (the options entry opens its menu)
    ("push button", "关闭", "Press"), ("push button", "最小化", "Press"),
    ("push button", "选项", "ShowMenu"), ("push button", "添加到桌面", "Press"),
    ("push button", "选择壁纸", "Press"), ("push button", "打勾", "Press"), ("push button", "打叉", "Press"),
    ("push button", "插入日期", "Press"), ("push button", "字体颜色", "Press"), ("text", "记事", None),
    ("panel", "日历", None), ("spin button", "月份", "Increase"), ("spin button", "年份", "Decrease"),
    ("push button", "今天", "Press"), ("table", None, None)]
DAYS = [  # keys pressed from the 10th, the focused day's name
    ([], "2026年12月10日 星期四 农历冬月初二"), (["Right"], "2026年12月11日 星期五 农历冬月初三"),
    (["Down"], "2026年12月18日 星期五 农历冬月初十"), (["Down"], "2026年12月25日 星期五 农历冬月十七 圣诞节"),
    (["Left"] * 3, "2026年12月22日 星期二 农历冬月十四 冬至")]
problems = []
focused = []  # where the focus went, by name, as the reader heard it


def start_desktop(parts):
    read_end, write_end = os.pipe()
    parts.insert(0, subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                                      "-nolisten", "tcp"], pass_fds=[write_end]))
    os.close(write_end)
    os.environ.update(DISPLAY=":" + os.fdopen(read_end).readline().strip(), QT_QPA_PLATFORM="xcb",
                      LC_ALL="C.UTF-8", ASAN_OPTIONS="detect_leaks=0", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    parts.insert(0, subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL))
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = parts[0].stdout.readline().decode().strip()
    parts.insert(0, subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
    managed = ["xdotool", "get_desktop"]  # answers once a window manager runs
    wait_for("openbox", lambda: subprocess.run(managed, capture_output=True).returncode == 0)
    # The program joins the accessibility bus only when the bus is there at its start.
    subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                    "org.a11y.Bus.GetAddress"], check=True, stdout=subprocess.DEVNULL)


def wait_for(what, condition):
    """Delivers the reader's events until condition() gives something; a problem when it never does."""
    deadline = time.monotonic() + WAIT_SECONDS
    while time.monotonic() < deadline:
        while "GLib" in globals() and GLib.MainContext.default().pending():
            GLib.MainContext.default().iteration(False)
        found = condition()
        if found:
            return found
        time.sleep(0.05)
    problems.append("never came: " + what)
    return None


def has(obj, state):
    return obj.getState().contains(state)


def showing(root):
    """What a reader meets under root, root first."""
    if root is not None and has(root, pyatspi.STATE_SHOWING):
        yield root
        for child in root:
            yield from showing(child)


def actions(obj):
    try:
        action = obj.queryAction()
    except NotImplementedError:
        return {}
    return {action.getName(i): i for i in range(action.nActions)}


def find(root, role, name=None):
    return next((o for o in showing(root) if o.getRoleName() == role and name in (None, o.name)), None)


def press(root, name, action="Press"):
    obj = find(root, "push button", name)
    obj.queryAction().doAction(actions(obj)[action])


def xdotool(*arguments):
    subprocess.run(["xdotool", *arguments], check=True)


def windows():
    """The program's windows on the screen."""
    search = ["xdotool", "search", "--onlyvisible", "--class", "quenda-calendar"]
    return subprocess.run(search, text=True, capture_output=True).stdout.split()


def check_names(root):
    for obj in showing(root):  # blank day cells are disabled
        if has(obj, pyatspi.STATE_SENSITIVE) and not obj.name and obj.getRoleName() not in CONTAINERS:
            problems.append(f"unnamed {obj.getRoleName()} in {root.name!r}")


def walk(main, program):
    check_names(main)
    for role, name, action in CONTROLS:
        obj = find(main, role, name)
        if obj is None or (action and action not in actions(obj)):
            problems.append(f"no {role} {name!r} with {action}")


def dialog():
    return find(main_window().parent, "dialog")


def press_into_dialog(main, button, close):
    """The window the button opens names its controls and closes with its button `close`."""
    press(main, button)
    if wait_for(f"the window of {button}", dialog):
        check_names(dialog())
        press(dialog(), close)
        wait_for(f"the window of {button} to close", lambda: dialog() is None)


def press_all(main, program):
    text = find(main, "text", "记事").queryText()
    for button, expected in [("打勾", "√"), ("打叉", "×"), ("插入日期", time.strftime(" %Y.%m.%d "))]:
        press(main, button)
        wait_for(f"{expected} in the note", lambda: expected in text.getText(0, text.characterCount))
    press(main, "选项", "ShowMenu")
    if wait_for("the options menu", lambda: len(windows()) == 2):
        xdotool("key", "Down")
        wait_for("the options menu's first item", lambda: focused and focused[-1] == "帮助说明")
        xdotool("key", "Escape")
    press_into_dialog(main, "选择壁纸", "关闭")
    press_into_dialog(main, "添加到桌面", "取  消")
    find(main, "text", "记事").queryAction().doAction(0)  # the colour goes to the note that has the focus
    press(main, "字体颜色")
    if wait_for("the colour dialog", dialog):
        xdotool("key", "Escape")
    press(main, "最小化")
    wait_for("the window to minimise", lambda: not windows())
    press(main, "关闭")
    wait_for("the program to end", lambda: program.poll() == 0)


def move_over_days(main, program):
    find(main, "spin button", "年份").queryValue().currentValue = 2026
    find(main, "spin button", "月份").queryValue().currentValue = 12
    table = wait_for("December 2026", lambda: find(main, "table", "2026年12月"))
    if [table.queryTable().getColumnDescription(c) for c in (0, 6)] != ["星期日", "星期六"]:
        problems.append("the table's columns are not the week's days from Sunday")
    xdotool("search", "--onlyvisible", "--class", "quenda-calendar", "windowactivate", "--sync")
    table.queryTable().getAccessibleAt(1, 4).queryAction().doAction(0)  # the 10th: row 2, Thursday
    for keys, name in DAYS:
        if keys:
            xdotool("key", "--delay", "50", *keys)
        wait_for(f"the focus on {name}", lambda: focused and focused[-1] == name)


def main_window():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "quenda-calendar":
            return find(app, "frame", "桌面日历")


def run(app_folder, check, folder, parts):
    # The reader listens before the program starts, as on a desktop.
    pyatspi.Registry.registerEventListener(lambda event: event.detail1 and focused.append(event.source.name),
                                           "object:state-changed:focused")
    shutil.copytree(app_folder, folder)
    parts.insert(0, subprocess.Popen([os.path.join(folder, "quenda-calendar")]))
    main = wait_for("the program", main_window)
    if main is not None:
        {"walk": walk, "press": press_all, "days": move_over_days}[check](main, parts[0])


def main(app_folder, check):
    global pyatspi, GLib
    missing = [tool for tool in ("Xvfb", "openbox", "dbus-daemon", "dbus-send", "xdotool")
               if not shutil.which(tool)] + [m for m in ("pyatspi", "gi") if not importlib.util.find_spec(m)]
    if missing:
        print("skipped: the screen reader's desktop needs", *missing)
        return 77
    parts = []  # what was started, latest first
    with tempfile.TemporaryDirectory() as temp:
        try:
            start_desktop(parts)
            import pyatspi  # after the session bus is known: the library keeps its first bus
            from gi.repository import GLib
            run(app_folder, check, os.path.join(temp, "app"), parts)
        finally:
            for part in parts:
                part.kill()
                part.wait()
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:3]))
