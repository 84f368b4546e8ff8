#include "ui/CatalogueWindow.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMouseEvent>

namespace qinglan::ui {

CatalogueWindow::CatalogueWindow(const WindowDesign& design, QWidget* owner, Qt::WindowFlags flags)
    : QWidget(owner, flags), design_(design) {
    setObjectName(
        QString::fromUtf8(design.role.data(), static_cast<qsizetype>(design.role.size())));
    setProperty("catalogueWindow", true);
}

CatalogueWindow::~CatalogueWindow() {
    UiEvent event;
    run(EventKind::Destroying, event);
}

QMenu* CatalogueWindow::menu(const QString& name) const {
    return findChild<QMenu*>(name, Qt::FindDirectChildrenOnly);
}

void CatalogueWindow::setWindowHandler(EventKind event, Handler handler) {
    if (event == EventKind::MouseMoved) setMouseTracking(true);
    handlers_[event] = std::move(handler);
}

bool CatalogueWindow::run(EventKind kind, UiEvent& event) {
    const auto it = handlers_.find(kind);
    if (it == handlers_.end()) return false;
    event.kind = kind;
    event.window = this;
    event.source = this;
    // A handler may replace itself; keep the callable alive for the call.
    const Handler handler = it->second;
    handler(event);
    return true;
}

void CatalogueWindow::announceCreated() {
    UiEvent event;
    run(EventKind::Created, event);
}

void CatalogueWindow::notifyTray(int kind) {
    UiEvent event;
    event.first = kind;
    run(EventKind::TrayNotified, event);
}

void CatalogueWindow::closeEvent(QCloseEvent* event) {
    UiEvent e;
    if (run(EventKind::CloseRequested, e) && e.refuse) {
        event->ignore();
        return;
    }
    event->accept();
}

void CatalogueWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    UiEvent e;
    run(EventKind::Moved, e);
}

void CatalogueWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UiEvent e;
    run(EventKind::Resized, e);
}

void CatalogueWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        UiEvent e;
        e.globalPos = event->globalPosition().toPoint();
        if (run(EventKind::LeftPressed, e)) {
            event->accept();
            return;
        }
    }
    QWidget::mousePressEvent(event);
}

void CatalogueWindow::mouseMoveEvent(QMouseEvent* event) {
    UiEvent e;
    e.globalPos = event->globalPosition().toPoint();
    if (!run(EventKind::MouseMoved, e)) QWidget::mouseMoveEvent(event);
}

} // namespace qinglan::ui
