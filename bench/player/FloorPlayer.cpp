// The least a player on our engine can do: a frameless 800x600 window at 200,150 (where the
// bench places mpv) playing one file, nothing else. Started by bench_player when asked, to tell
// the cost of Qt and the engine apart from the cost of the rest of the real player.
//   bench_player_floor <video output> <file> [audio output=null]
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
    window.setGeometry(200, 150, 800, 600);
    window.show();
    auto engine = qinglan::aplayer::createMpvEngine({argv[1], argc > 3 ? argv[3] : "null"});
    if (!engine->APlayer_Create(&window, 0, 0, 800, 600, nullptr, nullptr, nullptr)) return 1;
    engine->APlayer_OpenA(argv[2]);
    int rc = app.exec();
    engine.reset();
    return rc;
}
