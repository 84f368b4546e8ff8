#pragma once
#include "support/TempDataDir.h"

#include <QPoint>
#include <QProcess>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qinglan::test {

// The real player binary run on the test's X display with an isolated data folder.
class PlayerProcess {
public:
    explicit PlayerProcess(const TempDataDir& data);
    ~PlayerProcess();

    void start(const std::vector<std::string>& args = {});
    // Runs another start of the player to its end; returns the exit code (-1 on time-out).
    int runToEnd(const std::vector<std::string>& args, int timeoutMs, qint64* elapsedMs = nullptr);
    bool waitForMainWindow(int timeoutMs = 10000);
    // Sends SIGTERM and waits; returns the exit code, or -1 when it did not end in time.
    int terminate(int timeoutMs = 10000);
    bool running() const;
    qint64 pid() const;

private:
    QProcessEnvironment environment() const;
    const TempDataDir& data_;
    std::unique_ptr<QProcess> process_;
};

// Polls pred every 150 ms until it holds (true) or ms have passed (false).
bool waitFor(const std::function<bool()>& pred, int ms = 15000);
// Runs a program to its end (at most 5 s) and gives its trimmed standard output.
QString runTool(const QString& program, const QStringList& args);
inline QString xdotool(const QStringList& args) {
    return runTool("xdotool", args);
}

// Runs qinglan-edb on a record file; its standard output, or "" when it failed.
std::string runEdb(const std::filesystem::path& file, const QStringList& command);

// The first visible X window titled exactly `title`, waited for up to ms; "" when none came.
std::string findWindow(const QString& title, int ms = 10000);
// Moves the pointer to a screen point and clicks there (1 left, 3 right), with the pauses a
// user's click leaves the player to react.
void click(const QPoint& p, int button = 1);

// Ids of the X windows whose title is the player's and whose class is "OrvelWindow".
std::vector<std::string> playerWindows();

} // namespace qinglan::test
