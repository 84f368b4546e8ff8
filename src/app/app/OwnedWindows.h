#pragma once
#include <ui/CatalogueIds.h>
#include <ui/CatalogueWindow.h>
#include <ui/UiEvent.h>

#include <QPointer>
#include <QStringView>

#include <map>
#include <string>

namespace qinglan::app {

// The windows the main window opens from its menus (settings, volume, skip, transcode, about,
// the prompt, ...). Any number may be open together, each role at most once; each is owned by
// the main window, not modal, and destroyed when it closes.
class OwnedWindows {
public:
    explicit OwnedWindows(const ui::HandlerTable& handlers) : handlers_(handlers) {}

    void setOwner(QWidget* owner) { owner_ = owner; }

    // Shows the window of the role centred on the owner; one already open is raised as it is.
    ui::CatalogueWindow* open(ui::WindowId role);
    // Like open(), but a window of the role that is open is closed first, so the new one starts
    // from its designed state (the shared prompt changes its texts per use).
    ui::CatalogueWindow* reopen(ui::WindowId role);
    ui::CatalogueWindow* find(QStringView role) const;

private:
    void centreOverOwner(QWidget* window) const;

    const ui::HandlerTable& handlers_;
    QWidget* owner_ = nullptr;
    std::map<std::string, QPointer<ui::CatalogueWindow>> open_;
};

} // namespace qinglan::app
