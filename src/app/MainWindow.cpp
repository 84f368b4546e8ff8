#include "app/MainWindow.h"

#include "app/ProcessState.h"
#include "app/SettingsSession.h"
#include "app/Startup.h"

#include <settings/SettingsActions.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace qinglan::app {
namespace {

settings::Rect toRect(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

settings::Rect workArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? toRect(screen->availableGeometry()) : settings::kDefaultWorkArea;
}

} // namespace

MainWindow::MainWindow() {
    setWindowTitle(QString::fromUtf8(kWindowTitle));
    resize(725, 550);
    auto* layout = new QVBoxLayout(this);
    mediaLabel_ = new QLabel(this);
    mediaLabel_->setObjectName("currentMediaLabel");
    mediaLabel_->setAlignment(Qt::AlignCenter);
    layout->addWidget(mediaLabel_);
}

void MainWindow::create() {
    const auto notices = openSettings(workArea());
    restoreSavedGeometry();
    show();
    // Tell the user once, after the window is up, about settings that had to be set aside.
    for (const auto& notice : notices) {
        auto* box = new QMessageBox(QMessageBox::Warning, QString::fromUtf8(kWindowTitle),
                                    QString::fromStdString(notice), QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setObjectName("settingsNotice");
        QTimer::singleShot(0, box, &QMessageBox::show);
    }
    openCurrentMedia();
}

void MainWindow::restoreSavedGeometry() {
    const auto& record = processState().record;
    const int w = record.integer(170), h = record.integer(171);
    if (w <= 0 || h <= 0) return; // nothing usable stored: keep the designed size
    move(record.integer(168), record.integer(169));
    resize(w, h);
}

void MainWindow::openHandedOver(const std::string& path) {
    processState().currentMedia = path;
    openCurrentMedia();
}

void MainWindow::openCurrentMedia() {
    const auto& media = processState().currentMedia;
    if (media.empty()) return;
    mediaLabel_->setText(QString::fromStdString(media));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    shutdown();
    QWidget::closeEvent(event);
}

void MainWindow::shutdown() {
    if (shutDown_) return;
    shutDown_ = true;
    auto& state = processState();
    if (state.store) {
        // The video list's row and the list window's geometry are kept as loaded until the
        // list window exists to report them.
        state.store->write(172, state.record.get(172));
        const settings::Rect list{state.record.integer(165), state.record.integer(166),
                                  state.record.integer(174), state.record.integer(175)};
        settings::saveWindowGeometry(*state.store, state.record, state.geometryFrozen,
                                     state.fileConfigChanged,
                                     {pos().x(), pos().y(), width(), height()}, list);
    }
    hide();
    QApplication::quit();
}

} // namespace qinglan::app
