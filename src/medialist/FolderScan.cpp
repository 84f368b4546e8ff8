#include "medialist/FolderScan.h"

#include "medialist/ListPaths.h"
#include "medialist/ListStore.h"

#include <QMetaObject>
#include <QPointer>

#include <chrono>
#include <filesystem>
#include <set>
#include <system_error>
#include <utility>

namespace qinglan::medialist {

namespace {

// Paths are texts of bytes here, kept as they are; where the system's names are wide they are
// UTF-8.
std::filesystem::path pathOf(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string nameOf(const std::filesystem::path& p) {
    const auto name = p.filename().u8string();
    return {name.begin(), name.end()};
}

} // namespace

long long walkMediaFiles(const std::string& folder, const std::atomic<bool>& cancelled,
                         const std::function<void(std::string&&)>& take,
                         const std::function<void(const std::string&)>& entering) {
    namespace fs = std::filesystem;
    long long taken = 0;
    // An explicit stack rather than recursion: a tree may be deeper than a thread's stack.
    std::vector<std::string> pending{withTrailingSlash(folder)};
    // Each folder by the path with every link resolved: a folder reached again through a link
    // has the same one.
    std::set<fs::path> walked;
    std::vector<std::string> subfolders;
    while (!pending.empty() && !cancelled) {
        const std::string dir = std::move(pending.back());
        pending.pop_back();
        std::error_code ec;
        fs::directory_iterator entries(pathOf(dir), ec);
        if (ec) continue; // unreadable or gone: skipped
        const auto identity = fs::canonical(pathOf(dir), ec);
        if (ec || !walked.insert(identity).second) continue;
        if (entering) entering(dir);
        subfolders.clear();
        // The entries in the order the file system gives them; an error ends the folder.
        for (; entries != fs::directory_iterator(); entries.increment(ec)) {
            if (cancelled) break;
            // Links count as what they point at; a dangling one is nothing.
            std::error_code typeError;
            const auto& entry = *entries;
            if (entry.is_regular_file(typeError)) {
                std::string path = dir + nameOf(entry.path());
                if (matchesMediaPattern(path)) {
                    ++taken;
                    take(std::move(path));
                }
            } else if (!typeError && entry.is_directory(typeError)) {
                subfolders.push_back(dir + nameOf(entry.path()) + '/');
            }
        }
        // The first subfolder is walked next, with its whole tree before the second.
        for (auto it = subfolders.rbegin(); it != subfolders.rend(); ++it)
            pending.push_back(std::move(*it));
    }
    return taken;
}

FolderScan::FolderScan(Options options, QObject* parent)
    : QObject(parent), options_(std::move(options)) {}

FolderScan::~FolderScan() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        cancel_ = true;
        halt_ = true;
        queue_.clear();
    }
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
}

void FolderScan::post(std::function<void()> onWindowThread) {
    QMetaObject::invokeMethod(this, std::move(onWindowThread), Qt::QueuedConnection);
}

void FolderScan::scan(const std::string& folder) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(folder);
        ++pending_;
        busy_ = true;
    }
    if (!worker_.joinable()) worker_ = std::thread([this] { work(); });
    wake_.notify_all();
}

void FolderScan::cancel() {
    std::lock_guard lock(mutex_);
    // Folders still waiting end at once as cancelled; the running one stops at its next entry.
    cancel_ = true;
    halt_ = true;
}

void FolderScan::work() {
    using Clock = std::chrono::steady_clock;
    for (;;) {
        std::string folder;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
            if (stop_) return;
            folder = std::move(queue_.front());
            queue_.pop_front();
        }
        edb::RecordDatabase db;
        // The first store failure: it stops the walk, and nothing found after it is shown.
        QString storeError;
        const auto fail = [&](const edb::Status& why) {
            storeError = QString::fromStdString(listFailureText(options_.listFile, why));
            halt_ = true;
        };
        if (!options_.listFile.empty()) {
            auto opened = openListForAppending(options_.listFile);
            if (opened.ok())
                db = std::move(opened).value();
            else
                fail(opened.status());
        }
        std::vector<std::string> batch;
        long long found = 0;
        auto lastCommit = Clock::now(), lastProgress = Clock::time_point{};
        std::string reading;
        auto report = [&](bool force) {
            const auto now = Clock::now();
            if (!force && now - lastProgress < std::chrono::milliseconds(options_.progressMs))
                return;
            lastProgress = now;
            post([this, found, f = QString::fromUtf8(reading)] { emit progress(found, f); });
        };
        // Rows are shown only for records that are in the file: a batch that could not be
        // stored would vanish at the next start, so it is never shown.
        auto commit = [&] {
            if (batch.empty() || !storeError.isEmpty()) return;
            if (db.isOpen()) {
                if (auto s = db.appendTexts(kPathField, batch); !s.ok()) {
                    fail(s);
                    batch.clear();
                    return;
                }
            }
            post([this, rows = std::move(batch)] { emit rowsFound(rows); });
            batch.clear();
            lastCommit = Clock::now();
        };
        {
            std::lock_guard lock(mutex_);
            halt_ = cancel_ || !storeError.isEmpty();
        }
        if (!halt_) {
            walkMediaFiles(
                folder, halt_,
                [&](std::string&& path) {
                    batch.push_back(std::move(path));
                    ++found;
                    if (static_cast<int>(batch.size()) >= options_.batchFiles ||
                        Clock::now() - lastCommit >= std::chrono::milliseconds(options_.batchMs))
                        commit();
                    report(false);
                },
                [&](const std::string& dir) {
                    reading = dir;
                    report(false);
                });
        }
        commit(); // a cancelled scan keeps what it found so far
        report(true);
        db.close();
        bool cancelled;
        {
            std::lock_guard lock(mutex_);
            cancelled = cancel_;
            if (queue_.empty()) cancel_ = false; // the next scan asked for starts afresh
        }
        post([this, cancelled, storeError] {
            if (--pending_ == 0) busy_ = false;
            emit finished(cancelled, storeError);
        });
    }
}

} // namespace qinglan::medialist
