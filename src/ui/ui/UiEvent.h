#pragma once
// What a handler receives, and the table of handlers by name that the wiring connects.

#include "ui/Catalogue.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class QObject;

namespace qinglan::ui {

class CatalogueWindow;

struct UiEvent {
    EventKind kind = EventKind::Created;
    CatalogueWindow* window = nullptr; // the window the event belongs to
    QString control;                   // control name; empty for window and menu events
    QStringList menuPath;              // menu items: captions from the popup down, exact
    QObject* source = nullptr;         // the control's object, the QAction, or the window
    // Event arguments:
    //   Feedback: first, second     KeyPressed: first = Qt key, second = modifiers
    //   PositionChanged: first = position     WheelTurned: first = angle delta
    //   ItemChosen: first = index, text = item      TextChanged / TextEdited: text
    //   Clicked: first = 1 when checked afterwards  RowDoubleClicked / RightClicked: first = row
    //   ColourChosen: first = COLORREF              TrayNotified: first = 1 click, 3 right click
    //   Picture RightPressed, RightClicked: globalPos
    int first = 0;
    int second = 0;
    QString text;
    QStringList files; // FilesDropped
    QPoint globalPos;
    // CloseRequested: set to keep the window. KeyPressed: set to keep the key from the box.
    bool refuse = false;
};

using Handler = std::function<void(UiEvent&)>;

class HandlerTable {
public:
    // Adds or replaces the handler of that name.
    void add(std::string_view name, Handler handler);
    const Handler* find(std::string_view name) const;
    std::vector<std::string> names() const;

private:
    std::map<std::string, Handler, std::less<>> handlers_;
};

struct WiringReport {
    QStringList missingHandlers; // wired names the table lacks; their events do nothing
    QStringList missingControls; // wired controls the window does not hold
    bool ok() const { return missingHandlers.isEmpty() && missingControls.isEmpty(); }
};

// Connects the wiring rows of the window's role and the items of its menus to the table.
// Rows whose handler is missing are listed in the report (and logged), never dropped silently.
WiringReport connectHandlers(CatalogueWindow* window, const HandlerTable& handlers);

// Catalogue handler names that `handlers` lacks, over all windows and menus.
std::vector<std::string> missingHandlers(const HandlerTable& handlers);
// Names in `handlers` that no window or menu uses: usually a misspelt registration.
std::vector<std::string> unusedHandlers(const HandlerTable& handlers);

} // namespace qinglan::ui
