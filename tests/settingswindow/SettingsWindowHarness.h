#pragma once
// The settings window built from the catalogue and wired to its real handlers, over a real
// settings file in a temporary folder; the engine sends are recorded.
#include <settings/SettingsStore.h>
#include <settingswindow/SettingsWindow.h>
#include <ui/CatalogueWindow.h>
#include <ui/Find.h>
#include <ui/WindowFactory.h>

#include "support/TempDataDir.h"

#include <QPointer>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace qinglan::settingswindow::test {

class SettingsWindowTest : public ::testing::Test {
protected:
    SettingsWindowTest();
    ~SettingsWindowTest() override;

    // Opens the settings window (its creation fills the lyrics page).
    ui::CatalogueWindow* openWindow();
    // Presses the page's tab and returns what is shown: the embedded page, or the window itself
    // for the lyrics page.
    ui::CatalogueWindow* showPage(std::string_view role);

    std::string field(int f);
    void setField(int f, const std::string& value);
    template <class T> T* control(ui::CatalogueWindow* w, std::string_view name) {
        return ui::find<T>(w, ui::toQString(name));
    }
    // The last send of `id`, or "<none>".
    std::string lastSent(int id) const;
    int sendCount(int id) const;

    ::qinglan::test::TempDataDir data_;
    settings::SettingsStore store_;
    ui::HandlerTable handlers_;
    std::vector<std::pair<int, std::string>> sent_;
    int listOpacity_ = -1;
    QString fileAnswer_, folderAnswer_;
    int dialogsShown_ = 0;
    QPointer<ui::CatalogueWindow> window_;
};

} // namespace qinglan::settingswindow::test
