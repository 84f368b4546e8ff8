// Connects the catalogue's wiring rows to handler callables by name.
#include "ui/CatalogueWindow.h"
#include "ui/Controls.h"
#include "ui/Find.h"
#include "ui/WindowFactory.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QTimer>
#include <QTreeWidget>
#include <QtDebug>

#include <set>

namespace qinglan::ui {

void HandlerTable::add(std::string_view name, Handler handler) {
    handlers_.insert_or_assign(std::string(name), std::move(handler));
}

const Handler* HandlerTable::find(std::string_view name) const {
    const auto it = handlers_.find(name);
    return it == handlers_.end() ? nullptr : &it->second;
}

std::vector<std::string> HandlerTable::names() const {
    std::vector<std::string> out;
    for (const auto& [name, handler] : handlers_)
        out.push_back(name);
    return out;
}

std::vector<std::string> missingHandlers(const HandlerTable& handlers) {
    std::vector<std::string> out;
    for (auto name : handlerNames())
        if (!handlers.find(name)) out.emplace_back(name);
    return out;
}

std::vector<std::string> unusedHandlers(const HandlerTable& handlers) {
    const auto used = handlerNames();
    const std::set<std::string_view> usedSet(used.begin(), used.end());
    std::vector<std::string> out;
    for (const auto& name : handlers.names())
        if (!usedSet.count(name)) out.push_back(name);
    return out;
}

namespace {

// Runs the handler with an event prepared by `fill`; answers the handler's refusal.
template <class Fill>
bool dispatch(const Handler& handler, CatalogueWindow* window, const QString& control,
              QObject* source, EventKind kind, Fill&& fill) {
    UiEvent event;
    event.kind = kind;
    event.window = window;
    event.control = control;
    event.source = source;
    fill(event);
    handler(event);
    return event.refuse;
}

// Connects one control event; false when the control cannot raise it.
bool connectControl(CatalogueWindow* window, QObject* object, Kind kind, EventKind event,
                    Handler handler) {
    using E = EventKind;
    const QString name = object->objectName();
    auto run = [window, name, object, event, handler](auto&& fill) {
        return dispatch(handler, window, name, object, event, fill);
    };
    auto none = [](UiEvent&) {};
    auto simple = [run, none] { run(none); };

    if (!kindRaises(kind, event)) return false;
    switch (kind) {
    case Kind::Button:
    case Kind::Radio:
    case Kind::Check: {
        auto* b = qobject_cast<QAbstractButton*>(object);
        QObject::connect(b, &QAbstractButton::clicked, window,
                         [run](bool checked) { run([=](UiEvent& e) { e.first = checked; }); });
        return true;
    }
    case Kind::Label: {
        auto* l = qobject_cast<ClickableLabel*>(object);
        if (event == E::LeftPressed)
            QObject::connect(l, &ClickableLabel::leftPressed, window, simple);
        else
            QObject::connect(l, &ClickableLabel::feedback, window, [run](int a, int b) {
                run([=](UiEvent& e) {
                    e.first = a;
                    e.second = b;
                });
            });
        return true;
    }
    case Kind::Edit: {
        auto* edit = qobject_cast<EditBox*>(object);
        if (event == E::TextChanged)
            QObject::connect(edit, &QLineEdit::textChanged, window,
                             [run](const QString& t) { run([&](UiEvent& e) { e.text = t; }); });
        else if (event == E::KeyPressed)
            QObject::connect(edit, &EditBox::keyPressed, window,
                             [run](int key, int modifiers, bool* consumed) {
                                 *consumed = run([&](UiEvent& e) {
                                     e.first = key;
                                     e.second = modifiers;
                                 });
                             });
        else
            QObject::connect(edit, &EditBox::focusLost, window, simple);
        return true;
    }
    case Kind::Combo: {
        auto* combo = qobject_cast<QComboBox*>(object);
        if (event == E::ItemChosen)
            QObject::connect(combo, &QComboBox::activated, window, [run, combo](int index) {
                run([&](UiEvent& e) {
                    e.first = index;
                    e.text = combo->itemText(index);
                });
            });
        else
            QObject::connect(combo, &QComboBox::editTextChanged, window,
                             [run](const QString& t) { run([&](UiEvent& e) { e.text = t; }); });
        return true;
    }
    case Kind::Slider:
        QObject::connect(qobject_cast<Trackbar*>(object), &Trackbar::positionChanged, window,
                         [run](int p) { run([=](UiEvent& e) { e.first = p; }); });
        return true;
    case Kind::Group:
        QObject::connect(qobject_cast<GroupBox*>(object), &GroupBox::leftPressed, window, simple);
        return true;
    case Kind::Picture: {
        auto* p = qobject_cast<PictureBox*>(object);
        if (event == E::LeftPressed)
            QObject::connect(p, &PictureBox::leftPressed, window, simple);
        else
            QObject::connect(p, &PictureBox::rightPressed, window,
                             [run](QPoint at) { run([=](UiEvent& e) { e.globalPos = at; }); });
        return true;
    }
    case Kind::Clock:
        QObject::connect(qobject_cast<QTimer*>(object), &QTimer::timeout, window, simple);
        return true;
    case Kind::ListView: {
        auto* list = qobject_cast<QTreeWidget*>(object);
        if (event == E::RowDoubleClicked)
            QObject::connect(
                list, &QTreeWidget::itemDoubleClicked, window,
                [run, list](QTreeWidgetItem* item, int) {
                    run([&](UiEvent& e) { e.first = list->indexOfTopLevelItem(item); });
                });
        else
            QObject::connect(list, &QWidget::customContextMenuRequested, window,
                             [run, list](QPoint at) {
                                 run([&](UiEvent& e) {
                                     QTreeWidgetItem* item = list->itemAt(at);
                                     e.first = item ? list->indexOfTopLevelItem(item) : -1;
                                     e.globalPos = list->viewport()->mapToGlobal(at);
                                 });
                             });
        return true;
    }
    case Kind::Shape:
        QObject::connect(qobject_cast<ShapeFrame*>(object), &ShapeFrame::leftPressed, window,
                         simple);
        return true;
    case Kind::VScroll:
    case Kind::HScroll: {
        auto* bar = qobject_cast<ScrollBar*>(object);
        if (event == E::PositionChanged)
            QObject::connect(bar, &ScrollBar::positionChanged, window,
                             [run](int p) { run([=](UiEvent& e) { e.first = p; }); });
        else if (event == E::WheelTurned)
            QObject::connect(bar, &ScrollBar::wheelTurned, window,
                             [run](int d) { run([=](UiEvent& e) { e.first = d; }); });
        else
            QObject::connect(bar, &ScrollBar::rightPressed, window, simple);
        return true;
    }
    case Kind::Link:
        QObject::connect(qobject_cast<LinkLabel*>(object), &LinkLabel::leftPressed, window, simple);
        return true;
    case Kind::Colour:
        QObject::connect(
            qobject_cast<ColourPicker*>(object), &ColourPicker::colourChosen, window,
            [run](unsigned ref) { run([=](UiEvent& e) { e.first = static_cast<int>(ref); }); });
        return true;
    case Kind::DropTarget:
        QObject::connect(
            qobject_cast<DropTarget*>(object), &DropTarget::filesDropped, window,
            [run](const QStringList& files) { run([&](UiEvent& e) { e.files = files; }); });
        return true;
    case Kind::FileDialog:
    case Kind::Balloon:
        break;
    }
    return false;
}

QStringList pathOf(const QAction* action, const QMenu* popup) {
    QStringList path{action->text()};
    // Walk up through the submenus this action sits in, up to the popup.
    const QObject* holder = action->parent();
    while (holder && holder != popup) {
        const auto* menu = qobject_cast<const QMenu*>(holder);
        if (!menu) break;
        path.prepend(menu->title());
        holder = menu->parent();
    }
    return path;
}

void connectMenu(CatalogueWindow* window, QMenu* popup, const HandlerTable& handlers,
                 WiringReport& report) {
    for (QAction* action : popup->findChildren<QAction*>()) {
        const QString name = action->property("handler").toString();
        if (name.isEmpty()) continue;
        const Handler* handler = handlers.find(name.toStdString());
        if (!handler) {
            report.missingHandlers << name;
            continue;
        }
        const QStringList path = pathOf(action, popup);
        QObject::connect(action, &QAction::triggered, window, [window, action, path, h = *handler] {
            UiEvent e;
            e.kind = EventKind::Chosen;
            e.window = window;
            e.source = action;
            e.menuPath = path;
            h(e);
        });
    }
}

} // namespace

WiringReport connectHandlers(CatalogueWindow* window, const HandlerTable& handlers) {
    WiringReport report;
    const WindowDesign& design = window->design();
    for (const WiringRow& row : wiringTable()) {
        if (row.window != design.role) continue;
        const QString handlerName = toQString(row.handler);
        const Handler* handler = handlers.find(row.handler);
        if (!handler) {
            report.missingHandlers << handlerName;
            continue;
        }
        if (row.control.empty()) {
            window->setWindowHandler(row.event, *handler);
            continue;
        }
        const QString controlName = toQString(row.control);
        QObject* object = findObject(window, controlName);
        const auto kind = kindOfName(row.control);
        if (!object || !kind || !connectControl(window, object, *kind, row.event, *handler))
            report.missingControls << controlName;
    }
    for (const MenuDesign& m : menuDesigns())
        if (m.window == design.role)
            if (QMenu* popup = window->menu(toQString(m.name)))
                connectMenu(window, popup, handlers, report);
    report.missingHandlers.removeDuplicates();
    for (const QString& name : report.missingHandlers)
        qWarning("%s: no handler named %s; its events do nothing", qPrintable(window->role()),
                 qPrintable(name));
    for (const QString& name : report.missingControls)
        qWarning("%s: wired control %s is missing", qPrintable(window->role()), qPrintable(name));
    return report;
}

} // namespace qinglan::ui
