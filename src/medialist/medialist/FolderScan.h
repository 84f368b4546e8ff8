#pragma once
// The folder scan behind "添加文件夹": walks a folder's whole tree on a worker thread, takes the
// files whose extension is one of the media patterns, appends them to means.edb and hands them
// to the window thread in the same order for the list's rows.
//
// Order: the files of a folder as the file system returns them, then each of its subfolders
// the same way, depth first and without a depth limit. A folder reached twice (through
// symbolic links) is walked once; folders that cannot be read are skipped; names are kept as
// their bytes.
//
// Records are committed in batches (every `batchFiles` files or `batchMs` milliseconds,
// whichever comes first), and a batch reaches the window thread only after its commit, so the
// rows never show a file the list file lacks. A cancelled scan commits what it found so far
// and stops; a killed one keeps every batch committed before it. A list file that cannot be
// opened or written stops the scan at once: the batch that failed and everything after it is
// neither stored nor shown, and `finished` says why.
//
// Folders asked for while a scan runs are walked after it, in turn. Signals are emitted on the
// thread that owns the object.

#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qinglan::medialist {

// Calls `take` for each matching file under `folder` in list order; stops early when
// `cancelled` turns true; `entering` hears each folder before it is read. Answers how many
// files were taken.
long long walkMediaFiles(const std::string& folder, const std::atomic<bool>& cancelled,
                         const std::function<void(std::string&&)>& take,
                         const std::function<void(const std::string&)>& entering = {});

class FolderScan : public QObject {
    Q_OBJECT
public:
    struct Options {
        std::filesystem::path listFile; // means.edb; empty: rows only, nothing stored
        int batchFiles = 2000;
        int batchMs = 1000;
        int progressMs = 100; // at most one progress report this often
    };
    explicit FolderScan(Options options, QObject* parent = nullptr);
    // Cancels a running scan and waits for its worker.
    ~FolderScan() override;

    void scan(const std::string& folder);
    // Stops the running scan; folders waiting after it end at once, cancelled as well.
    void cancel();
    bool running() const { return busy_; }

signals:
    void progress(long long filesFound, const QString& folder);
    // Paths committed to the list file (or found, when there is none), in order.
    void rowsFound(const std::vector<std::string>& paths);
    // One folder's scan ended; `storeError` is empty when every batch was stored, else a
    // sentence for the user saying why the scan stopped (listFailureText).
    void finished(bool cancelled, const QString& storeError);

private:
    void work();
    void post(std::function<void()> onWindowThread);

    Options options_;
    std::thread worker_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::string> queue_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> halt_{false}; // the running walk stops: cancelled, or the store failed
    std::atomic<bool> stop_{false};
    bool busy_ = false; // window thread's view: a scan was asked for and has not finished
    int pending_ = 0;   // folders asked for and not finished (window thread)
};

} // namespace qinglan::medialist
