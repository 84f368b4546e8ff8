#pragma once
#include <QWidget>
#include <string>

class QLabel;

namespace qinglan::app {

// The player's main window ("OrvelWindow", "青岚播放器").
class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow();

    // Brings the window up (the creation sequence) and opens the current media if set.
    void create();
    // A path handed over by a second start of the player: it becomes the current media
    // and plays here.
    void openHandedOver(const std::string& path);
    // Saves what must survive, releases what the window holds and ends the event loop.
    void shutdown();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void openCurrentMedia();
    void restoreSavedGeometry();

    bool shutDown_ = false;

    QLabel* mediaLabel_ = nullptr;
};

} // namespace qinglan::app
