#include "app/OwnedWindows.h"

#include <ui/WindowFactory.h>

namespace qinglan::app {

ui::CatalogueWindow* OwnedWindows::open(const std::string& role) {
    if (auto it = open_.find(role); it != open_.end() && it->second) {
        it->second->show();
        it->second->raise();
        it->second->activateWindow();
        return it->second;
    }
    auto* window = ui::createWindow(role, handlers_, owner_).window;
    if (!window) return nullptr;
    open_[role] = window;
    if (owner_) {
        const QRect m = owner_->frameGeometry();
        window->move(m.center() - QPoint(window->width() / 2, window->height() / 2));
    }
    window->show();
    window->raise();
    return window;
}

ui::CatalogueWindow* OwnedWindows::reopen(const std::string& role) {
    if (auto it = open_.find(role); it != open_.end() && it->second) {
        // Closing destroys it later; it must not be found or raised meanwhile.
        auto* old = it->second.data();
        open_.erase(it);
        old->close();
    }
    return open(role);
}

ui::CatalogueWindow* OwnedWindows::find(QStringView role) const {
    for (const auto& [name, window] : open_)
        if (window && QString::fromStdString(name) == role) return window;
    return nullptr;
}

} // namespace qinglan::app
