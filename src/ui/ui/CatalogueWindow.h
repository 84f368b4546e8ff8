#pragma once
// A window built from the catalogue. Its own events (created, close requested, being destroyed,
// moved, resized, tray notification, left press and mouse move on its surface) go to the
// handlers set for them; every control is a child whose objectName is its catalogue name.

#include "ui/UiEvent.h"

#include <QWidget>

#include <map>

class QMenu;

namespace qinglan::ui {

class CatalogueWindow : public QWidget {
    Q_OBJECT
public:
    CatalogueWindow(const WindowDesign& design, QWidget* owner, Qt::WindowFlags flags);
    // Runs the "being destroyed" handler while the controls still exist.
    ~CatalogueWindow() override;

    const WindowDesign& design() const { return design_; }
    QString role() const { return objectName(); }

    // The popup of a menu of this window by its top-level name ("右键菜单", "托盘菜单").
    QMenu* menu(const QString& name) const;

    void setWindowHandler(EventKind event, Handler handler);
    bool hasWindowHandler(EventKind event) const { return handlers_.count(event) != 0; }

    // Runs the "created" handler; call once the window is wired.
    void announceCreated();
    // Delivers a tray icon notification: 1 click, 3 right click.
    void notifyTray(int kind);

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    bool run(EventKind kind, UiEvent& event);

    const WindowDesign& design_;
    std::map<EventKind, Handler> handlers_;
};

} // namespace qinglan::ui
