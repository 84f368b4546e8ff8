// The player's start with a means.edb of 100,000 records (fake engine, this process's Qt
// platform): how long the list takes to load, when the list window appears after the main
// window, how long a scroll to the end takes, and the memory the rows cost, against a start
// with an empty list in the same run.
#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "app/VideoListController.h"

#include <aplayer/FakeEngine.h>
#include <medialist/ListStore.h>
#include <settings/StoreLocation.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QScrollBar>
#include <QTreeView>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace qinglan;

namespace {

long rssKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(1 << 10, '\n');
    }
    return 0;
}

// Times the first show of the main window and of the video list window.
struct ShowWatch : QObject {
    QElapsedTimer clock;
    qint64 mainShown = -1, listShown = -1;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show && o->isWidgetType()) {
            const QString role = o->objectName();
            if (role == "MainWindow" && mainShown < 0) mainShown = clock.elapsed();
            if (role == "VideoListWindow" && listShown < 0) listShown = clock.elapsed();
        }
        return false;
    }
};

struct StartResult {
    qint64 createMs = 0, mainShown = 0, listShown = 0, scrollMs = 0;
    long rssDeltaKb = 0;
    int rows = 0;
};

StartResult start(const fs::path& dataHome) {
    setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
    auto& s = app::processState();
    s = {};
    ShowWatch watch;
    qApp->installEventFilter(&watch);
    const long before = rssKb();
    watch.clock.start();
    StartResult r;
    {
        app::MainWindow window(std::make_unique<aplayer::FakeEngine>());
        window.create();
        r.createMs = watch.clock.elapsed();
        while (watch.listShown < 0 && watch.clock.elapsed() < 20000)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        r.mainShown = watch.mainShown;
        r.listShown = watch.listShown;
        auto* list = app::VideoListController::of(window);
        r.rows = list ? list->model().count() : 0;
        QElapsedTimer scroll;
        scroll.start();
        if (list && list->view()) {
            list->view()->scrollToBottom();
            list->view()->repaint();
        }
        r.scrollMs = scroll.elapsed();
        r.rssDeltaKb = rssKb() - before;
        window.shutdown();
    }
    qApp->removeEventFilter(&watch);
    s.store.reset();
    return r;
}

void print(const char* what, const StartResult& r) {
    std::printf("%s: %d rows; window created in %lld ms; main window shown at %lld ms, list "
                "shown at %lld ms (%lld ms after the main window); scroll to the end %lld ms; "
                "RSS +%ld KiB\n",
                what, r.rows, static_cast<long long>(r.createMs),
                static_cast<long long>(r.mainShown), static_cast<long long>(r.listShown),
                static_cast<long long>(r.listShown - r.mainShown),
                static_cast<long long>(r.scrollMs), r.rssDeltaKb);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
    const fs::path base =
        fs::temp_directory_path() / ("qinglan-start-bench-" + std::to_string(::getpid()));
    const fs::path empty = base / "empty", full = base / "full";
    fs::create_directories(empty / "qinglan");
    fs::create_directories(full / "qinglan");
    {
        medialist::ListStore store(full / "qinglan");
        std::vector<std::string> paths;
        paths.reserve(static_cast<std::size_t>(records));
        for (int i = 0; i < records; ++i)
            paths.push_back("/home/user/视频/第" + std::to_string(i / 100) + "季/第 " +
                            std::to_string(i) + " 集.mp4");
        store.append(paths);
    }
    // A first start of each makes its settings file; the timed starts follow.
    start(empty);
    start(full);
    const StartResult e = start(empty);
    const StartResult f = start(full);
    print("empty list", e);
    print("100,000-record list", f);
    std::printf("the rows cost %ld KiB (%.0f bytes a row); the list shows %lld ms later than "
                "with an empty list\n",
                f.rssDeltaKb - e.rssDeltaKb,
                f.rows ? (f.rssDeltaKb - e.rssDeltaKb) * 1024.0 / f.rows : 0.0,
                static_cast<long long>((f.listShown - f.mainShown) - (e.listShown - e.mainShown)));
    std::error_code ec;
    fs::remove_all(base, ec);
    return 0;
}
