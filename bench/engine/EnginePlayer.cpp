// The smallest player on our engine: a frameless 640x360 window at the screen's top-left corner
// playing one file. Started by bench_engine, which watches the screen for the first frame.
//   bench_engine_player <video output> <file>
#include "aplayer/Engine.h"

#include <QApplication>
#include <QWidget>

#include <clocale>

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QWidget window;
    window.setWindowFlag(Qt::FramelessWindowHint);
    window.setGeometry(0, 0, 640, 360);
    window.show();
    auto engine = qinglan::aplayer::createMpvEngine({argv[1], "null"});
    if (!engine->APlayer_Create(&window, 0, 0, 640, 360, nullptr, nullptr, nullptr)) return 1;
    engine->APlayer_OpenA(argv[2]);
    int rc = app.exec();
    engine.reset();
    return rc;
}
