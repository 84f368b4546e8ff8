#pragma once
// Builds Qt windows from the catalogue at the designed pixel geometry.
//
// Sizes: the Qt widget's size is the window's client area, WindowDesign::clientSize() (the
// designed outer size minus the title bar and border for windows that have them). Windows with
// a title bar keep a fixed size, except the main window and the video list, which the user may
// resize. Frameless companion windows and settings pages are tool windows without a frame.
// A window whose close is accepted is destroyed (Qt::WA_DeleteOnClose), so a closed dialog
// leaves nothing behind; hold windows in a QPointer.

#include "ui/CatalogueWindow.h"

#include <string_view>

class QMenu;
class QWidget;

namespace qinglan::ui {

// The window of the role with its controls and menus, not yet shown and not yet wired;
// nullptr for an unknown role. The owner keeps it above itself and destroys it with itself.
CatalogueWindow* buildWindow(std::string_view role, QWidget* owner = nullptr);

struct CreatedWindow {
    CatalogueWindow* window = nullptr;
    WiringReport report;
};

// buildWindow(), connectHandlers(), then the window's "created" handler.
CreatedWindow createWindow(std::string_view role, const HandlerTable& handlers,
                           QWidget* owner = nullptr);

// The popup of a menu: its level-1 items, with submenus. Each QAction's objectName is its
// caption and its "handler" property the handler name.
QMenu* buildMenu(const MenuDesign& design, QWidget* parent);

// Gives the window a new designed outer size (as the prompt's per-use widths are stated): the
// client area becomes that size minus the frame allowance; fixed-size windows stay fixed.
void setDesignedSize(CatalogueWindow* window, Size outer);

QString toQString(std::string_view utf8);

} // namespace qinglan::ui
