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
            c && c->role() == ui::toQString(ui::ids::SettingsWindow.name))
            return c;
    return nullptr;
}

const settings::PageInfo* pageOf(const CatalogueWindow* window) {
    return window ? settings::findPageByRole(window->role().toStdString()) : nullptr;
}

void setSettingsTitle(CatalogueWindow* page, const QString& title) {
    if (auto* w = settingsWindowOf(page)) w->setWindowTitle(title);
}

void refocusPage(CatalogueWindow* page) {
    if (auto* bar = ui::find<QScrollBar>(page, ui::ids::PageScrollBar)) {
        bar->setEnabled(true);
        bar->setFocus(Qt::OtherFocusReason);
    }
    const auto* info = pageOf(page);
    if (!info || info->refocusResetsTitle) setSettingsTitle(page, QString::fromUtf8("系统设置"));
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

void markTab(CatalogueWindow* window, const settings::PageInfo& selected) {
    for (const auto& tab : settings::settingsPages()) {
        auto* label = ui::find<QWidget>(window, ui::toQString(tab.tabLabel));
        if (!label) continue;
        // 0xC0C0C0 is the same grey in either byte order; the caption turns dark on it so it
        // stays legible whatever colour the skin gives the other tabs' text.
        label->setStyleSheet(tab.page == selected.page
                                 ? QStringLiteral("background-color: #c0c0c0; color: #20242c;")
                                 : QString());
    }
}

void showLyricsOptions(CatalogueWindow* window, bool visible) {
    for (const ui::ControlId id : {ui::ids::PageShape, ui::ids::PageScrollBar})
        if (auto* w = ui::find<QWidget>(window, id)) w->setVisible(visible);
}

void destroyPagesExcept(CatalogueWindow* window, CatalogueWindow* keep) {
    for (auto* page : window->findChildren<CatalogueWindow*>(Qt::FindDirectChildrenOnly))
        if (page != keep) {
            releaseHotkeyBoxes(page);
            delete page;
        }
}

void showPage(const Context& context, CatalogueWindow* window, const settings::PageInfo& page) {
    markTab(window, page);
    if (page.page == settings::Page::Lyrics) {
        showLyricsOptions(window, true);
        destroyPagesExcept(window, nullptr);
        return;
    }
    showLyricsOptions(window, false);
    auto created = ui::createWindow(page.role, *context.handlers, window);
    CatalogueWindow* shown = created.window;
    if (!shown) return;
    // From a window of its own to a child of the settings window, right of the tabs.
    const QSize size = shown->size();
    shown->setParent(window, Qt::Widget);
    shown->setGeometry(152, 0, size.width(), size.height());
    shown->show();
    destroyPagesExcept(window, shown);
}

// Scroll bar and container of the page the event came from.
struct Scrolled {
    QScrollBar* bar = nullptr;
    QWidget* shape = nullptr;
};
Scrolled scrolledOf(CatalogueWindow* w) {
    return {ui::find<QScrollBar>(w, ui::ids::PageScrollBar),
            ui::find<QWidget>(w, ui::ids::PageShape)};
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
    const auto* page = pageOf(w);
    if (s.bar && page) s.bar->setRange(0, page->shapeHeight - ui::kPageViewportHeight);
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
        for (const auto& tab : settings::settingsPages())
            if (auto* label = ui::find<QLabel>(w, ui::toQString(tab.tabLabel)))
                label->setAlignment(Qt::AlignCenter);
        markTab(w, settings::pageInfo(settings::Page::Lyrics));
        if (auto* bar = fitScrollRange(w)) bar->setFocus(Qt::OtherFocusReason);
        scrollOnWheelAnywhere(w);
        w->installEventFilter(new PageCloseWatch(w));
        if (context->read(settings::field::SettingsOnSubtitlePage) == "1")
            showPage(*context, w, settings::pageInfo(settings::Page::Subtitle));
        fillPage(*context, w);
    });
    handlers.add("showSettingsPage", [context](UiEvent& e) {
        for (const auto& page : settings::settingsPages())
            if (e.control == ui::toQString(page.tabLabel)) showPage(*context, e.window, page);
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
        const auto* page = pageOf(e.window);
        if (page && context->store())
            (void)settings::restorePageDefaults(*context->store(), page->page,
                                                context->services.specialFolder);
        refocusPage(e.window);
    });
    addOptionHandlers(handlers, context);
}

} // namespace qinglan::settingswindow
