// The hotkey page: a box per hotkey, six that capture a combination and three that only show
// their fixed key.
#include "ui/catalogue/pages/PageLayout.h"

namespace qinglan::ui::pages {

const PageOptions& hotkeyOptions() {
    static const PageOptions page = [] {
        PageOptions p{.page = settings::Page::Hotkey};
        GroupStack s;
        auto& L = p.layout;
        auto& R = p.rows;
        L.push_back(s.group("分组框1", " 快捷键 ", 9));
        struct Key {
            std::string_view caption;
            std::string_view fixedName; // empty: the user sets it
            std::vector<int> fields;    // name, modifier 1, modifier 2, key code
        };
        const Key keys[] = {
            {"播放/暂停", "空格", {}},
            {"快进", "→", {}},
            {"快退", "←", {}},
            {"截图", {}, {192, 193, 194, 195}},
            {"增音量", {}, {187, 60, 61, 62}},
            {"减音量", {}, {188, 63, 176, 177}},
            {"上一集", {}, {189, 178, 179, 180}},
            {"下一集", {}, {190, 181, 182, 183}},
            {"退出全屏", {}, {191, 184, 185, 186}},
        };
        static const std::vector<std::string> labels = [] {
            std::vector<std::string> v;
            for (int i = 1; i <= 9; ++i)
                v.push_back("标签" + std::to_string(i));
            return v;
        }();
        static const std::vector<std::string> boxes = [] {
            std::vector<std::string> v;
            for (int i = 1; i <= 9; ++i)
                v.push_back("编辑框" + std::to_string(i));
            return v;
        }();
        for (int i = 0; i < 9; ++i) {
            const Key& k = keys[i];
            L.push_back(at(labels[i], k.caption, "分组框1", 16, i, 80));
            ControlDesign box = at(boxes[i], k.fixedName, "分组框1", 112, i, 200);
            if (!k.fixedName.empty()) {
                box.readOnly = true;
                R.push_back({.binding = Binding::FixedKey, .controls = {box}});
            } else {
                R.push_back({.binding = Binding::HotkeyBox, .controls = {box}, .fields = k.fields});
            }
        }
        return p;
    }();
    return page;
}

} // namespace qinglan::ui::pages
