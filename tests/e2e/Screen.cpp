#include "e2e/Screen.h"

#include <QProcess>
#include <QTemporaryDir>

#include <cstdlib>

namespace qinglan::test {

QImage grabScreen() {
    QTemporaryDir dir;
    const QString file = dir.filePath("screen.png");
    QProcess::execute("ffmpeg", {"-nostdin", "-loglevel", "error", "-y", "-f", "x11grab", "-i",
                                 qEnvironmentVariable("DISPLAY"), "-frames:v", "1", file});
    return QImage(file);
}

QRect windowRect(const std::string& windowId) {
    // xwininfo reports the client area itself, without the window manager's frame.
    QProcess info;
    info.start("xwininfo", {"-id", QString::fromStdString(windowId)});
    info.waitForFinished(3000);
    int x = 0, y = 0, w = 0, h = 0;
    for (const auto& raw : QString::fromUtf8(info.readAllStandardOutput()).split('\n')) {
        const QString line = raw.trimmed();
        const int v = line.section(':', 1).trimmed().toInt();
        if (line.startsWith("Absolute upper-left X")) x = v;
        if (line.startsWith("Absolute upper-left Y")) y = v;
        if (line.startsWith("Width")) w = v;
        if (line.startsWith("Height")) h = v;
    }
    return {x, y, w, h};
}

QMargins frameExtents(const std::string& windowId) {
    QProcess p;
    p.start("xprop", {"-id", QString::fromStdString(windowId), "_NET_FRAME_EXTENTS"});
    p.waitForFinished(3000);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    const int eq = out.indexOf('=');
    if (eq < 0) return {};
    const QStringList v = out.mid(eq + 1).split(',');
    if (v.size() != 4) return {};
    // The property's order is left, right, top, bottom.
    return {v[0].trimmed().toInt(), v[2].trimmed().toInt(), v[1].trimmed().toInt(),
            v[3].trimmed().toInt()};
}

bool near(QColor a, QColor e, int tolerance) {
    return std::abs(a.red() - e.red()) <= tolerance &&
           std::abs(a.green() - e.green()) <= tolerance &&
           std::abs(a.blue() - e.blue()) <= tolerance;
}

} // namespace qinglan::test
