#include "e2e/PlayerProcess.h"

#include "support/TestMedia.h"

#include <QElapsedTimer>
#include <QThread>

#include <csignal>

namespace qinglan::test {

namespace {
QString playerPath() {
    return QString::fromStdString((buildDir() / "qinglan").string());
}

QStringList toArgs(const std::vector<std::string>& args) {
    QStringList list;
    for (const auto& a : args)
        list << QString::fromUtf8(a.c_str());
    return list;
}
} // namespace

PlayerProcess::PlayerProcess(const TempDataDir& data) : data_(data) {}

PlayerProcess::~PlayerProcess() {
    if (process_ && process_->state() != QProcess::NotRunning) {
        process_->kill();
        process_->waitForFinished(3000);
    }
}

QProcessEnvironment PlayerProcess::environment() const {
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", QString::fromStdString((data_.path() / "data").string()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString((data_.path() / "config").string()));
    // The instance lock and anything else per-session stay inside the test's folder too; the
    // socket itself is kept apart by the network namespace that with-xvfb.sh gives each run.
    const auto runtime = data_.path() / "run";
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.string()));
    env.insert("QT_QPA_PLATFORM", "xcb");
    return env;
}

void PlayerProcess::start(const std::vector<std::string>& args) {
    process_ = std::make_unique<QProcess>();
    process_->setProcessEnvironment(environment());
    process_->setProcessChannelMode(QProcess::ForwardedChannels);
    process_->start(playerPath(), toArgs(args));
    process_->waitForStarted(5000);
}

int PlayerProcess::runToEnd(const std::vector<std::string>& args, int timeoutMs,
                            qint64* elapsedMs) {
    QProcess other;
    other.setProcessEnvironment(environment());
    other.setProcessChannelMode(QProcess::ForwardedChannels);
    QElapsedTimer timer;
    timer.start();
    other.start(playerPath(), toArgs(args));
    const bool ended = other.waitForFinished(timeoutMs);
    if (elapsedMs) *elapsedMs = timer.elapsed();
    if (!ended) {
        other.kill();
        other.waitForFinished(2000);
        return -1;
    }
    return other.exitStatus() == QProcess::NormalExit ? other.exitCode() : -1;
}

bool PlayerProcess::waitForMainWindow(int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (!playerWindows().empty()) return true;
        if (!running()) return false;
        QThread::msleep(100);
    }
    return false;
}

int PlayerProcess::terminate(int timeoutMs) {
    if (!running()) return process_ ? process_->exitCode() : -1;
    ::kill(static_cast<pid_t>(process_->processId()), SIGTERM);
    if (!process_->waitForFinished(timeoutMs)) return -1;
    return process_->exitStatus() == QProcess::NormalExit ? process_->exitCode() : -1;
}

bool PlayerProcess::running() const {
    return process_ && process_->state() != QProcess::NotRunning;
}

qint64 PlayerProcess::pid() const {
    return process_ ? process_->processId() : 0;
}

std::string runEdb(const std::filesystem::path& file, const QStringList& command) {
    QProcess tool;
    tool.start(QString::fromStdString((buildDir() / "qinglan-edb").string()),
               QStringList{QString::fromStdString(file.string())} + command);
    tool.waitForFinished(10000);
    return tool.exitCode() == 0 ? tool.readAllStandardOutput().trimmed().toStdString() : "";
}

bool waitFor(const std::function<bool()>& pred, int ms) {
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > ms) return false;
        QThread::msleep(150);
    }
    return true;
}

QString runTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(5000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

std::vector<std::string> playerWindows() {
    // xdotool matches one pattern at a time: find by class, then keep the player's title.
    // xdotool walks every window and gives up when one vanishes under it (the video output
    // replaces its own windows when a new file opens): search again rather than see nothing.
    QProcess search;
    for (int attempt = 0; attempt < 5; ++attempt) {
        search.start("xdotool", {"search", "--onlyvisible", "--class", "^OrvelWindow$"});
        search.waitForFinished(3000);
        if (search.exitStatus() == QProcess::NormalExit && search.exitCode() == 0) break;
        // exit code 1 with no output is also how xdotool says "nothing found"
        if (search.exitCode() == 1 && search.readAllStandardError().isEmpty()) break;
        QThread::msleep(100);
    }
    std::vector<std::string> ids;
    const auto lines =
        QString::fromUtf8(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    for (const auto& id : lines) {
        QProcess name;
        name.start("xdotool", {"getwindowname", id});
        name.waitForFinished(3000);
        if (QString::fromUtf8(name.readAllStandardOutput()).trimmed() ==
            QStringLiteral("青岚播放器"))
            ids.push_back(id.toStdString());
    }
    return ids;
}

std::string findWindow(const QString& title, int ms) {
    std::string id;
    waitFor(
        [&] {
            id = xdotool({"search", "--onlyvisible", "--name", "^" + title + "$"})
                     .section('\n', 0, 0)
                     .toStdString();
            return !id.empty();
        },
        ms);
    return id;
}

void click(const QPoint& p, int button) {
    xdotool({"mousemove", QString::number(p.x()), QString::number(p.y())});
    QThread::msleep(150);
    xdotool({"click", QString::number(button)});
    QThread::msleep(300);
}

} // namespace qinglan::test
