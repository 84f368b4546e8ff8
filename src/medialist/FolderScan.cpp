#include "medialist/FolderScan.h"

#include "medialist/ListPaths.h"
#include "medialist/ListStore.h"

#include <QMetaObject>
#include <QPointer>

#include <chrono>
#include <set>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qinglan::medialist {

long long walkMediaFiles(const std::string& folder, const std::atomic<bool>& cancelled,
                         const std::function<void(std::string&&)>& take,
                         const std::function<void(const std::string&)>& entering) {
    long long taken = 0;
    // An explicit stack rather than recursion: a tree may be deeper than a thread's stack.
    std::vector<std::string> pending{withTrailingSlash(folder)};
    std::set<std::pair<dev_t, ino_t>> walked;
    std::vector<std::string> subfolders;
    while (!pending.empty() && !cancelled) {
        const std::string dir = std::move(pending.back());
        pending.pop_back();
        const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) continue; // unreadable or gone: skipped
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !walked.emplace(st.st_dev, st.st_ino).second) {
            ::close(fd);
            continue;
        }
        DIR* d = ::fdopendir(fd);
        if (!d) {
            ::close(fd);
            continue;
        }
        if (entering) entering(dir);
        subfolders.clear();
        while (const dirent* e = ::readdir(d)) {
            if (cancelled) break;
            const char* name = e->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
            unsigned char type = e->d_type;
            if (type == DT_UNKNOWN || type == DT_LNK) {
                // Links count as what they point at; a dangling one is nothing.
                struct stat target {};
                if (::fstatat(fd, name, &target, 0) != 0) continue;
                type = S_ISDIR(target.st_mode) ? DT_DIR : S_ISREG(target.st_mode) ? DT_REG : 0;
            }
            if (type == DT_REG) {
                std::string path = dir + name;
                if (matchesMediaPattern(path)) {
                    ++taken;
                    take(std::move(path));
                }
            } else if (type == DT_DIR) {
                subfolders.push_back(dir + name + '/');
            }
        }
        ::closedir(d);
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
