#pragma once
// Finding a window's controls by catalogue name. The search covers the window's controls, its
// timers, dialogs and menus, but not the controls of other catalogue windows embedded in it
// (a settings page shown inside the settings window keeps its own names).

#include "ui/CatalogueIds.h"

#include <QString>
#include <QStringList>

#include <stdexcept>

class QAction;
class QMenu;
class QObject;

namespace qinglan::ui {

// The object named `name` in `window`, or nullptr when there is none.
QObject* findObject(const QObject* window, QStringView name);

// The control of that name and type; nullptr when missing or of another type.
template <class T> T* find(const QObject* window, QStringView name) {
    return qobject_cast<T*>(findObject(window, name));
}

// A typed name as the controls carry it.
inline QString nameOf(ControlId id) {
    return QString::fromUtf8(id.name.data(), static_cast<qsizetype>(id.name.size()));
}

// The same, by a control's typed name.
template <class T> T* find(const QObject* window, ControlId id) {
    return find<T>(window, nameOf(id));
}

// As find(), but a missing control is a programming error reported by an exception.
template <class T> T& control(const QObject* window, QStringView name) {
    if (T* found = find<T>(window, name)) return *found;
    throw std::logic_error("no control " + name.toString().toStdString() + " of the wanted type");
}

// The same, by a control's typed name.
template <class T> T& control(const QObject* window, ControlId id) {
    return control<T>(window, nameOf(id));
}

// A menu item by its captions from the popup down, exact (blanks included), e.g.
// {"播放", "跳出片头片尾"}. Submenu entries can be found too. nullptr when missing.
QAction* findMenuItem(const QMenu* popup, const QStringList& captionPath);

} // namespace qinglan::ui
