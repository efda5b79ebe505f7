#!/usr/bin/python3
"""The whole journey through the real window, as a person makes it.

A two-font catalogue is built and served on 127.0.0.1; Glyphwell starts in a world of its own
(glyphwell_window.py):
  start: the update prompt is answered Yes, the new catalogue installs, the status line says so;
  catalogue page: a category, its second sub-category, the row's download button, "已安装",
  and the font in fc-list; system-font page: the font listed, deleted into the recycle bin from
  its menu; recycle-bin page: restored; backup page: backed up; system-font page: "卸载" asks,
  Enter declines; my-fonts page: "卸载" moves the download into the bin, whence it is restored.

usage: journey.py BINDIR FONT_TOOL [ARTIFACTS]   (FONT_TOOL OUT FAMILY writes a renamed font)
Exit 77 (skipped) when no X server, accessibility bus or xdotool can be had.
"""

import os
import subprocess
import sys

from glyphwell_window import Failure, run_in_window, wait_for

FONT = "Journey Kai"
OTHER_FONT = "Journey Hei"
VERSION = "1.5"


def make_site(window, font_tool):
    fonts = os.path.join(window.work, "fonts")
    os.makedirs(fonts)
    for family, file in ((OTHER_FONT, "hei.ttf"), (FONT, "kai.ttf")):
        subprocess.run([font_tool, os.path.join(fonts, file), family], check=True)
    manifest = os.path.join(fonts, "site.manifest")
    with open(manifest, "w") as f:
        f.write(f"version\t{VERSION}\ncategory\t中文字体\n"
                f"subcategory\t黑体\nfont\t{OTHER_FONT}\tjourney/hei\thei.ttf\n"
                f"subcategory\t楷体\nfont\t{FONT}\tjourney/kai\tkai.ttf\n")
    return window.build_site(manifest)


def journey(w, font_tool):
    w.world()
    w.serve_site(make_site(w, font_tool))
    w.start_program()

    # First start: there is no catalogue yet, so the server's version is news.
    w.answer("服务器上有新的字库版本,是否更新字库?", "是")
    w.answer("数据库安装成功,已自动刷新!", "确定")
    line = wait_for("the version line", lambda: "已是最新版本" in w.status_line() and
                    w.status_line(), 30)
    expected = f"字库版本号:{VERSION}(已是最新版本!)"
    if expected not in line or "连接服务器成功!" not in line:
        raise Failure(f"status line {line!r}, expected {expected!r} and a connection")
    w.screenshot("1-started")

    # The catalogue page: a category, the second sub-category, the row's download button.
    w.show_page("字体下载")
    w.click(wait_for("the category tab", lambda: w.named("page tab", "  中文字体  ")))
    w.open_subcategory(2)
    wait_for(f'"{FONT} 下载" in the rows', lambda: f"{FONT} 下载" in w.catalogue_rows(), 15)
    w.press_download(1)
    wait_for(f'"{FONT} 已安装"', lambda: f"{FONT} 已安装" in w.catalogue_rows(), 60)
    w.screenshot("2-installed")
    if FONT not in w.fc_families():
        raise Failure(f"{FONT} is marked installed but fc-list does not list it")
    if not w.folder("字体下载目录"):
        raise Failure("nothing in the download folder")

    # The system-font page lists it (newest first); its menu deletes it into the bin.
    w.show_page("系统字体")
    w.press_button("按时间排序")
    w.delete_from_system_list(FONT)
    wait_for(f"{FONT} gone from fc-list", lambda: FONT not in w.fc_families(), 20)
    binned = wait_for("the file in the recycle bin", lambda: w.folder("字体回收站"), 10)
    wait_for(f"{FONT} gone from the system list", lambda: w.named("table cell", FONT) is None, 15)

    # The recycle-bin page lists it; "还原" installs it again and empties the bin.
    w.show_page("回收站")
    wait_for("the bin's row", lambda: w.named("table cell", binned[0]), 15)
    w.press_button("还原")
    wait_for(f"{FONT} back in fc-list", lambda: FONT in w.fc_families(), 30)
    wait_for("an empty bin", lambda: not w.folder("字体回收站"), 10)
    w.screenshot("3-restored")

    # The backup page: "一键备份" copies every installed font, this one among them.
    w.show_page("字体备份")
    w.press_button("一键备份")
    wait_for("the font in the backup", lambda: binned[0] in w.folder("字体备份"), 60)
    # Every installed font is listed and counted; this one's row may be out of view.
    wait_for("the backup's count",
             lambda: w.named("label", f"已备份字体数:{len(w.folder('字体备份'))}"), 30)
    wait_for("the backup's row", lambda: w.find(
        lambda n: w.role(n) == "table cell" and n.name == binned[0]), 10)
    w.screenshot("4-backed-up")

    # "卸载" of the ticked fonts asks first, naming them; Enter answers with the default, 否.
    w.show_page("系统字体")
    w.press_button("卸载")
    wait_for("the question naming what it acts on",
             lambda: w.dialog_with("是否执行批量卸载?"), 15)
    w.screenshot("5-asked", whole_screen=True)
    w.key("Return")
    wait_for("the question to close", lambda: w.dialog_with("是否执行批量卸载?") is None, 10)
    if FONT not in w.fc_families():
        raise Failure("Enter on the uninstall question removed a font")

    # "我的字体" "卸载" moves the downloaded file into the bin; "还原" there brings the font back.
    downloaded = w.folder("字体下载目录")
    w.show_page("我的字体")
    w.press_button("卸载")
    wait_for(f"{FONT} uninstalled", lambda: FONT not in w.fc_families(), 20)
    wait_for("the download in the bin", lambda: w.folder("字体回收站") == downloaded, 10)
    w.show_page("回收站")
    wait_for("the bin's row", lambda: w.named("table cell", downloaded[0]), 15)
    w.press_button("还原")
    wait_for(f"{FONT} back in fc-list", lambda: FONT in w.fc_families(), 30)
    w.screenshot("6-uninstalled-and-back")
    if w.program.poll() is not None:
        raise Failure(f"the program ended with {w.program.returncode}")
    print(f"journey complete: {FONT} downloaded, installed, deleted into the bin, restored, "
          f"backed up, uninstalled from my fonts and restored; status line {line!r}")


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    font_tool = os.path.abspath(sys.argv[2])
    return run_in_window(sys.argv[1], lambda w: journey(w, font_tool),
                         sys.argv[3] if len(sys.argv) > 3 else None)


if __name__ == "__main__":
    sys.exit(main())
