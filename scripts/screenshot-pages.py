#!/usr/bin/python3
"""Screenshots of Glyphwell's pages for the README, made as a person would make them.

The program starts in a fresh world of its own (virtual X server, home, fontconfig setup)
against a catalogue site served on 127.0.0.1, answers the update prompt, downloads two fonts,
deletes one of them into the recycle bin, backs up, and saves the main window on each page.

usage: screenshot-pages.py BINDIR SITE_FOLDER OUTDIR
"""

import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from glyphwell_window import run_in_window, wait_for  # noqa: E402


def tour(w, site, out):
    w.world()
    w.serve_site(site)
    w.start_program()
    wait_for("the update prompt", lambda: w.dialog_with("服务器上有新的字库版本"), 60)
    w.screenshot("update-prompt", out)
    w.answer("服务器上有新的字库版本,是否更新字库?", "是")
    w.answer("数据库安装成功,已自动刷新!", "确定")

    w.show_page("字体下载")
    rows = wait_for("the catalogue rows", lambda: [r for r in w.catalogue_rows() if r], 20)
    for row in (1, 2):
        w.press_download(row)
        time.sleep(0.3)
    wait_for("two fonts installed",
             lambda: sum(r.endswith(" 已安装") for r in w.catalogue_rows()[:2]) == 2, 120)
    w.screenshot("download", out)

    w.show_page("系统字体")
    w.press_button("按时间排序")
    time.sleep(1)
    w.screenshot("system", out)

    w.show_page("我的字体")
    time.sleep(1)
    w.screenshot("myfonts", out)

    w.show_page("系统字体")
    w.delete_from_system_list()
    wait_for("a font in the recycle bin", lambda: w.folder("字体回收站"), 20)
    w.show_page("回收站")
    time.sleep(1)
    w.screenshot("recyclebin", out)

    w.show_page("字体备份")
    w.press_button("一键备份")
    wait_for("the backup listed",
             lambda: w.folder("字体备份") and
             w.named("label", f"已备份字体数:{len(w.folder('字体备份'))}"), 120)
    w.screenshot("backup", out)

    for page, name in (("设计资源", "resources"), ("设计商城", "shop"), ("作品欣赏", "gallery")):
        w.show_page(page)
        time.sleep(3)  # the page's web box loads from the local site
        w.screenshot(name, out)
    print(f"screenshots of {len(rows)} catalogue rows and every page in {out}")


def main():
    if len(sys.argv) != 4:
        print(__doc__)
        return 2
    site, out = os.path.abspath(sys.argv[2]), os.path.abspath(sys.argv[3])
    return run_in_window(sys.argv[1], lambda w: tour(w, site, out))


if __name__ == "__main__":
    sys.exit(main())
