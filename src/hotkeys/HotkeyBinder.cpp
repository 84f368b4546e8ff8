#include "hotkeys/HotkeyBinder.h"

#include <platform/HotkeyRegistrar.h>

namespace qinglan::hotkeys {

namespace {
// Ids of the nine, in registration order.
constexpr int kFirstId = 1;
} // namespace

HotkeyBinder::HotkeyBinder(platform::HotkeyRegistrar& registrar) : registrar_(registrar) {
    for (std::size_t i = 0; i < ids_.size(); ++i)
        ids_[i] = kFirstId + static_cast<int>(i);
}

int HotkeyBinder::activate(const std::function<int(int field)>& storedInteger) {
    if (active_) registrar_.unregisterAll();
    active_ = true;
    int granted = 0;
    const auto rows = hotkeyRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const HotkeyRow& row = rows[i];
        int modifiers = 0, key = row.fixedKey;
        if (row.configurable()) {
            // The two stored modifiers are combined as a set: a file that holds the same
            // modifier twice means that modifier, not the next one up.
            const int allowed =
                platform::kHotkeyCtrl | platform::kHotkeyShift | platform::kHotkeyAlt;
            modifiers =
                (storedInteger(row.modifier1Field) | storedInteger(row.modifier2Field)) & allowed;
            key = storedInteger(row.keyField);
        }
        if (registrar_.registerHotkey(ids_[i], modifiers, key)) ++granted;
    }
    return granted;
}

void HotkeyBinder::deactivate() {
    if (!active_) return;
    active_ = false;
    registrar_.unregisterAll();
}

std::optional<HotkeyAction> HotkeyBinder::actionOf(int id) const {
    const auto rows = hotkeyRows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (ids_[i] == id) return rows[i].action;
    return std::nullopt;
}

int HotkeyBinder::idOf(HotkeyAction action) const {
    const auto rows = hotkeyRows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].action == action) return ids_[i];
    return 0;
}

} // namespace qinglan::hotkeys
