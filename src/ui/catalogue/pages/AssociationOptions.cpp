// The association page: one check box per file type, three to a row, in the order of the
// file-type table, which also gives each box its caption and field. The box size and the
// group's extent are not part of the design; they are chosen to hold the grid.
#include "ui/catalogue/pages/PageLayout.h"

#include <platform/FileTypes.h>

#include <deque>
#include <string>

namespace qinglan::ui::pages {

const PageOptions& associationOptions() {
    static const PageOptions page = [] {
        PageOptions p{.page = settings::Page::Association};
        // The captions and names live for the whole run, as the catalogue's other texts do.
        static std::deque<std::string> texts;
        p.layout.push_back({.name = "分组框1",
                            .geometry = {24, 24, 352, 272},
                            .caption = " 文件关联 ",
                            .parent = kShapeName});
        static constexpr int lefts[] = {24, 128, 232};
        int i = 0;
        for (const auto& type : platform::fileTypes()) {
            const std::string_view name = texts.emplace_back("选择框" + std::to_string(i + 1));
            const std::string_view caption = texts.emplace_back(" ." + std::string(type.extension));
            p.rows.push_back({.binding = Binding::SingleCheck,
                              .controls = {{.name = name,
                                            .geometry = {lefts[i % 3], 32 + 40 * (i / 3), 88, 24},
                                            .caption = caption,
                                            .parent = "分组框1"}},
                              .fields = {type.field}});
            ++i;
        }
        return p;
    }();
    return page;
}

} // namespace qinglan::ui::pages
