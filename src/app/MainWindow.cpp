#include "app/MainWindow.h"

#include "app/ProcessState.h"
#include "app/Startup.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace qinglan::app {

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
    show();
    openCurrentMedia();
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

} // namespace qinglan::app

namespace qinglan::app {

void MainWindow::shutdown() {
    hide();
    QApplication::quit();
}

} // namespace qinglan::app
