// The folder scan: what it takes, in which order, stored in batches, on a worker thread.
#include <medialist/FolderScan.h>
#include <medialist/ListStore.h>

#include "support/TempDataDir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace qinglan;
using namespace qinglan::medialist;
namespace fs = std::filesystem;

namespace {

void touch(const fs::path& p) {
    fs::create_directories(p.parent_path());
    std::ofstream(p) << "x";
}

std::vector<std::string> walk(const fs::path& folder) {
    std::atomic<bool> cancelled{false};
    std::vector<std::string> out;
    walkMediaFiles(folder.string(), cancelled, [&](std::string&& p) { out.push_back(p); });
    return out;
}

// Runs one scan to its end on this thread's event loop; the rows as they arrived.
struct ScanRun {
    std::vector<std::string> rows;
    int batches = 0;
    bool cancelled = false;
    QString storeError;
    bool ended = false;
};

ScanRun runScan(FolderScan& scan, const std::string& folder,
                const std::function<void(FolderScan&, ScanRun&)>& onBatch = {}) {
    ScanRun run;
    QObject::connect(&scan, &FolderScan::rowsFound, [&](const std::vector<std::string>& p) {
        run.rows.insert(run.rows.end(), p.begin(), p.end());
        ++run.batches;
        if (onBatch) onBatch(scan, run);
    });
    QObject::connect(&scan, &FolderScan::finished, [&](bool c, const QString& e) {
        run.cancelled = c;
        run.storeError = e;
        run.ended = true;
    });
    scan.scan(folder);
    QElapsedTimer t;
    t.start();
    while (!run.ended && t.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return run;
}

// Another program holding the list file's write lock (the byte SQLite takes before it writes)
// until the object goes: a child process, since a lock of this process would not stop itself.
class ForeignWriteLock {
public:
    explicit ForeignWriteLock(const fs::path& file) {
        int ready[2], release[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0) return;
        child_ = ::fork();
        if (child_ == 0) {
            const int fd = ::open(file.c_str(), O_RDWR);
            struct flock lock {};
            lock.l_type = F_WRLCK;
            lock.l_whence = SEEK_SET;
            lock.l_start = 0x40000001; // SQLite's reserved byte
            lock.l_len = 1;
            const char ok = fd >= 0 && ::fcntl(fd, F_SETLK, &lock) == 0 ? '1' : '0';
            (void)!::write(ready[1], &ok, 1);
            char c;
            ::close(release[1]);
            (void)!::read(release[0], &c, 1); // returns when the parent closes its end
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        releaseFd_ = release[1];
        char ok = '0';
        locked_ = ::read(ready[0], &ok, 1) == 1 && ok == '1';
        ::close(ready[0]);
    }
    ~ForeignWriteLock() {
        if (releaseFd_ >= 0) ::close(releaseFd_);
        if (child_ > 0) ::waitpid(child_, nullptr, 0);
    }
    bool locked() const { return locked_; }

private:
    pid_t child_ = -1;
    int releaseFd_ = -1;
    bool locked_ = false;
};

std::vector<std::string> stored(const fs::path& file) {
    ListStore store(file.parent_path());
    auto p = store.paths();
    return p.ok() ? p.value() : std::vector<std::string>{};
}

} // namespace

TEST(FolderScan, TakesOnlyTheListedTypesInTheirCaseFromTheWholeTree) {
    test::TempDataDir dir;
    const fs::path root = dir.path() / "videos";
    touch(root / "a.avi");
    touch(root / "b.MKV");
    touch(root / "c.txt");
    touch(root / "sub" / "d.mp3");
    FolderScan scan({.listFile = dir.path() / "means.edb"});
    const ScanRun run = runScan(scan, root.string());
    ASSERT_TRUE(run.ended);
    EXPECT_FALSE(run.cancelled);
    EXPECT_TRUE(run.storeError.isEmpty()) << run.storeError.toStdString();
    const std::vector<std::string> expected{(root / "a.avi").string(),
                                            (root / "sub" / "d.mp3").string()};
    EXPECT_EQ(run.rows, expected);
    EXPECT_EQ(stored(dir.path() / "means.edb"), expected);
    EXPECT_FALSE(scan.running());
}

TEST(FolderScan, FilesOfAFolderComeBeforeItsSubfoldersDepthFirst) {
    test::TempDataDir dir;
    const fs::path root = dir.path() / "t";
    touch(root / "x" / "deep" / "3.mp4");
    touch(root / "x" / "2.mp4");
    touch(root / "1.mp4");
    touch(root / "y" / "4.mp4");
    const auto rows = walk(root);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (root / "1.mp4").string());
    // Each subfolder's whole tree comes before the next subfolder, its own files first.
    const auto pos = [&](const fs::path& p) {
        return std::find(rows.begin(), rows.end(), p.string()) - rows.begin();
    };
    if (pos(root / "x" / "2.mp4") < pos(root / "y" / "4.mp4")) {
        EXPECT_EQ(pos(root / "x" / "2.mp4"), 1);
        EXPECT_EQ(pos(root / "x" / "deep" / "3.mp4"), 2);
    } else {
        EXPECT_EQ(pos(root / "y" / "4.mp4"), 1);
        EXPECT_EQ(pos(root / "x" / "2.mp4"), 2);
    }
    // A folder given with its slash is read the same, without a second one.
    EXPECT_EQ(walk(root.string() + "/"), rows);
}

TEST(FolderScan, AFolderReachedTwiceThroughLinksIsWalkedOnce) {
    test::TempDataDir dir;
    const fs::path root = dir.path() / "loop";
    touch(root / "inner" / "clip.mp4");
    fs::create_directory_symlink(root, root / "inner" / "back");  // a cycle
    fs::create_directory_symlink(root / "inner", root / "again"); // a second way in
    touch(dir.path() / "outside" / "linked.mp4");
    fs::create_directory_symlink(dir.path() / "outside", root / "elsewhere");
    fs::create_symlink(root / "missing.mp4", root / "dangling.mp4");
    fs::create_symlink(dir.path() / "outside" / "linked.mp4", root / "file-link.mp4");
    const auto rows = walk(root);
    EXPECT_EQ(std::count_if(rows.begin(), rows.end(),
                            [](const std::string& p) { return p.ends_with("/clip.mp4"); }),
              1);
    EXPECT_EQ(std::count_if(rows.begin(), rows.end(),
                            [](const std::string& p) { return p.ends_with("linked.mp4"); }),
              1);
    EXPECT_EQ(std::count_if(rows.begin(), rows.end(),
                            [](const std::string& p) { return p.ends_with("file-link.mp4"); }),
              1);
    EXPECT_EQ(rows.size(), 3u);
}

TEST(FolderScan, UnreadableFoldersAreSkippedAndOddBytesKept) {
    test::TempDataDir dir;
    const fs::path root = dir.path() / "r";
    touch(root / "open" / "ok.mp4");
    touch(root / "closed" / "hidden.mp4");
    const std::string odd = (root / "caf\xe9 \x01.mp4").string();
    std::ofstream(odd) << "x";
    ::chmod((root / "closed").c_str(), 0);
    const auto rows = walk(root);
    ::chmod((root / "closed").c_str(), 0755);
    EXPECT_NE(std::find(rows.begin(), rows.end(), (root / "open" / "ok.mp4").string()), rows.end());
    EXPECT_NE(std::find(rows.begin(), rows.end(), odd), rows.end());
    if (::geteuid() != 0) { // root reads every folder
        EXPECT_EQ(rows.size(), 2u);
    }
    EXPECT_TRUE(walk(dir.path() / "no such folder").empty());
}

TEST(FolderScan, RecordsAreCommittedInBatchesBeforeTheirRowsArrive) {
    test::TempDataDir dir;
    const fs::path root = dir.path() / "many";
    for (int i = 0; i < 25; ++i)
        touch(root / ("f" + std::to_string(i) + ".mp4"));
    const fs::path file = dir.path() / "means.edb";
    FolderScan scan({.listFile = file, .batchFiles = 10, .batchMs = 60000});
    std::vector<std::size_t> storedAtBatch;
    const ScanRun run = runScan(scan, root.string(), [&](FolderScan&, ScanRun& r) {
        storedAtBatch.push_back(stored(file).size());
        EXPECT_GE(storedAtBatch.back(), r.rows.size());
    });
    EXPECT_EQ(run.batches, 3);
    EXPECT_EQ(run.rows.size(), 25u);
    EXPECT_EQ(stored(file), run.rows);
}

TEST(FolderScan, ACancelledScanKeepsWhatItFoundAndTheNextScanRunsAfresh) {
    test::TempDataDir dir;
    const fs::path root = dir.path() / "big";
    for (int d = 0; d < 40; ++d)
        for (int i = 0; i < 50; ++i)
            touch(root / ("d" + std::to_string(d)) / ("f" + std::to_string(i) + ".mp4"));
    const fs::path file = dir.path() / "means.edb";
    FolderScan scan({.listFile = file, .batchFiles = 50, .batchMs = 60000});
    const ScanRun run = runScan(scan, root.string(), [](FolderScan& s, ScanRun& r) {
        if (r.batches == 1) s.cancel();
    });
    ASSERT_TRUE(run.ended);
    EXPECT_TRUE(run.cancelled);
    EXPECT_GE(run.rows.size(), 50u);
    EXPECT_LT(run.rows.size(), 2000u);
    EXPECT_EQ(stored(file), run.rows); // rows and records agree, nothing half-written
    FolderScan again({.listFile = file});
    const ScanRun second = runScan(again, (root / "d0").string());
    EXPECT_FALSE(second.cancelled);
    EXPECT_EQ(second.rows.size(), 50u);
}

TEST(FolderScan, FoldersAskedForDuringAScanFollowInTurn) {
    test::TempDataDir dir;
    touch(dir.path() / "one" / "1.mp4");
    touch(dir.path() / "two" / "2.mp4");
    FolderScan scan({.listFile = dir.path() / "means.edb"});
    std::vector<std::string> rows;
    int ended = 0;
    QObject::connect(&scan, &FolderScan::rowsFound, [&](const std::vector<std::string>& p) {
        rows.insert(rows.end(), p.begin(), p.end());
    });
    QObject::connect(&scan, &FolderScan::finished, [&](bool, const QString&) { ++ended; });
    scan.scan((dir.path() / "one").string());
    scan.scan((dir.path() / "two").string());
    EXPECT_TRUE(scan.running());
    QElapsedTimer t;
    t.start();
    while (ended < 2 && t.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(rows, (std::vector<std::string>{(dir.path() / "one" / "1.mp4").string(),
                                              (dir.path() / "two" / "2.mp4").string()}));
    EXPECT_FALSE(scan.running());
}

TEST(FolderScan, AListFileThatCannotBeOpenedStopsTheScanWithNoRowsAndSaysWhy) {
    test::TempDataDir dir;
    touch(dir.path() / "videos" / "a.mp4");
    touch(dir.path() / "videos" / "b.mkv");
    const fs::path file = dir.path() / "means.edb";
    std::ofstream(file, std::ios::binary) << std::string(5000, 'Z'); // not ours
    FolderScan scan({.listFile = file});
    const ScanRun run = runScan(scan, (dir.path() / "videos").string());
    ASSERT_TRUE(run.ended);
    EXPECT_TRUE(run.rows.empty());
    EXPECT_FALSE(run.cancelled);
    EXPECT_TRUE(
        run.storeError.startsWith(QStringLiteral("means.edb 无法保存（不是本程序的数据文件）")))
        << run.storeError.toStdString();
    EXPECT_EQ(fs::file_size(file), 5000u); // left as it was
}

TEST(FolderScan, AListFileLockedTooLongStopsTheScanAndShowsOnlyWhatWasStored) {
    test::TempDataDir dir;
    for (int i = 0; i < 30; ++i)
        touch(dir.path() / "videos" / ("f" + std::to_string(i) + ".mp4"));
    const fs::path file = dir.path() / "means.edb";
    {
        ListStore store(dir.path());
        ASSERT_TRUE(store.append({"/earlier/old.mp4"}).ok());
    }
    FolderScan scan({.listFile = file, .batchFiles = 10, .batchMs = 60000});
    ScanRun run;
    {
        ForeignWriteLock lock(file);
        ASSERT_TRUE(lock.locked());
        run = runScan(scan, (dir.path() / "videos").string());
    }
    ASSERT_TRUE(run.ended);
    EXPECT_TRUE(run.rows.empty()) << run.rows.size() << " rows shown without their records";
    EXPECT_TRUE(run.storeError.startsWith(QStringLiteral("means.edb 无法保存（被其他程序占用）")))
        << run.storeError.toStdString();
    EXPECT_EQ(stored(file), std::vector<std::string>{"/earlier/old.mp4"});
    // Once the lock is gone the same folder is taken whole.
    FolderScan again({.listFile = file});
    const ScanRun second = runScan(again, (dir.path() / "videos").string());
    EXPECT_TRUE(second.storeError.isEmpty()) << second.storeError.toStdString();
    EXPECT_EQ(second.rows.size(), 30u);
    EXPECT_EQ(stored(file).size(), 31u);
}
