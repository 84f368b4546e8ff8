#pragma once
// What the settings window's handlers share: the services, the handler table pages are wired
// to, and how a handler finds the window its event belongs to.
#include "settingswindow/SettingsWindow.h"

#include <settings/SettingsFields.h>
#include <settings/SettingsPages.h>
#include <ui/CatalogueIds.h>
#include <ui/CatalogueWindow.h>
#include <ui/SettingsOptions.h>

#include <memory>

namespace qinglan::settingswindow {

struct Context {
    Services services;
    const ui::HandlerTable* handlers = nullptr;

    settings::SettingsStore* store() const { return services.store ? services.store() : nullptr; }
    void send(int id, const std::string& value) const {
        if (services.send) services.send(id, value);
    }
    // A field's text, "" when there is no store or the read fails.
    std::string read(int field) const;
    void write(int field, const settings::SettingsValue& value) const;
};
using SharedContext = std::shared_ptr<const Context>;

// The settings window a page (or the window itself) belongs to; nullptr when the page is not
// embedded.
ui::CatalogueWindow* settingsWindowOf(ui::CatalogueWindow* pageOrWindow);
// The settings page a window shows (the lyrics page for the settings window itself), or nullptr
// for any other window.
const settings::PageInfo* pageOf(const ui::CatalogueWindow* window);
// Gives the page's scroll bar the focus, enables it, and resets the settings window's title
// (except where the page keeps it).
void refocusPage(ui::CatalogueWindow* page);
// The settings window's title (or nothing when the page stands alone, as in tests).
void setSettingsTitle(ui::CatalogueWindow* page, const QString& title);

// The option bindings (OptionBinding.cpp).
void fillPage(const Context& context, ui::CatalogueWindow* page);
void addOptionHandlers(ui::HandlerTable& handlers, const SharedContext& context);
// The rule a hotkey box runs when it loses the focus, for every box of a page that is about to
// go: a box destroyed with the focus never loses it, and would leave a lone modifier stored.
void releaseHotkeyBoxes(ui::CatalogueWindow* page);

} // namespace qinglan::settingswindow
