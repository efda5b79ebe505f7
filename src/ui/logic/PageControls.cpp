#include "ui/logic/PageControls.h"

#include <array>
#include <cstring>

namespace glyphwell::ui {
namespace {

using K = ControlKind;

// Line breaks above "没得删了!" push it to the middle of its label.
#define TEN_LINE_BREAKS "\n\n\n\n\n\n\n\n\n\n"

const std::array kControls = std::to_array<ControlInfo>({
    // System fonts.
    {"图形按钮3", K::kGraphicButton, 0, nullptr, {64, 0, 80, 24}, true, "按时间排序"},
    {"图形按钮4", K::kGraphicButton, 0, nullptr, {168, 0, 80, 24}, true, "按语言排序"},
    {"图形按钮5", K::kGraphicButton, 0, nullptr, {272, 0, 80, 24}, true, "按首拼排序"},
    {"图形按钮25", K::kGraphicButton, 0, nullptr, {392, 0, 70, 24}, true, "刷新"},
    {"图形按钮17", K::kGraphicButton, 0, nullptr, {504, 0, 70, 24}, true, "卸载"},
    {"标签2", K::kLabel, 0, nullptr, {584, 0, 136, 24}, true, ""},
    {"选择框4", K::kCheckBox, 0, nullptr, {696, 0, 48, 24}, true, "全选"},
    {"系统字体表格2", K::kGrid, 0, nullptr, {0, 24, 848, 287}, false, ""},
    {"系统字体表格", K::kGrid, 0, nullptr, {0, 25, 663, 367}, true, ""},
    {"标签18", K::kLabel, 0, nullptr, {288, 208, 184, 64}, false, ""},
    {"标签20", K::kLabel, 0, nullptr, {288, 208, 184, 64}, false, "查询无结果!"},
    {"标签10", K::kLabel, 0, nullptr, {40, 392, 200, 26}, true, ""},
    {"标签12", K::kLabel, 0, nullptr, {408, 392, 200, 26}, true, ""},
    {"标签13", K::kLabel, 0, nullptr, {344, 393, 64, 24}, true, "自定义预览:"},
    {"选择框5", K::kCheckBox, 0, nullptr, {240, 394, 80, 24}, true, "区分大小写"},
    {"编辑框1", K::kEditBox, 0, nullptr, {46, 396, 170, 18}, true, "模糊查询字体"},
    {"图形按钮23", K::kGraphicButton, 0, nullptr, {221, 396, 16, 18}, true, ""},
    {"编辑框2", K::kEditBox, 0, nullptr, {414, 396, 188, 18}, true, "软件这么好妈妈知道吗？"},
    {"分组框6",
     K::kGroupBox,
     0,
     nullptr,
     {0, 424, 848, 88},
     true,
     "你随手的一次点击就是我们无上的动力"},
    {"超文本浏览框1", K::kBrowserBox, -1, "分组框6", {0, 16, 736, 80}, true, ""},
    // Font download.
    {"高级选择夹2", K::kTabStrip, 1, nullptr, {0, 1, 720, 26}, true, ""},
    {"分类画板", K::kCanvas, 1, nullptr, {0, 25, 736, 80}, true, ""},
    {"超文本浏览框5", K::kBrowserBox, 1, nullptr, {1, 29, 734, 480}, true, ""},
    {"标签14", K::kLabel, 1, nullptr, {0, 110, 352, 40}, true, ""},
    {"标签15", K::kLabel, 1, nullptr, {360, 112, 200, 26}, true, ""},
    {"图形按钮9", K::kGraphicButton, 1, nullptr, {568, 112, 49, 25}, true, "搜 索"},
    {"标签17", K::kLabel, 1, nullptr, {632, 112, 32, 24}, true, "字号:"},
    {"标签16", K::kLabel, 1, nullptr, {664, 112, 35, 26}, true, ""},
    {"编辑框4", K::kEditBox, 1, nullptr, {366, 116, 189, 18}, true, "请输入要预览文字或搜索的字体"},
    {"编辑框5", K::kEditBox, 1, nullptr, {667, 116, 30, 18}, true, "30"},
    {"前台画板", K::kCanvas, 1, nullptr, {0, 158, 736, 301}, true, ""},
    {"后台画板", K::kCanvas, -1, "前台画板", {184, 0, 744, 300}, false, ""},
    {"图形按钮28", K::kGraphicButton, 1, nullptr, {552, 170, 63, 23}, false, "预览"},
    {"图形按钮18", K::kGraphicButton, 1, nullptr, {552, 220, 63, 23}, false, "预览"},
    {"图形按钮19", K::kGraphicButton, 1, nullptr, {552, 270, 63, 23}, false, "预览"},
    {"图形按钮20", K::kGraphicButton, 1, nullptr, {552, 320, 63, 23}, false, "预览"},
    {"图形按钮21", K::kGraphicButton, 1, nullptr, {552, 370, 63, 23}, false, "预览"},
    {"图形按钮22", K::kGraphicButton, 1, nullptr, {552, 420, 63, 23}, false, "预览"},
    {"图形按钮2", K::kGraphicButton, 1, nullptr, {136, 464, 70, 24}, true, "首页"},
    {"图形按钮6", K::kGraphicButton, 1, nullptr, {240, 464, 70, 24}, true, "上一页"},
    {"图形按钮7", K::kGraphicButton, 1, nullptr, {336, 464, 70, 24}, true, "下一页"},
    {"图形按钮8", K::kGraphicButton, 1, nullptr, {440, 464, 70, 24}, true, "末页"},
    {"标签1", K::kLabel, 1, nullptr, {544, 464, 104, 24}, true, ""},
    // My fonts.
    {"标签3", K::kLabel, 2, nullptr, {248, 0, 136, 24}, true, ""},
    {"图形按钮27", K::kGraphicButton, 2, nullptr, {392, 0, 70, 24}, true, "重装"},
    {"图形按钮14", K::kGraphicButton, 2, nullptr, {528, 0, 70, 24}, true, "卸载"},
    {"选择框2", K::kCheckBox, 2, nullptr, {682, 0, 48, 24}, true, "全选"},
    {"我的字体表格", K::kGrid, 2, nullptr, {0, 25, 720, 455}, false, ""},
    {"标签6",
     K::kLabel,
     2,
     nullptr,
     {208, 208, 336, 64},
     true,
     "你还没下载过呢,或本地清单还未刷新请稍后在试!"},
    // Recycle bin.
    {"标签4", K::kLabel, 3, nullptr, {208, 0, 136, 24}, true, ""},
    {"图形按钮15", K::kGraphicButton, 3, nullptr, {392, 0, 70, 24}, true, "清空"},
    {"图形按钮16", K::kGraphicButton, 3, nullptr, {536, 0, 70, 24}, true, "还原"},
    {"选择框1", K::kCheckBox, 3, nullptr, {682, 0, 48, 24}, true, "全选"},
    {"回收站表格", K::kGrid, 3, nullptr, {0, 25, 663, 455}, false, ""},
    {"标签5", K::kLabel, 3, nullptr, {288, 208, 184, 64}, true, TEN_LINE_BREAKS "没得删了!"},
    {"标签9", K::kLabel, 3, nullptr, {288, 208, 184, 64}, false, ""},
    // Backup.
    {"图形按钮1", K::kGraphicButton, 4, nullptr, {232, 0, 70, 24}, true, "一键备份"},
    {"图形按钮10", K::kGraphicButton, 4, nullptr, {392, 0, 70, 24}, true, "一键还原"},
    {"标签19", K::kLabel, 4, nullptr, {504, 0, 136, 24}, true, ""},
    {"选择框3", K::kCheckBox, 4, nullptr, {682, 0, 48, 24}, true, "全选"},
    {"备份表格", K::kGrid, 4, nullptr, {0, 25, 663, 455}, true, ""},
    {"标签7", K::kLabel, 4, nullptr, {288, 208, 184, 64}, true, "你还未备份过!赶紧备份吧!"},
    {"标签8", K::kLabel, 4, nullptr, {288, 208, 184, 64}, false, "备份进行中."},
    // Design resources, design shop, works gallery.
    {"图形按钮29", K::kGraphicButton, 5, nullptr, {40, 16, 150, 56}, true, "常用设计软件"},
    {"图形按钮30", K::kGraphicButton, 5, nullptr, {208, 16, 150, 56}, true, "字体下载网站"},
    {"图形按钮31", K::kGraphicButton, 5, nullptr, {376, 16, 150, 56}, true, "网盘素材资源"},
    {"图形按钮32", K::kGraphicButton, 5, nullptr, {544, 16, 150, 56}, true, "设计网址导航"},
    {"超文本浏览框3", K::kBrowserBox, 5, nullptr, {0, 88, 752, 424}, true, ""},
    {"超文本浏览框2", K::kBrowserBox, 6, nullptr, {0, 0, 752, 504}, true, ""},
    {"超文本浏览框4", K::kBrowserBox, 7, nullptr, {-40, -180, 800, 700}, true, ""},
});

#undef TEN_LINE_BREAKS

}  // namespace

const char* const kPageNames[kPageBarItemCount] = {"系统字体", "远程下载", "我的字体", "回收站",
                                                   "备份",     "设计资源", "设计商城", "作品欣赏"};

std::span<const ControlInfo> PageControls() {
    return kControls;
}

const ControlInfo* FindPageControl(const char* name) {
    for (const ControlInfo& control : kControls) {
        if (std::strcmp(control.name, name) == 0) {
            return &control;
        }
    }
    return nullptr;
}

}  // namespace glyphwell::ui
