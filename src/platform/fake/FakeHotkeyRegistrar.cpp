#include "platform/fake/FakeHotkeyRegistrar.h"

#include <keynames/KeyNames.h>

#include <QMetaObject>

namespace qinglan::platform {

namespace {
constexpr int kModifierMask = kHotkeyCtrl | kHotkeyShift | kHotkeyAlt;
}

std::optional<int> FakeHotkeyRegistrar::idOf(int modifiers, int virtualKey) const {
    for (const auto& r : registered_)
        if (r.modifiers == modifiers && r.virtualKey == virtualKey) return r.id;
    return std::nullopt;
}

bool FakeHotkeyRegistrar::registerHotkey(int id, int modifiers, int virtualKey) {
    attempts_.push_back({id, modifiers, virtualKey});
    modifiers &= kModifierMask;
    const keynames::KeyInfo* key = keynames::findByVirtualKey(virtualKey);
    if (!key || key->modifier || idOf(modifiers, virtualKey) ||
        heldElsewhere_.count({modifiers, virtualKey}))
        return false;
    registered_.push_back({id, modifiers, virtualKey});
    return true;
}

void FakeHotkeyRegistrar::unregisterAll() {
    ++unregisterCalls_;
    registered_.clear();
}

void FakeHotkeyRegistrar::setPressCallback(std::function<void(int id)> pressed) {
    pressed_ = std::move(pressed);
}

void FakeHotkeyRegistrar::holdElsewhere(int modifiers, int virtualKey) {
    heldElsewhere_.insert({modifiers & kModifierMask, virtualKey});
}

bool FakeHotkeyRegistrar::press(int modifiers, int virtualKey) {
    const auto id = idOf(modifiers & kModifierMask, virtualKey);
    if (!id) return false;
    QMetaObject::invokeMethod(
        &queue_,
        [this, id = *id] {
            if (pressed_) pressed_(id);
        },
        Qt::QueuedConnection);
    return true;
}

} // namespace qinglan::platform
