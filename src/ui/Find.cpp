#include "ui/Find.h"

#include <QAction>
#include <QMenu>

#include <deque>

namespace qinglan::ui {

namespace {
bool isCatalogueWindow(const QObject* o) {
    return o->property("catalogueWindow").toBool();
}
} // namespace

QObject* findObject(const QObject* window, QStringView name) {
    // Breadth first, so a window's own control wins over anything nested deeper.
    std::deque<const QObject*> pending{window};
    while (!pending.empty()) {
        const QObject* current = pending.front();
        pending.pop_front();
        for (QObject* child : current->children()) {
            if (isCatalogueWindow(child)) continue;
            if (child->objectName() == name) return child;
            pending.push_back(child);
        }
    }
    return nullptr;
}

QAction* findMenuItem(const QMenu* popup, const QStringList& captionPath) {
    const QMenu* menu = popup;
    for (qsizetype i = 0; menu && i < captionPath.size(); ++i) {
        QAction* match = nullptr;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator() && action->text() == captionPath[i]) {
                match = action;
                break;
            }
        }
        if (!match) return nullptr;
        if (i + 1 == captionPath.size()) return match;
        menu = match->menu();
    }
    return nullptr;
}

} // namespace qinglan::ui
