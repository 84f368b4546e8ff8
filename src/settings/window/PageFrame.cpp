// The settings window's frame: tabs, the page embedded beside them, scrolling and refocusing.
#include "WindowContext.h"

#include <ui/Controls.h>
#include <ui/Find.h>
#include <ui/WindowFactory.h>

#include <settings/SettingsActions.h>

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace qinglan::settingswindow {

using ui::CatalogueWindow;
using ui::UiEvent;

std::string Context::read(int field) const {
    auto* s = store();
    if (!s) return {};
    auto value = s->read(field);
    return value.ok() ? value.value().toText() : std::string();
}

void Context::write(int field, const settings::SettingsValue& value) const {
    if (auto* s = store()) (void)s->write(field, value); // a failed write is the store's to report
}

CatalogueWindow* settingsWindowOf(CatalogueWindow* w) {
    for (QWidget* p = w; p; p = p->parentWidget())
        if (auto* c = qobject_cast<CatalogueWindow*>(p);
            c && c->role() == ui::toQString(kSettingsRole))
            return c;
    return nullptr;
}

std::optional<settings::Page> pageOfRole(QStringView role) {
    using settings::Page;
    static const std::pair<const char16_t*, Page> pages[] = {
        {u"SettingsWindow", Page::Lyrics},       {u"SubtitlePage", Page::Subtitle},
        {u"PicturePage", Page::Picture},         {u"SoundPage", Page::Sound},
        {u"GeneralPage", Page::General},         {u"ScreenshotPage", Page::Screenshot},
        {u"HotkeyPage", Page::Hotkey},           {u"TranscodePage", Page::Transcode},
        {u"AssociationPage", Page::Association}, {u"VrPage", Page::VirtualReality},
    };
    for (const auto& [name, page] : pages)
        if (role == QStringView(name)) return page;
    return std::nullopt;
}

void setSettingsTitle(CatalogueWindow* page, const QString& title) {
    if (auto* w = settingsWindowOf(page)) w->setWindowTitle(title);
}

void refocusPage(CatalogueWindow* page) {
    if (auto* bar = ui::find<QScrollBar>(page, u"纵向滚动条1")) {
        bar->setEnabled(true);
        bar->setFocus(Qt::OtherFocusReason);
    }
    const auto* options = ui::findPageOptions(page->role().toStdString());
    if (!options || options->refocusResetsTitle)
        setSettingsTitle(page, QString::fromUtf8("系统设置"));
}

QString sliderTitle(std::string_view prefix, int position, std::string_view unit) {
    return ui::toQString(prefix) + QString::number(position) + ui::toQString(unit);
}

CatalogueWindow* embeddedPage(QWidget* settingsWindow) {
    if (!settingsWindow) return nullptr;
    for (auto* child : settingsWindow->findChildren<CatalogueWindow*>(Qt::FindDirectChildrenOnly))
        return child;
    return nullptr;
}

namespace {

void markTab(CatalogueWindow* window, std::string_view selectedLabel) {
    for (const auto& tab : ui::settingsTabs()) {
        auto* label = ui::find<QWidget>(window, ui::toQString(tab.label));
        if (!label) continue;
        // 0xC0C0C0 is the same grey in either byte order; the caption turns dark on it so it
        // stays legible whatever colour the skin gives the other tabs' text.
        label->setStyleSheet(tab.label == selectedLabel
                                 ? QStringLiteral("background-color: #c0c0c0; color: #20242c;")
                                 : QString());
    }
}

void showLyricsOptions(CatalogueWindow* window, bool visible) {
    for (const char16_t* name : {u"外形框1", u"纵向滚动条1"})
        if (auto* w = ui::find<QWidget>(window, name)) w->setVisible(visible);
}

void destroyPagesExcept(CatalogueWindow* window, CatalogueWindow* keep) {
    for (auto* page : window->findChildren<CatalogueWindow*>(Qt::FindDirectChildrenOnly))
        if (page != keep) {
            releaseHotkeyBoxes(page);
            delete page;
        }
}

void showPage(const Context& context, CatalogueWindow* window, const ui::SettingsTab& tab) {
    markTab(window, tab.label);
    if (tab.page.empty()) {
        showLyricsOptions(window, true);
        destroyPagesExcept(window, nullptr);
        return;
    }
    showLyricsOptions(window, false);
    auto created = ui::createWindow(tab.page, *context.handlers, window);
    CatalogueWindow* page = created.window;
    if (!page) return;
    // From a window of its own to a child of the settings window, right of the tabs.
    const QSize size = page->size();
    page->setParent(window, Qt::Widget);
    page->setGeometry(152, 0, size.width(), size.height());
    page->show();
    destroyPagesExcept(window, page);
}

// Scroll bar and container of the page the event came from.
struct Scrolled {
    QScrollBar* bar = nullptr;
    QWidget* shape = nullptr;
};
Scrolled scrolledOf(CatalogueWindow* w) {
    return {ui::find<QScrollBar>(w, u"纵向滚动条1"), ui::find<QWidget>(w, u"外形框1")};
}

// One wheel notification over a page moves it by the page's step of 10 pixels. At the end the
// bar takes its maximum and the content stays where it was. A bar switched off by a right press
// keeps the page still until the page is refocused.
void wheelScroll(CatalogueWindow* w, int delta) {
    auto s = scrolledOf(w);
    if (delta == 0 || !s.bar || !s.bar->isEnabled()) return; // 0: a touchpad's start or end
    const int step = delta < 0 ? -10 : 10;
    s.bar->setValue(s.bar->value() - step); // the bar keeps it within its range
    if (s.bar->value() < s.bar->maximum()) {
        if (s.shape) s.shape->move(s.shape->x(), -s.bar->value());
    } else {
        s.bar->setValue(s.bar->maximum());
    }
}

// Takes the wheel from everything on a page: it scrolls the page wherever the pointer is, and
// never turns a list or slider under the pointer (an option changes only when it is chosen).
class PageWheel : public QObject {
public:
    explicit PageWheel(CatalogueWindow* page) : QObject(page), page_(page) {
        setObjectName(QStringLiteral("pageWheel"));
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Wheel) return false;
        auto* wheel = static_cast<QWheelEvent*>(event);
        wheelScroll(page_, wheel->angleDelta().y());
        wheel->accept();
        return true;
    }

private:
    CatalogueWindow* page_;
};

// Wheel turns over the page's content reach the shape, except over the controls that would take
// them for themselves (lists and sliders): those are filtered one by one. A list's open popup is
// a window of its own and keeps its wheel.
void scrollOnWheelAnywhere(CatalogueWindow* w) {
    auto s = scrolledOf(w);
    if (!s.shape || w->findChild<QObject*>(QStringLiteral("pageWheel"), Qt::FindDirectChildrenOnly))
        return;
    auto* filter = new PageWheel(w);
    s.shape->installEventFilter(filter);
    for (auto* list : s.shape->findChildren<QComboBox*>())
        list->installEventFilter(filter);
    for (auto* slider : s.shape->findChildren<QAbstractSlider*>())
        slider->installEventFilter(filter);
}

// Closing the settings window destroys its page: the hotkey boxes' rule runs first, so that the
// settings the window's end reloads hold no lone modifier.
class PageCloseWatch : public QObject {
public:
    explicit PageCloseWatch(CatalogueWindow* window) : QObject(window), window_(window) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close) releaseHotkeyBoxes(embeddedPage(window_));
        return false;
    }

private:
    CatalogueWindow* window_;
};

// The bar spans the part of the page's content below its viewport.
QScrollBar* fitScrollRange(CatalogueWindow* w) {
    auto s = scrolledOf(w);
    const auto* frame = ui::findPageFrame(w->role().toStdString());
    if (s.bar && frame) s.bar->setRange(0, frame->shapeHeight - ui::kPageViewportHeight);
    return s.bar;
}

} // namespace

void wireSettingsWindow(ui::HandlerTable& handlers, Services services) {
    auto shared = std::make_shared<Context>();
    shared->services = std::move(services);
    shared->handlers = &handlers;
    SharedContext context = shared;

    handlers.add("setUpSettingsWindow", [context](UiEvent& e) {
        CatalogueWindow* w = e.window;
        for (const auto& tab : ui::settingsTabs())
            if (auto* label = ui::find<QLabel>(w, ui::toQString(tab.label)))
                label->setAlignment(Qt::AlignCenter);
        markTab(w, ui::settingsTabs().front().label);
        if (auto* bar = fitScrollRange(w)) bar->setFocus(Qt::OtherFocusReason);
        scrollOnWheelAnywhere(w);
        w->installEventFilter(new PageCloseWatch(w));
        if (context->read(settings::field::SettingsOnSubtitlePage) == "1")
            showPage(*context, w, ui::settingsTabs()[1]);
        fillPage(*context, w);
    });
    handlers.add("showSettingsPage", [context](UiEvent& e) {
        for (const auto& tab : ui::settingsTabs())
            if (e.control == ui::toQString(tab.label)) showPage(*context, e.window, tab);
    });
    handlers.add("fillPage", [context](UiEvent& e) {
        fitScrollRange(e.window);
        scrollOnWheelAnywhere(e.window);
        fillPage(*context, e.window);
    });
    handlers.add("refocusPage", [](UiEvent& e) { refocusPage(e.window); });
    handlers.add("scrollPage", [](UiEvent& e) {
        if (auto s = scrolledOf(e.window); s.shape) s.shape->move(s.shape->x(), -e.first);
    });
    handlers.add("wheelPage", [](UiEvent& e) { wheelScroll(e.window, e.first); });
    handlers.add("disablePageScrollBar", [](UiEvent& e) {
        if (auto s = scrolledOf(e.window); s.bar) s.bar->setEnabled(false);
    });
    handlers.add("restorePageDefaults", [context](UiEvent& e) {
        const auto page = pageOfRole(e.window->role());
        if (page && context->store())
            (void)settings::restorePageDefaults(*context->store(), *page,
                                                context->services.specialFolder);
        refocusPage(e.window);
    });
    addOptionHandlers(handlers, context);
}

} // namespace qinglan::settingswindow
