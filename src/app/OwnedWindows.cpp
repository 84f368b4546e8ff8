#include "app/OwnedWindows.h"

#include <ui/WindowFactory.h>

namespace qinglan::app {

// Centred over the owner, also when that is the smaller one (offsets below 0); the division
// truncates toward zero.
void OwnedWindows::centreOverOwner(QWidget* window) const {
    if (!owner_) return;
    const QRect m = owner_->frameGeometry(), d = window->frameGeometry();
    window->move(m.left() + (m.width() - d.width()) / 2, m.top() + (m.height() - d.height()) / 2);
}

ui::CatalogueWindow* OwnedWindows::open(ui::WindowId id) {
    const std::string role(id.name);
    if (auto it = open_.find(role); it != open_.end() && it->second) {
        it->second->show();
        it->second->raise();
        it->second->activateWindow();
        return it->second;
    }
    auto* window = ui::createWindow(role, handlers_, owner_).window;
    if (!window) return nullptr;
    open_[role] = window;
    // Placed before it shows, so it never flashes elsewhere, and again once shown, when the
    // platform may know the frame around it.
    centreOverOwner(window);
    window->show();
    centreOverOwner(window);
    window->raise();
    return window;
}

ui::CatalogueWindow* OwnedWindows::reopen(ui::WindowId id) {
    if (auto it = open_.find(std::string(id.name)); it != open_.end() && it->second) {
        // Closing destroys it later; it must not be found or raised meanwhile.
        auto* old = it->second.data();
        open_.erase(it);
        old->close();
    }
    return open(id);
}

ui::CatalogueWindow* OwnedWindows::find(QStringView role) const {
    for (const auto& [name, window] : open_)
        if (window && QString::fromStdString(name) == role) return window;
    return nullptr;
}

} // namespace qinglan::app
