#!/usr/bin/python3
"""The whole journey through the real window, as a person makes it.

A catalogue site is built and served on 127.0.0.1; Glyphwell starts on its own virtual X
server in a fresh home with its own fontconfig world. The script clicks and types with xdotool
and reads what the window shows through the accessibility bus (the names of buttons and cells,
the status line and the catalogue rows, which the program describes there):

  start: the update prompt is answered Yes, the new catalogue installs, the status line says so;
  catalogue page: a category, its second sub-category, the row's download button, "已安装",
  and the font in fc-list; system-font page: the font listed, deleted into the recycle bin from
  its menu; recycle-bin page: restored; backup page: backed up.

usage: journey.py BINDIR TOOL [ARTIFACTS]   (TOOL writes a renamed font: TOOL OUT FAMILY)
Exit 77 (skipped) when no X server, accessibility bus or xdotool can be had.
"""

import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time

SKIP = 77
FONT = "Journey Kai"
OTHER_FONT = "Journey Hei"
VERSION = "1.5"
# The catalogue canvases' geometry, in pixels from each canvas's top left corner.
SUBCATEGORY_PITCH, SUBCATEGORY_FIRST_LEFT, SUBCATEGORY_FIRST_TOP = 74, 1, 10
SUBCATEGORY_SIZE = (64, 23)
DOWNLOAD_ZONE_LEFT, DOWNLOAD_ZONE_RIGHT, FIRST_ROW_BUTTON_TOP, BUTTON_HEIGHT = 666, 726, 11, 23
# The page bar's items: the first one's left edge and the pitch, in the window.
PAGE_BAR_FIRST_LEFT, PAGE_BAR_PITCH, PAGE_BAR_MIDDLE = 9, 76, 55
PAGES = {"字体下载": 1, "系统字体": 2, "我的字体": 3, "回收站": 4, "字体备份": 5}


def skip(reason):
    print(f"skipped: {reason}")
    sys.exit(SKIP)


class Failure(Exception):
    pass


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_for(what, check, timeout=30.0, step=0.2):
    end = time.monotonic() + timeout
    while True:
        value = check()
        if value:
            return value
        if time.monotonic() > end:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(step)


class Journey:
    def __init__(self, bindir, font_tool, artifacts):
        self.bindir = bindir
        self.font_tool = font_tool
        self.artifacts = artifacts
        self.work = tempfile.mkdtemp(prefix="glyphwell-journey-")
        self.processes = []
        self.home = os.path.join(self.work, "home")
        os.makedirs(self.home)
        self.env = dict(os.environ)
        self.env.update({
            "HOME": os.path.join(self.work, "user"),
            "XDG_DATA_HOME": os.path.join(self.work, "data"),
            "XDG_CONFIG_HOME": os.path.join(self.work, "config"),
            "XDG_CACHE_HOME": os.path.join(self.work, "cache"),
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "LANG": "C.UTF-8",
        })
        for folder in ("user", "data/fonts", "config/fontconfig/conf.d", "cache"):
            os.makedirs(os.path.join(self.work, folder), exist_ok=True)
        self.write_fontconfig()

    def write_fontconfig(self):
        # The interface's faces from the machine, the user's font folder, the user's rules (where
        # the program keeps its reject list): a small world, so the new font is easy to see.
        dirs = [d for d in ("/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/truetype/wqy",
                            "/usr/share/fonts/truetype/arphic") if os.path.isdir(d)]
        conf = ['<?xml version="1.0"?>', "<fontconfig>"]
        conf += [f"  <dir>{d}</dir>" for d in dirs]
        conf += ['  <dir prefix="xdg">fonts</dir>',
                 f"  <cachedir>{self.work}/cache/fontconfig</cachedir>",
                 '  <include ignore_missing="yes" prefix="xdg">fontconfig/conf.d</include>',
                 "</fontconfig>"]
        path = os.path.join(self.work, "fonts.conf")
        with open(path, "w") as f:
            f.write("\n".join(conf) + "\n")
        self.env["FONTCONFIG_FILE"] = path

    def start(self, argv, log, cwd=None):
        out = open(os.path.join(self.work, log), "wb")
        process = subprocess.Popen(argv, env=self.env, cwd=cwd, stdout=out,
                                   stderr=subprocess.STDOUT)
        self.processes.append(process)
        return process

    def log(self, name):
        try:
            with open(os.path.join(self.work, name), errors="replace") as f:
                return f.read()[-4000:]
        except OSError:
            return ""

    def dump(self):
        """What the accessibility bus shows of the program, for a failure's report."""
        lines = []

        def walk(node, depth):
            try:
                lines.append(f"{'  ' * depth}{self.role(node)} {node.name!r} {node.description!r}"
                             f"{' showing' if self.showing(node) else ''}")
                children = [node.getChildAtIndex(i) for i in range(node.childCount)]
            except Exception:
                return
            for child in children:
                if child is not None and depth < 40:
                    walk(child, depth + 1)

        if self.application() is not None:
            walk(self.application(), 0)
        return "\n".join(lines)

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
        shutil.rmtree(self.work, ignore_errors=True)

    # --- the world: an X server, the accessibility bus, the site ---

    def start_display(self):
        read, write = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
                                 "-nolisten", "tcp"], pass_fds=(write,),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        self.processes.append(xvfb)
        number = b""
        end = time.monotonic() + 20
        while not number.endswith(b"\n") and time.monotonic() < end:
            chunk = os.read(read, 16)
            if not chunk:
                break
            number += chunk
        os.close(read)
        if not number.strip():
            skip("Xvfb did not start")
        self.env["DISPLAY"] = ":" + number.decode().strip()
        os.environ["DISPLAY"] = self.env["DISPLAY"]

    def start_accessibility_bus(self):
        launcher = "/usr/libexec/at-spi-bus-launcher"
        self.start([launcher, "--launch-immediately"], "at-spi.log")
        # The registry answers once the bus is up.
        import pyatspi  # noqa: F401  (imported here: it connects to the session bus)
        wait_for("the accessibility bus", lambda: self.desktop() is not None, 20)

    def build_site(self):
        fonts = os.path.join(self.work, "fonts")
        os.makedirs(fonts)
        for family, file in ((OTHER_FONT, "hei.ttf"), (FONT, "kai.ttf")):
            subprocess.run([self.font_tool, os.path.join(fonts, file), family], check=True)
        manifest = os.path.join(fonts, "site.manifest")
        with open(manifest, "w") as f:
            f.write(f"version\t{VERSION}\ncategory\t中文字体\n"
                    f"subcategory\t黑体\nfont\t{OTHER_FONT}\tjourney/hei\thei.ttf\n"
                    f"subcategory\t楷体\nfont\t{FONT}\tjourney/kai\tkai.ttf\n")
        site = os.path.join(self.work, "site")
        subprocess.run([os.path.join(self.bindir, "glyphwell-server"), "build", "--manifest",
                        manifest, "--out", site], check=True, stdout=subprocess.DEVNULL)
        port = free_port()
        self.start([os.path.join(self.bindir, "glyphwell-server"), "serve", "--root", site,
                    "--bind", "127.0.0.1", "--port", str(port)], "server.log")
        self.site = f"http://127.0.0.1:{port}"
        wait_for("the site", lambda: self.fetch("/ztpz.txt") == VERSION, 20)

    def fetch(self, path):
        import urllib.request
        try:
            with urllib.request.urlopen(self.site + path, timeout=2) as answer:
                return answer.read().decode()
        except OSError:
            return None

    # --- reading the window ---

    def desktop(self):
        import pyatspi
        try:
            return pyatspi.Registry.getDesktop(0)
        except Exception:
            return None

    def application(self):
        for app in self.desktop() or []:
            try:
                if app is not None and app.name == "glyphwell":
                    return app
            except Exception:
                continue
        return None

    def find_all(self, predicate, root=None):
        root = root or self.application()
        found = []
        if root is None:
            return found

        def walk(node, depth):
            try:
                if predicate(node):
                    found.append(node)
                count = node.childCount
            except Exception:
                return
            if depth > 40:
                return
            for i in range(count):
                try:
                    child = node.getChildAtIndex(i)
                except Exception:
                    continue
                if child is not None:
                    walk(child, depth + 1)

        walk(root, 0)
        return found

    def find(self, predicate, root=None):
        found = self.find_all(predicate, root)
        return found[0] if found else None

    @staticmethod
    def role(node):
        try:
            return node.getRoleName()
        except Exception:
            return ""

    @staticmethod
    def showing(node):
        import pyatspi
        try:
            return node.getState().contains(pyatspi.STATE_SHOWING)
        except Exception:
            return False

    def named(self, role, name, exact=True):
        def matches(node):
            if self.role(node) != role or not self.showing(node):
                return False
            return node.name == name if exact else node.name.startswith(name)
        return self.find(matches)

    def main_window(self):
        return self.find(lambda n: n.name == "Glyphwell2014" and self.role(n) in
                         ("filler", "frame", "window"))

    def status_line(self):
        window = self.main_window()
        return window.description if window is not None else ""

    def dialog_with(self, text):
        """A shown message box whose text contains `text`."""
        def matches(node):
            return self.role(node) in ("dialog", "alert") and self.find(
                lambda n: self.role(n) == "label" and text in (n.name or ""), node) is not None
        return self.find(matches)

    # --- acting on it ---

    @staticmethod
    def extents(node):
        import pyatspi
        box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return box.x, box.y, box.width, box.height

    def click_at(self, x, y, button=1):
        subprocess.run(["xdotool", "mousemove", str(x), str(y)], env=self.env, check=True)
        time.sleep(0.15)
        subprocess.run(["xdotool", "click", str(button)], env=self.env, check=True)

    def key(self, *keys):
        for key in keys:
            subprocess.run(["xdotool", "key", key], env=self.env, check=True)
            time.sleep(0.15)

    def click(self, node, button=1):
        x, y, w, h = self.extents(node)
        self.click_at(x + w // 2, y + h // 2, button)

    def press_button(self, caption, root=None):
        button = wait_for(f'the button "{caption}"',
                          lambda: self.find(lambda n: self.role(n) == "push button" and
                                            self.showing(n) and n.name.startswith(caption),
                                            root), 15)
        self.click(button)

    def show_page(self, name):
        x, y, _, _ = self.extents(self.main_window())
        item = PAGES[name]
        self.click_at(x + PAGE_BAR_FIRST_LEFT + (item - 1) * PAGE_BAR_PITCH + 38,
                      y + PAGE_BAR_MIDDLE)
        time.sleep(0.8)

    def answer(self, text, caption):
        dialog = wait_for(f'the message "{text}"', lambda: self.dialog_with(text), 60)
        self.press_button(caption, dialog)
        wait_for(f'the message "{text}" to close', lambda: self.dialog_with(text) is None, 10)

    def screenshot(self, name):
        if not self.artifacts:
            return
        os.makedirs(self.artifacts, exist_ok=True)
        subprocess.run(["import", "-window", "root", os.path.join(self.artifacts, name + ".png")],
                       env=self.env, stderr=subprocess.DEVNULL)

    # --- what the user can check outside the window ---

    def fc_families(self):
        listed = subprocess.run(["fc-list", ":", "family"], env=self.env, capture_output=True,
                                text=True).stdout
        return {line.strip() for line in listed.splitlines()}

    def folder(self, name):
        path = os.path.join(self.home, name)
        return sorted(os.listdir(path)) if os.path.isdir(path) else []

    # --- the journey ---

    def run(self):
        self.start_display()
        self.start_accessibility_bus()
        self.build_site()
        program = os.path.join(self.bindir, "glyphwell")
        self.program = self.start([program, "--home", self.home, "--site", self.site],
                                  "glyphwell.log", cwd=self.home)
        wait_for("the main window", self.main_window, 60)

        # First start: the catalogue is older than the server's (there is none), so it asks.
        self.answer("服务器上有新的字库版本,是否更新字库?", "是")
        self.answer("数据库安装成功,已自动刷新!", "确定")
        line = wait_for("the version line", lambda: "已是最新版本" in self.status_line() and
                        self.status_line(), 30)
        expected = f"字库版本号:{VERSION}(已是最新版本!)"
        if expected not in line or "连接服务器成功!" not in line:
            raise Failure(f"status line {line!r}, expected {expected!r} and a connection")
        self.screenshot("1-started")

        # The catalogue page: a category, the second sub-category, the row's download button.
        self.show_page("字体下载")
        self.click(wait_for("the category tab", lambda: self.named("page tab", "  中文字体  ")))
        canvas = wait_for("the sub-category canvas", lambda: self.named("filler", "分类画板") or
                          self.named("panel", "分类画板"))
        x, y, _, _ = self.extents(canvas)
        self.click_at(x + SUBCATEGORY_FIRST_LEFT + SUBCATEGORY_PITCH + SUBCATEGORY_SIZE[0] // 2,
                      y + SUBCATEGORY_FIRST_TOP + SUBCATEGORY_SIZE[1] // 2)
        rows = wait_for("the font canvas", lambda: self.named("filler", "前台画板") or
                        self.named("panel", "前台画板"))
        wait_for(f'"{FONT} 下载" in the rows', lambda: f"{FONT} 下载" in rows.description, 15)
        x, y, _, _ = self.extents(rows)
        self.click_at(x + (DOWNLOAD_ZONE_LEFT + DOWNLOAD_ZONE_RIGHT) // 2,
                      y + FIRST_ROW_BUTTON_TOP + BUTTON_HEIGHT // 2)
        wait_for(f'"{FONT} 已安装"', lambda: f"{FONT} 已安装" in rows.description, 60)
        self.screenshot("2-installed")
        if FONT not in self.fc_families():
            raise Failure(f"{FONT} is marked installed but fc-list does not list it")
        if not self.folder("字体下载目录"):
            raise Failure("nothing in the download folder")

        # The system-font page lists it (newest first); its menu deletes it into the bin.
        self.show_page("系统字体")
        self.press_button("按时间排序")
        cell = wait_for(f"{FONT} in the system list",
                        lambda: self.named("table cell", FONT), 15)
        self.click(cell)
        time.sleep(0.3)
        self.click(cell, 3)
        # A popup menu is not among the application's windows on the accessibility bus, so it is
        # worked by keyboard, as a person may: Up wraps to its last item, "删除字体  (  name  )".
        time.sleep(0.5)
        self.key("Up", "Return")
        wait_for(f"{FONT} gone from fc-list", lambda: FONT not in self.fc_families(), 20)
        binned = wait_for("the file in the recycle bin", lambda: self.folder("字体回收站"), 10)
        wait_for(f"{FONT} gone from the system list",
                 lambda: self.named("table cell", FONT) is None, 15)

        # The recycle-bin page lists it; "还原" installs it again and empties the bin.
        self.show_page("回收站")
        wait_for("the bin's row", lambda: self.named("table cell", binned[0]), 15)
        self.press_button("还原")
        wait_for(f"{FONT} back in fc-list", lambda: FONT in self.fc_families(), 30)
        wait_for("an empty bin", lambda: not self.folder("字体回收站"), 10)
        self.screenshot("3-restored")

        # The backup page: "一键备份" copies every installed font, this one among them.
        self.show_page("字体备份")
        self.press_button("一键备份")
        wait_for("the font in the backup", lambda: binned[0] in self.folder("字体备份"), 60)
        # Every installed font is in the list and counted; this one's row may be out of view.
        wait_for("the backup's count", lambda: self.named(
            "label", f"已备份字体数:{len(self.folder('字体备份'))}"), 30)
        wait_for("the backup's row", lambda: self.find(
            lambda n: self.role(n) == "table cell" and n.name == binned[0]), 10)
        self.screenshot("4-backed-up")
        if self.program.poll() is not None:
            raise Failure(f"the program ended with {self.program.returncode}")
        print(f"journey complete: {FONT} downloaded, installed, deleted into the bin, restored "
              f"and backed up; status line {line!r}")


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    for tool in ("Xvfb", "xdotool", "dbus-run-session", "fc-list"):
        if shutil.which(tool) is None:
            skip(f"{tool} is missing (scripts/install-deps.sh installs it)")
    if not os.path.exists("/usr/libexec/at-spi-bus-launcher"):
        skip("the accessibility bus (at-spi2-core) is missing")
    import importlib.util
    if importlib.util.find_spec("pyatspi") is None:
        skip("python3-pyatspi is missing (scripts/install-deps.sh installs it)")
    # A private session bus for the accessibility bus: run again inside one.
    if os.environ.get("GLYPHWELL_JOURNEY_BUS") != "1":
        os.environ["GLYPHWELL_JOURNEY_BUS"] = "1"
        os.environ.pop("DBUS_SESSION_BUS_ADDRESS", None)
        os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable] + sys.argv)

    journey = Journey(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]),
                      os.path.abspath(sys.argv[3]) if len(sys.argv) > 3 else None)
    try:
        journey.run()
        return 0
    except (Failure, subprocess.CalledProcessError) as failure:
        journey.screenshot("failed")
        print(f"FAIL: {failure}", file=sys.stderr)
        if os.environ.get("GLYPHWELL_JOURNEY_DUMP"):
            print(journey.dump(), file=sys.stderr)
        for log in ("glyphwell.log", "server.log"):
            print(f"--- {log}\n{journey.log(log)}", file=sys.stderr)
        return 1
    finally:
        journey.close()


if __name__ == "__main__":
    sys.exit(main())
