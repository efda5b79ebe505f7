#!/usr/bin/env python3
"""Kills glyphwell-cli at every file-changing system call of each operation and checks that
nothing was lost.

    kill_at_every_step.py BIN_DIR WRITE_RENAMED_FONT WORK_DIR [--sample] [--only OP,...]

For each operation a small world is made once (a private fontconfig setup, fonts installed by the
program, a font of the "system", a recycle bin with a name that clashes, a backup, downloads).
Then, for each system call in SYSCALLS and each N from 1 until the operation finishes untouched,
a fresh copy of the world runs the operation under strace with the Nth call replaced by SIGKILL,
and then the operation again without strace (it repairs what the kill left first). Checked after
every kill: every font file of the world is still whole somewhere; no temporary file of ours is
left or listed by fontconfig; the records name only files that exist; and the world ends as an
uninterrupted run leaves it (sets of font contents per place, and what fontconfig lists).

A full disk is tried the same way: every write fails with ENOSPC, and the operation must say so
with a non-zero exit and lose nothing.

--sample tries only the renames and unlinks of four operations (what CI runs); without it every
operation at every call (a few minutes; run by hand, figures in the note).
"""

import hashlib
import os
import re
import shutil
import subprocess
import sys

SYSCALLS = ["rename", "renameat2", "unlink", "unlinkat", "write", "fsync"]
SAMPLE_SYSCALLS = ["rename", "renameat2", "unlink"]
SAMPLE_OPERATIONS = ["recycle-ours", "restore-bin", "remove-downloaded", "install", "download"]
TEMPORARY = re.compile(r"(^\.glyphwell-partial-)|(\.[0-9a-f]{16}\.tmp$)")


class World:
    def __init__(self, root, cli, write_font):
        self.root = root
        self.cli = cli
        self.write_font = write_font
        self.env = dict(os.environ)
        self.env.update(
            FONTCONFIG_FILE=f"{root}/fonts.conf",
            XDG_DATA_HOME=f"{root}/data",
            XDG_CONFIG_HOME=f"{root}/config",
            XDG_CACHE_HOME=f"{root}/cache",
            HOME=root,
            LC_ALL="C.UTF-8",
        )
        self.fonts = f"{root}/data/fonts"
        self.system = f"{root}/system"
        self.home = f"{root}/run"
        self.bin = f"{self.home}/字体回收站"
        self.backup = f"{self.home}/字体备份"
        self.downloads = f"{self.home}/字体下载目录"
        self.sources = f"{root}/sources"
        self.exported = f"{root}/exported"
        self.site_base = ""

    def places(self):
        return {
            "fonts": self.fonts,
            "system": self.system,
            "bin": self.bin,
            "backup": self.backup,
            "downloads": self.downloads,
            "exported": self.exported,
        }

    def make(self):
        for folder in [self.fonts, self.system, f"{self.root}/config/fontconfig/conf.d",
                       f"{self.root}/cache", self.bin, self.backup, self.downloads,
                       self.sources, self.exported]:
            os.makedirs(folder, exist_ok=True)
        reject = f"{self.root}/config/fontconfig/conf.d/85-glyphwell-rejected.conf"
        with open(f"{self.root}/fonts.conf", "w") as conf:
            conf.write(f'<?xml version="1.0"?>\n<fontconfig><dir>{self.system}</dir>'
                       f'<dir>{self.fonts}</dir><cachedir>{self.root}/cache/fc</cachedir>'
                       f'<include ignore_missing="yes">{reject}</include></fontconfig>\n')
        font = lambda path, family: subprocess.run([self.write_font, path, family], check=True)
        for name, family in [("a", "Alpha"), ("b", "Bravo"), ("h", "Hotel")]:
            font(f"{self.sources}/{name}.ttf", family)
        self.run("install", f"{self.sources}/a.ttf")
        self.run("install", f"{self.sources}/b.ttf")
        font(f"{self.system}/s.ttf", "Sierra")
        font(f"{self.bin}/a.ttf", "Delta")  # a name the next move into the bin clashes with
        font(f"{self.bin}/c.ttf", "Charlie")
        font(f"{self.backup}/e.ttf", "Echo")
        font(f"{self.downloads}/f.ttf", "Foxtrot")
        font(f"{self.downloads}/g.ttf", "Golf")
        self.run("reinstall", "f.ttf")

    def command(self, *arguments):
        return [self.cli, "--home", self.home, *arguments]

    def run(self, *arguments, check=True):
        result = subprocess.run(self.command(*arguments), env=self.env, capture_output=True)
        if check and result.returncode != 0:
            raise RuntimeError(f"{arguments}: {result.stderr.decode()}")
        return result

    def listed(self):
        out = subprocess.run(["fc-list", "--format", "%{file}\n"], env=self.env,
                             capture_output=True, text=True).stdout
        return sorted(line for line in out.splitlines() if line.startswith(self.root))

    def state(self):
        """What the user has: the font contents in each place, and what fontconfig lists."""
        places = {}
        for place, folder in self.places().items():
            places[place] = sorted({digest(os.path.join(folder, name))
                                    for name in entries(folder)
                                    if os.path.isfile(os.path.join(folder, name))})
        places["listed"] = sorted({digest(path) for path in self.listed()})
        return places

    def problems(self, before):
        found = []
        everywhere = set()
        for folder in self.places().values():
            for name in entries(folder):
                path = os.path.join(folder, name)
                if TEMPORARY.search(name):
                    found.append(f"temporary file left: {path}")
                elif os.path.isfile(path):
                    everywhere.add(digest(path))
        for lost in set(before) - everywhere:
            found.append(f"a font was lost: {before[lost]}")
        for path in self.listed():
            if TEMPORARY.search(os.path.basename(path)):
                found.append(f"fontconfig lists a temporary file: {path}")
        key = f"{self.root}/data/glyphwell/fonts-key"
        if os.path.exists(key):
            for line in open(key, encoding="utf-8", errors="replace"):
                data = line.split("\t", 1)[0]
                path = data if data.startswith("/") else os.path.join(self.fonts, data)
                if data and not os.path.exists(path):
                    found.append(f"the key names a missing file: {data}")
        return found


def entries(folder):
    try:
        return sorted(os.listdir(folder))
    except OSError:
        return []


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def fonts_by_digest(world):
    found = {}
    for folder in world.places().values():
        for name in entries(folder):
            path = os.path.join(folder, name)
            if os.path.isfile(path) and not TEMPORARY.search(name):
                found[digest(path)] = path
    return found


def operations(world):
    return {
        "install": ["install", f"{world.sources}/h.ttf"],
        "uninstall": ["uninstall", "Alpha"],
        "recycle-ours": ["recycle", "Alpha"],
        "recycle-system": ["recycle", "Sierra"],
        "restore-bin": ["restore", "bin", "c.ttf"],
        "restore-backup": ["restore", "backup", "e.ttf"],
        "purge": ["purge", "c.ttf"],
        "backup": ["backup"],
        "export": ["export", "Bravo", world.exported],
        "reinstall": ["reinstall", "g.ttf"],
        "remove-downloaded": ["remove-downloaded", "f.ttf"],
        "download": ["download", "Hotel Font", "h", "--base", world.site_base],
    }


def fresh(template, world):
    shutil.rmtree(world.root, ignore_errors=True)
    shutil.copytree(template, world.root, symlinks=True)


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    options = [a for a in sys.argv[1:] if a.startswith("--")]
    if len(args) < 3:
        print(__doc__)
        return 2
    bin_dir, write_font, work = args[0], args[1], os.path.abspath(args[2])
    sample = "--sample" in options
    only = None
    for i, a in enumerate(sys.argv):
        if a == "--only":
            only = sys.argv[i + 1].split(",")
    if shutil.which("strace") is None or subprocess.run(
            ["strace", "-qq", "-o", "/dev/null", "true"], capture_output=True).returncode != 0:
        print("kill_at_every_step: strace is missing or may not trace here", file=sys.stderr)
        return 77
    cli = os.path.join(bin_dir, "glyphwell-cli")
    linked = subprocess.run(["ldd", cli], capture_output=True, text=True).stdout
    if "libasan" in linked:
        # Its runtime writes at start and its leak check needs ptrace: neither survives strace.
        print("kill_at_every_step: AddressSanitizer builds cannot run under strace's faults",
              file=sys.stderr)
        return 77
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    # Made where it is used: the records and fontconfig's caches hold absolute paths.
    world = World(f"{work}/world", cli, write_font)
    world.make()
    # A catalogue server of our own for the download, outside the world.
    site = f"{work}/site"
    os.makedirs(f"{site}/ztwjj")
    world.run("pack", f"{world.sources}/h.ttf", f"{site}/ztwjj/h.tmp")
    port = 20000 + os.getpid() % 20000
    server = subprocess.Popen([os.path.join(bin_dir, "glyphwell-server"), "serve", "--root", site,
                               "--bind", "127.0.0.1", "--port", str(port)],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    world.site_base = f"http://127.0.0.1:{port}"
    try:
        return sweep(world, work, sample, only)
    finally:
        server.kill()


def sweep(world, work, sample, only):
    template = f"{work}/template"
    shutil.copytree(world.root, template, symlinks=True)
    for _ in range(100):  # the server is up once the font can be fetched
        if subprocess.run(["curl", "-sf", "-o", "/dev/null", f"{world.site_base}/ztwjj/h.tmp"]
                          ).returncode == 0:
            break
        subprocess.run(["sleep", "0.1"])
    failures = []
    kills = 0
    chosen = only or (SAMPLE_OPERATIONS if sample else list(operations(world)))
    for name in chosen:
        argv = operations(world)[name]
        fresh(template, world)
        before = fonts_by_digest(world)
        if name == "purge":  # what it is asked to delete for good
            before.pop(digest(f"{world.bin}/c.ttf"))
        world.run(*argv, check=False)
        expected = world.state()
        for syscall in (SAMPLE_SYSCALLS if sample else SYSCALLS):
            n = 1
            while True:
                fresh(template, world)
                traced = subprocess.run(
                    ["strace", "-f", "-qq", "-o", "/dev/null", "-e", f"trace={syscall}",
                     "-e", f"inject={syscall}:signal=SIGKILL:when={n}", *world.command(*argv)],
                    env=world.env, capture_output=True)
                if traced.returncode not in (-9, 128 + 9, 137):
                    break  # the operation ran to its end: no Nth call
                kills += 1
                repeated = world.run(*argv, check=False)
                where = f"{name}: kill at {syscall} #{n}"
                problems = world.problems(before)
                if world.state() != expected:
                    problems.append(f"ends as {world.state()} instead of {expected} "
                                    f"(repeat exited {repeated.returncode}: "
                                    f"{repeated.stderr.decode().strip()})")
                failures += [f"{where}: {p}" for p in problems]
                n += 1
        # A full disk: every write fails; the operation says so and loses nothing.
        fresh(template, world)
        full = subprocess.run(
            ["strace", "-f", "-qq", "-o", "/dev/null", "-e", "trace=write,pwrite64",
             "-e", "inject=write,pwrite64:error=ENOSPC", *world.command(*argv)],
            env=world.env, capture_output=True)
        if name != "purge" and full.returncode == 0:
            failures.append(f"{name}: a full disk was reported as success")
        failures += [f"{name}: full disk: {p}" for p in world.problems(before)]
        if name == "restore-bin":
            # A bin whose files cannot be deleted: the font comes back, and the command says the
            # file stayed in the bin.
            fresh(template, world)
            stuck = subprocess.run(
                ["strace", "-f", "-qq", "-o", "/dev/null", "-e", "trace=unlink,unlinkat",
                 "-e", "inject=unlink,unlinkat:error=EROFS", *world.command(*argv)],
                env=world.env, capture_output=True)
            if stuck.returncode == 0 or "回收站" not in stuck.stderr.decode():
                failures.append(f"{name}: a bin that cannot be changed was reported as success")
        print(f"{name}: done ({kills} kills so far)", flush=True)
    for failure in failures:
        print(failure)
    print(f"kill_at_every_step: {kills} kills, {len(failures)} problems")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
