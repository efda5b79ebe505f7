"""Glyphwell in a world of its own, driven as a person drives it.

An X server of its own, a session and accessibility bus, a fresh home with its own fontconfig
setup, a catalogue site served on 127.0.0.1, the program itself; xdotool clicks and types, and
the window is read through the accessibility bus (the names of buttons and cells, the status
line as the main window's description, the catalogue rows as the font canvas's description).
Used by the end-to-end test and by the screenshot script.
"""

import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time

SKIP = 77
# The catalogue canvases' geometry, in pixels from each canvas's top left corner.
SUBCATEGORY_PITCH, SUBCATEGORY_FIRST_LEFT, SUBCATEGORY_FIRST_TOP = 74, 1, 10
SUBCATEGORY_SIZE = (64, 23)
DOWNLOAD_ZONE_LEFT, DOWNLOAD_ZONE_RIGHT, BUTTON_HEIGHT = 666, 726, 23
BUTTON_TOPS = (11, 62, 111, 161, 211, 271)
# The page bar's items: the first one's left edge and the pitch, in the window.
PAGE_BAR_FIRST_LEFT, PAGE_BAR_PITCH, PAGE_BAR_MIDDLE = 9, 76, 55
PAGES = {"字体下载": 1, "系统字体": 2, "我的字体": 3, "回收站": 4, "字体备份": 5, "设计资源": 6,
         "设计商城": 7, "作品欣赏": 8}


def skip(reason):
    print(f"skipped: {reason}")
    sys.exit(SKIP)


def skip_unless_possible():
    """Skips (exit 77) without the tools; then runs the caller again inside a session bus of
    its own, for the accessibility bus."""
    for tool in ("Xvfb", "xdotool", "dbus-run-session", "fc-list", "import"):
        if shutil.which(tool) is None:
            skip(f"{tool} is missing (scripts/install-deps.sh installs it)")
    if not os.path.exists("/usr/libexec/at-spi-bus-launcher"):
        skip("the accessibility bus (at-spi2-core) is missing")
    import importlib.util
    if importlib.util.find_spec("pyatspi") is None:
        skip("python3-pyatspi is missing (scripts/install-deps.sh installs it)")
    if os.environ.get("GLYPHWELL_WINDOW_BUS") != "1":
        os.environ["GLYPHWELL_WINDOW_BUS"] = "1"
        os.environ.pop("DBUS_SESSION_BUS_ADDRESS", None)
        os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable] + sys.argv)


class Failure(Exception):
    pass


def run_in_window(bindir, drive, artifacts=None):
    """Runs drive(window) in a world of its own (skipping when it cannot be had); returns the
    exit code: 0, or 1 after reporting the failure with the program's and the site's logs
    (GLYPHWELL_WINDOW_DUMP=1 adds what the accessibility bus shows)."""
    skip_unless_possible()
    window = GlyphwellWindow(os.path.abspath(bindir), artifacts and os.path.abspath(artifacts))
    try:
        drive(window)
        return 0
    except (Failure, subprocess.CalledProcessError, OSError) as failure:
        window.screenshot("failed", whole_screen=True)
        print(f"FAIL: {failure}", file=sys.stderr)
        if os.environ.get("GLYPHWELL_WINDOW_DUMP"):
            print(window.dump(), file=sys.stderr)
        for log in ("glyphwell.log", "server.log"):
            print(f"--- {log}\n{window.log(log)}", file=sys.stderr)
        return 1
    finally:
        window.close()


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


class GlyphwellWindow:
    """The world and the program in it; close() ends every process and removes the world."""

    def __init__(self, bindir, artifacts=None):
        self.bindir = bindir
        self.artifacts = artifacts
        self.program = None
        self.site = None
        self.work = tempfile.mkdtemp(prefix="glyphwell-window-")
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

    def build_site(self, manifest):
        """Builds a site from `manifest` (the service's format) into the world."""
        site = os.path.join(self.work, "site")
        subprocess.run([os.path.join(self.bindir, "glyphwell-server"), "build", "--manifest",
                        manifest, "--out", site], check=True, stdout=subprocess.DEVNULL)
        return site

    def serve_site(self, site):
        """Serves a built site folder on a free port of 127.0.0.1 until close()."""
        with open(os.path.join(site, "ztpz.txt")) as f:
            version = f.read()
        port = free_port()
        self.start([os.path.join(self.bindir, "glyphwell-server"), "serve", "--root", site,
                    "--bind", "127.0.0.1", "--port", str(port)], "server.log")
        self.site = f"http://127.0.0.1:{port}"
        wait_for("the site", lambda: self.fetch("/ztpz.txt") == version, 20)

    def start_program(self):
        """Starts Glyphwell in its RunDirectory against the served site, and waits for its
        main window."""
        program = os.path.join(self.bindir, "glyphwell")
        self.program = self.start([program, "--home", self.home, "--site", self.site],
                                  "glyphwell.log", cwd=self.home)
        wait_for("the main window", self.main_window, 60)

    def world(self):
        """An X server, the accessibility bus; call first."""
        self.start_display()
        self.start_accessibility_bus()

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

    def canvas(self, name):
        return wait_for(f"the canvas {name}",
                        lambda: self.named("filler", name) or self.named("panel", name))

    def open_subcategory(self, index):
        """Clicks sub-category `index` (from 1) of the first line on the catalogue page."""
        x, y, _, _ = self.extents(self.canvas("分类画板"))
        self.click_at(x + SUBCATEGORY_FIRST_LEFT + (index - 1) * SUBCATEGORY_PITCH +
                      SUBCATEGORY_SIZE[0] // 2, y + SUBCATEGORY_FIRST_TOP + SUBCATEGORY_SIZE[1] // 2)

    def catalogue_rows(self):
        """The shown catalogue rows: "font name" + " " + what its button says."""
        return self.canvas("前台画板").description.split("\n")

    def press_download(self, row):
        x, y, _, _ = self.extents(self.canvas("前台画板"))
        self.click_at(x + (DOWNLOAD_ZONE_LEFT + DOWNLOAD_ZONE_RIGHT) // 2,
                      y + BUTTON_TOPS[row - 1] + BUTTON_HEIGHT // 2)

    def delete_from_system_list(self, name=None):
        """Deletes a font into the recycle bin from the system list's menu: the one named, or
        the first one listed."""
        def first_cell():
            return self.find(lambda n: self.role(n) == "table cell" and self.showing(n) and
                             bool(n.name))
        cell = wait_for(f"{name or 'a font'} in the system list",
                        lambda: self.named("table cell", name) if name else first_cell(), 15)
        self.click(cell)
        time.sleep(0.3)
        self.click(cell, 3)
        # A popup menu is not among the application's windows on the accessibility bus, so it is
        # worked by keyboard, as a person may: Up wraps to its last item, "删除字体  (  name  )".
        time.sleep(0.5)
        self.key("Up", "Return")

    def answer(self, text, caption):
        dialog = wait_for(f'the message "{text}"', lambda: self.dialog_with(text), 60)
        self.press_button(caption, dialog)
        wait_for(f'the message "{text}" to close', lambda: self.dialog_with(text) is None, 10)

    def screenshot(self, name, folder=None, whole_screen=False):
        """The main window (or the whole screen) as folder/name.png."""
        folder = folder or self.artifacts
        if not folder:
            return
        os.makedirs(folder, exist_ok=True)
        window = None if whole_screen else self.main_window()
        crop = []
        if window is not None:
            x, y, w, h = self.extents(window)
            crop = ["-crop", f"{w}x{h}+{x}+{y}", "+repage"]
        subprocess.run(["import", "-window", "root"] + crop + [os.path.join(folder, name + ".png")],
                       env=self.env, stderr=subprocess.DEVNULL)

    # --- what the user can check outside the window ---

    def fc_families(self):
        listed = subprocess.run(["fc-list", ":", "family"], env=self.env, capture_output=True,
                                text=True).stdout
        return {line.strip() for line in listed.splitlines()}

    def folder(self, name):
        path = os.path.join(self.home, name)
        return sorted(os.listdir(path)) if os.path.isdir(path) else []

