// The hotkey page: a label and a box per hotkey, in the hotkey table's page order
// (hotkeys/Hotkeys.h); six boxes capture a combination into their hotkey's four fields, three
// only show their fixed key.
#include "ui/catalogue/pages/PageLayout.h"

#include <hotkeys/Hotkeys.h>

#include <string>

namespace qinglan::ui::pages {

const PageOptions& hotkeyOptions() {
    static const PageOptions page = [] {
        PageOptions p{.page = settings::Page::Hotkey};
        GroupStack s;
        const auto keys = hotkeys::hotkeyRows();
        const int count = static_cast<int>(keys.size());
        p.layout.push_back(s.group("分组框1", " 快捷键 ", count));
        // Control names are numbered from the top; the catalogue's texts live for the whole run.
        static const std::vector<std::string> labels = [count] {
            std::vector<std::string> v;
            for (int i = 1; i <= count; ++i)
                v.push_back("标签" + std::to_string(i));
            return v;
        }();
        static const std::vector<std::string> boxes = [count] {
            std::vector<std::string> v;
            for (int i = 1; i <= count; ++i)
                v.push_back("编辑框" + std::to_string(i));
            return v;
        }();
        std::vector<const hotkeys::HotkeyRow*> byLine(keys.size());
        for (const auto& k : keys)
            byLine.at(static_cast<std::size_t>(k.pageRow)) = &k;
        for (int line = 0; line < count; ++line) {
            const hotkeys::HotkeyRow& k = *byLine[static_cast<std::size_t>(line)];
            const auto i = static_cast<std::size_t>(line);
            p.layout.push_back(at(labels[i], k.label, "分组框1", 16, line, 80));
            if (!k.configurable()) {
                ControlDesign box = at(boxes[i], k.fixedName, "分组框1", 112, line, 200);
                box.readOnly = true;
                p.rows.push_back({.binding = Binding::FixedKey, .controls = {box}});
            } else {
                p.rows.push_back(
                    {.binding = Binding::HotkeyBox,
                     .controls = {at(boxes[i], {}, "分组框1", 112, line, 200)},
                     .fields = {k.nameField, k.modifier1Field, k.modifier2Field, k.keyField}});
            }
        }
        return p;
    }();
    return page;
}

} // namespace qinglan::ui::pages
