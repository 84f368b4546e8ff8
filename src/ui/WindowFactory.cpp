#include "ui/WindowFactory.h"

#include "ui/Controls.h"
#include "ui/Find.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRect>
#include <QTimer>
#include <QTreeWidget>

#include <vector>

namespace qinglan::ui {

QString toQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

namespace {

Qt::WindowFlags flagsFor(Frame frame, bool owned) {
    switch (frame) {
    case Frame::Resizable:
        return Qt::Window;
    case Frame::Dialog:
        return (owned ? Qt::Dialog : Qt::Window) | Qt::MSWindowsFixedSizeDialogHint |
               Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    case Frame::ToolWindow:
        return Qt::Tool;
    case Frame::Frameless:
        break;
    }
    return Qt::Tool | Qt::FramelessWindowHint;
}

void applyRange(QAbstractSlider* slider, const Range& r) {
    if (r.minimum == 0 && r.maximum == 0) return;
    slider->setRange(r.minimum, r.maximum);
    if (r.pageStep > 0) slider->setPageStep(r.pageStep);
    if (r.singleStep > 0) slider->setSingleStep(r.singleStep);
    slider->setValue(r.value);
}

QObject* makeControl(Kind kind, const ControlDesign& c, CatalogueWindow* window, QWidget* parent) {
    const QString caption = toQString(c.caption);
    switch (kind) {
    case Kind::Button:
        return new QPushButton(caption, parent);
    case Kind::Label: {
        auto* label = new ClickableLabel(parent);
        label->setText(caption);
        label->setWordWrap(c.wordWrap);
        if (c.wordWrap) label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case Kind::Edit: {
        auto* edit = new EditBox(parent);
        edit->setText(caption);
        edit->setReadOnly(c.readOnly);
        return edit;
    }
    case Kind::Radio: {
        auto* radio = new QRadioButton(caption, parent);
        radio->setChecked(c.checked);
        return radio;
    }
    case Kind::Check: {
        auto* check = new QCheckBox(caption, parent);
        check->setChecked(c.checked);
        return check;
    }
    case Kind::Combo: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        for (auto item : c.items)
            combo->addItem(toQString(item));
        combo->setCurrentIndex(-1);
        combo->setEditText(caption);
        return combo;
    }
    case Kind::Slider: {
        auto* slider = new Trackbar(parent);
        applyRange(slider, c.range);
        return slider;
    }
    case Kind::Group: {
        auto* group = new GroupBox(parent);
        group->setTitle(caption);
        return group;
    }
    case Kind::Picture:
        return new PictureBox(parent);
    case Kind::Clock: {
        auto* clock = new QTimer(window);
        setClockPeriod(clock, c.interval);
        return clock;
    }
    case Kind::ListView: {
        auto* list = new QTreeWidget(parent);
        list->setColumnCount(static_cast<int>(c.items.size()));
        QStringList headings;
        for (auto h : c.items)
            headings << toQString(h);
        list->setHeaderLabels(headings);
        list->setRootIsDecorated(false);
        list->setItemsExpandable(false);
        list->setUniformRowHeights(true);
        list->setAllColumnsShowFocus(true);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        return list;
    }
    case Kind::Shape:
        return new ShapeFrame(parent);
    case Kind::VScroll:
    case Kind::HScroll: {
        auto* bar = new ScrollBar(kind == Kind::VScroll ? Qt::Vertical : Qt::Horizontal, parent);
        applyRange(bar, c.range);
        return bar;
    }
    case Kind::Link: {
        auto* link = new LinkLabel(parent);
        link->setText(caption);
        return link;
    }
    case Kind::Colour:
        return new ColourPicker(parent);
    case Kind::FileDialog: {
        auto* dialog = new FileDialogBox(window);
        dialog->setFilter(caption);
        return dialog;
    }
    case Kind::DropTarget: {
        auto* target = new DropTarget(window);
        target->attachTo(window);
        return target;
    }
    case Kind::Balloon: {
        auto* tip = new BalloonTip(window);
        tip->setText(caption);
        return tip;
    }
    }
    return nullptr;
}

} // namespace

QMenu* buildMenu(const MenuDesign& design, QWidget* parent) {
    auto* popup = new QMenu(parent);
    popup->setObjectName(toQString(design.name));
    std::vector<QMenu*> levels{popup};
    for (std::size_t i = 0; i < design.items.size(); ++i) {
        const MenuItemDesign& item = design.items[i];
        levels.resize(static_cast<std::size_t>(item.level));
        QMenu* into = levels.back();
        const QString caption = toQString(item.caption);
        const bool opensSubmenu =
            i + 1 < design.items.size() && design.items[i + 1].level > item.level;
        if (item.caption == kSeparator) {
            into->addSeparator();
        } else if (opensSubmenu) {
            QMenu* sub = into->addMenu(caption);
            sub->setObjectName(caption);
            sub->menuAction()->setObjectName(caption);
            sub->setEnabled(!item.disabled);
            levels.push_back(sub);
        } else {
            QAction* action = into->addAction(caption);
            action->setObjectName(caption);
            action->setProperty("handler", toQString(item.handler));
            action->setEnabled(!item.disabled);
            action->setCheckable(item.checkable);
            action->setChecked(item.checked);
        }
    }
    return popup;
}

namespace {
void applyClientSize(CatalogueWindow* window, Frame frame, Size client) {
    if (frame == Frame::Dialog)
        window->setFixedSize(client.width, client.height);
    else
        window->resize(client.width, client.height);
}
} // namespace

void setDesignedSize(CatalogueWindow* window, Size outer) {
    const Frame frame = window->design().frame;
    const Size a = frameAllowance(frame);
    applyClientSize(window, frame, {outer.width - a.width, outer.height - a.height});
}

CatalogueWindow* buildWindow(std::string_view role, QWidget* owner) {
    const WindowDesign* design = findWindowDesign(role);
    if (!design) return nullptr;
    auto* window = new CatalogueWindow(*design, owner, flagsFor(design->frame, owner != nullptr));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(toQString(design->title));
    applyClientSize(window, design->frame, design->clientSize());

    for (const ControlDesign& c : design->controls) {
        const auto kind = kindOfName(c.name);
        if (!kind) continue; // a data fault, reported by the catalogue's own checks
        QWidget* parent = window;
        if (!c.parent.empty()) {
            parent = find<QWidget>(window, toQString(c.parent));
            if (!parent) parent = window;
        }
        QObject* object = makeControl(*kind, c, window, parent);
        object->setObjectName(toQString(c.name));
        const QRect geometry(c.geometry.left, c.geometry.top, c.geometry.width, c.geometry.height);
        object->setProperty("designGeometry", geometry);
        if (auto* widget = qobject_cast<QWidget*>(object)) {
            widget->setGeometry(geometry);
            if (c.hidden) widget->setVisible(false);
            if (c.disabled) widget->setEnabled(false);
        }
    }
    for (const MenuDesign& m : menuDesigns())
        if (m.window == role) buildMenu(m, window);
    return window;
}

CreatedWindow createWindow(std::string_view role, const HandlerTable& handlers, QWidget* owner) {
    CreatedWindow created;
    created.window = buildWindow(role, owner);
    if (!created.window) return created;
    created.report = connectHandlers(created.window, handlers);
    created.window->announceCreated();
    return created;
}

} // namespace qinglan::ui
