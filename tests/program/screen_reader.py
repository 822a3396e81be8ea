#!/usr/bin/python3
"""The program as a screen reader meets it, through AT-SPI: on a private X display (Xvfb) with openbox, a
private session bus and the accessibility bus it starts, the real program in a copy of its folder.

    screen_reader.py APP_FOLDER walk    every control met has a name and a role; the named ones are there
    screen_reader.py APP_FOLDER press   the press actions do what a click does
    screen_reader.py APP_FOLDER days    the arrow keys move the focus over days whose names read in full

One check per process: the reader library keeps its first accessibility bus. Exits 0 when every check
holds, 1 after printing what failed, 77 (skipped) when the desktop parts are not installed."""

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
    ("push button", "关闭", "Press"), ("push button", "最小化", "Press"), ("push button", "选项", "ShowMenu"),
    ("push button", "添加到桌面", "Press"), ("push button", "选择壁纸", "Press"), ("push button", "打勾", "Press"),
    ("push button", "打叉", "Press"), ("push button", "插入日期", "Press"), ("push button", "字体颜色", "Press"),
    ("text", "记事", None), ("panel", "日历", None), ("spin button", "月份", "Increase"),
    ("spin button", "年份", "Decrease"), ("push button", "今天", "Press"), ("table", None, None)]
problems = []


def start_session(app_folder, folder):
    """Starts the desktop parts and the program; returns them in the order they end."""
    shutil.copytree(app_folder, folder)
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten",
                             "tcp"], pass_fds=[write_end])
    os.close(write_end)
    os.environ.update(DISPLAY=":" + os.fdopen(read_end).readline().strip(), QT_QPA_PLATFORM="xcb",
                      LC_ALL="C.UTF-8", ASAN_OPTIONS="detect_leaks=0", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"], stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL)
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().decode().strip()
    openbox = subprocess.Popen(["openbox"])
    wait_for("openbox", lambda: subprocess.run(["xdotool", "get_desktop"], capture_output=True).returncode == 0)
    # The program joins the accessibility bus only when it is there at its start.
    subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                    "org.a11y.Bus.GetAddress"], check=True, stdout=subprocess.DEVNULL)
    return [subprocess.Popen([os.path.join(folder, "quenda-calendar")]), openbox, bus, xvfb]


def wait_for(what, condition):
    """Delivers the reader's events until condition() gives something; a problem when it never does."""
    deadline = time.monotonic() + WAIT_SECONDS
    while time.monotonic() < deadline:
        while "pyatspi" in globals() and GLib.MainContext.default().pending():
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
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--class", "quenda-calendar"], text=True,
                           capture_output=True)
    return found.stdout.split()


def check_names(root):
    for obj in showing(root):  # blank day cells are disabled
        if has(obj, pyatspi.STATE_SENSITIVE) and not obj.name and obj.getRoleName() not in CONTAINERS:
            problems.append(f"unnamed {obj.getRoleName()} in {root.name!r}")


def walk(app, main, program):
    check_names(main)
    for role, name, action in CONTROLS:
        obj = find(main, role, name)
        if obj is None or (action and action not in actions(obj)):
            problems.append(f"no {role} {name!r} with {action}")


def listen_to_focus():
    focused = []
    pyatspi.Registry.registerEventListener(lambda event: event.detail1 and focused.append(event.source.name),
                                           "object:state-changed:focused")
    return focused


def dialog(app):
    return find(app, "dialog")


def press_into_dialog(app, main, button, close):
    """The window the button opens names its controls and closes with its button `close`."""
    press(main, button)
    if wait_for(f"the window of {button}", lambda: dialog(app)):
        check_names(dialog(app))
        press(dialog(app), close)
        wait_for(f"the window of {button} to close", lambda: dialog(app) is None)


def press_all(app, main, program):
    focused, text = listen_to_focus(), find(main, "text", "记事").queryText()
    note = lambda: text.getText(0, text.characterCount)
    for button, expected in [("打勾", "√"), ("打叉", "×"), ("插入日期", time.strftime(" %Y.%m.%d "))]:
        press(main, button)
        wait_for(f"{expected} in the note", lambda: expected in note())
    press(main, "选项", "ShowMenu")
    if wait_for("the options menu", lambda: len(windows()) == 2):
        xdotool("key", "Down")
        wait_for("the first item of the options menu", lambda: focused and focused[-1] == "帮助说明")
    xdotool("key", "Escape")
    press_into_dialog(app, main, "选择壁纸", "关闭")
    press_into_dialog(app, main, "添加到桌面", "取  消")
    find(main, "text", "记事").queryAction().doAction(0)  # the colour applies to the note with the focus
    press(main, "字体颜色")
    if wait_for("the colour dialog", lambda: dialog(app)):
        xdotool("key", "Escape")
    press(main, "最小化")
    wait_for("the window to minimise", lambda: not windows())
    press(main, "关闭")
    wait_for("the program to end", lambda: program.poll() == 0)


def move_over_days(app, main, program):
    find(main, "spin button", "年份").queryValue().currentValue = 2026
    find(main, "spin button", "月份").queryValue().currentValue = 12
    table = wait_for("December 2026", lambda: find(main, "table", "2026年12月"))
    focused = listen_to_focus()
    xdotool("search", "--onlyvisible", "--class", "quenda-calendar", "windowactivate", "--sync")
    table.queryTable().getAccessibleAt(1, 4).queryAction().doAction(0)  # the 10th: row 2, Thursday
    for keys, name in [([], "2026年12月10日 星期四 农历冬月初二"), (["Right"], "2026年12月11日 星期五 农历冬月初三"),
                       (["Down"], "2026年12月18日 星期五 农历冬月初十"),
                       (["Down"], "2026年12月25日 星期五 农历冬月十七 圣诞节"),
                       (["Left"] * 3, "2026年12月22日 星期二 农历冬月十四 冬至")]:
        if keys:
            xdotool("key", "--delay", "50", *keys)
        wait_for(f"the focus on {name}", lambda: focused and focused[-1] == name)


def main(app_folder, check):
    global pyatspi, GLib
    missing = [tool for tool in ("Xvfb", "openbox", "dbus-daemon", "dbus-send", "xdotool") if not shutil.which(tool)]
    missing += [module for module in ("pyatspi", "gi") if importlib.util.find_spec(module) is None]
    if missing:
        print("skipped: the screen reader's desktop needs", *missing)
        return 77
    with tempfile.TemporaryDirectory() as temp:
        parts = start_session(app_folder, os.path.join(temp, "app"))
        try:
            import pyatspi  # after the session bus is known: the library keeps its first bus
            from gi.repository import GLib
            app = wait_for("the program", lambda: next((a for a in pyatspi.Registry.getDesktop(0)
                                                        if a is not None and a.name == "quenda-calendar"
                                                        and find(a, "filler", "桌面日历")), None))
            if app is not None:
                {"walk": walk, "press": press_all, "days": move_over_days}[check](
                    app, find(app, "filler", "桌面日历"), parts[0])
        finally:
            for part in parts:
                part.kill()
                part.wait()
    print("\n".join(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:3]))
