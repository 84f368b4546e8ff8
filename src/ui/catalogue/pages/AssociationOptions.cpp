// The association page: eighteen check boxes in three columns and six rows, in the order the
// file types are processed at start. The box size and the group's extent are not part of the
// design; they are chosen to hold the grid.
#include "ui/catalogue/pages/PageLayout.h"

namespace qinglan::ui::pages {

const PageOptions& associationOptions() {
    static const PageOptions page = [] {
        PageOptions p{.page = settings::Page::Association};
        static constexpr std::string_view captions[] = {
            " .avi",  " .wmv", " .mpeg", " .mp4", " .mov", " .mkv", " .flv", " .f4v", " .m4v",
            " .rmvb", " .rm",  " .3gp",  " .dat", " .ape", " .mts", " .mp3", " .vob", " .flac",
        };
        static constexpr std::string_view names[] = {
            "选择框1",  "选择框2",  "选择框3",  "选择框4",  "选择框5",  "选择框6",
            "选择框7",  "选择框8",  "选择框9",  "选择框10", "选择框11", "选择框12",
            "选择框13", "选择框14", "选择框15", "选择框16", "选择框17", "选择框18",
        };
        // .avi to .flv are fields 197 to 203, .f4v to .flac fields 87 to 97.
        static constexpr int fields[] = {197, 198, 199, 200, 201, 202, 203, 87, 88,
                                         89,  90,  91,  92,  93,  94,  95,  96, 97};
        p.layout.push_back({.name = "分组框1",
                            .geometry = {24, 24, 352, 272},
                            .caption = " 文件关联 ",
                            .parent = kShapeName});
        static constexpr int lefts[] = {24, 128, 232};
        static constexpr int tops[] = {32, 72, 112, 152, 192, 232};
        for (int i = 0; i < 18; ++i)
            p.rows.push_back({.binding = Binding::SingleCheck,
                              .controls = {{.name = names[i],
                                            .geometry = {lefts[i % 3], tops[i / 3], 88, 24},
                                            .caption = captions[i],
                                            .parent = "分组框1"}},
                              .fields = {fields[i]}});
        return p;
    }();
    return page;
}

} // namespace qinglan::ui::pages
