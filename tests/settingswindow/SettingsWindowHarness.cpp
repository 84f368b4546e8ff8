#include "SettingsWindowHarness.h"

#include <settings/SettingsPages.h>
#include <ui/Catalogue.h>
#include <ui/Controls.h>

namespace qinglan::settingswindow::test {

SettingsWindowTest::SettingsWindowTest() : store_(data_.path()) {
    EXPECT_TRUE(store_.open().ok());
    Services s;
    s.store = [this] { return &store_; };
    s.send = [this](int id, const std::string& v) { sent_.emplace_back(id, v); };
    s.setListOpacity = [this](int o) { listOpacity_ = o; };
    s.chooseFile = [this](QWidget*, const ui::FileDialogBox&) {
        ++dialogsShown_;
        return fileAnswer_;
    };
    s.chooseFolder = [this](QWidget*, const QString&) {
        ++dialogsShown_;
        return folderAnswer_;
    };
    s.specialFolder = data_.path() / "shots";
    wireSettingsWindow(handlers_, std::move(s));
    handlers_.add("reloadSettingsRecord", [](ui::UiEvent&) {});
}

SettingsWindowTest::~SettingsWindowTest() {
    delete window_.data();
}

ui::CatalogueWindow* SettingsWindowTest::openWindow() {
    window_ = ui::createWindow("SettingsWindow", handlers_).window;
    window_->show();
    return window_;
}

ui::CatalogueWindow* SettingsWindowTest::showPage(std::string_view role) {
    if (!window_) openWindow();
    const settings::PageInfo* page = settings::findPageByRole(role);
    if (!page) return nullptr;
    emit control<ui::ClickableLabel>(window_, page->tabLabel)->leftPressed();
    return page->page == settings::Page::Lyrics ? window_.data() : embeddedPage(window_);
}

std::string SettingsWindowTest::field(int f) {
    auto v = store_.read(f);
    return v.ok() ? v.value().toText() : "<unreadable>";
}

void SettingsWindowTest::setField(int f, const std::string& value) {
    ASSERT_TRUE(store_.write(f, value).ok());
}

std::string SettingsWindowTest::lastSent(int id) const {
    for (auto it = sent_.rbegin(); it != sent_.rend(); ++it)
        if (it->first == id) return it->second;
    return "<none>";
}

int SettingsWindowTest::sendCount(int id) const {
    int n = 0;
    for (const auto& s : sent_)
        n += s.first == id;
    return n;
}

} // namespace qinglan::settingswindow::test
