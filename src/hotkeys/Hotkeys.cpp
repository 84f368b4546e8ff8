#include "hotkeys/Hotkeys.h"

#include <stdexcept>

namespace qinglan::hotkeys {

namespace {

using A = HotkeyAction;

constexpr HotkeyRow kRows[] = {
    {A::VolumeUp, "增音量", 4, 187, 60, 61, 62, 0, nullptr},
    {A::VolumeDown, "减音量", 5, 188, 63, 176, 177, 0, nullptr},
    {A::LeaveFullScreen, "退出全屏", 8, 191, 184, 185, 186, 0, nullptr},
    {A::PlayPause, "播放/暂停", 0, 0, 0, 0, 0, 32, "空格"},
    {A::Previous, "上一集", 6, 189, 178, 179, 180, 0, nullptr},
    {A::Next, "下一集", 7, 190, 181, 182, 183, 0, nullptr},
    {A::Screenshot, "截图", 3, 192, 193, 194, 195, 0, nullptr},
    {A::SeekBack, "快退", 2, 0, 0, 0, 0, 37, "←"},
    {A::SeekForward, "快进", 1, 0, 0, 0, 0, 39, "→"},
};

} // namespace

std::span<const HotkeyRow> hotkeyRows() {
    return kRows;
}

const HotkeyRow& hotkeyRow(HotkeyAction action) {
    for (const auto& r : kRows)
        if (r.action == action) return r;
    throw std::logic_error("hotkey action without a row");
}

} // namespace qinglan::hotkeys
