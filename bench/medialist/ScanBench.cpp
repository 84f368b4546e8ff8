// The folder scan of a generated tree of 100,000 files (mixed extensions and letter cases,
// depth 6) into the list's rows and means.edb, against `find DIR -type f | wc -l` on the same
// tree in the same run. Each is run once cold-ish (just written) and then timed warm.
#include <medialist/FolderScan.h>
#include <medialist/ListModel.h>
#include <medialist/ListStore.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace qinglan;

namespace {

constexpr const char* kExtensions[] = {"mp4", "mkv", "avi", "MP4", "rmvb", "txt", "Mkv",
                                       "mp3", "srt", "ts",  "jpg", "flv",  "AVI", "vob"};

// 5 folders on each of 5 levels under the root, files in the deepest folders (depth 6).
long long makeTree(const fs::path& root, long long files) {
    const int leaves = 5 * 5 * 5 * 5 * 5;
    const long long perLeaf = (files + leaves - 1) / leaves;
    long long made = 0;
    for (int leaf = 0; leaf < leaves && made < files; ++leaf) {
        fs::path dir = root;
        for (int level = 0, n = leaf; level < 5; ++level, n /= 5)
            dir /= "d" + std::to_string(n % 5);
        fs::create_directories(dir);
        for (long long i = 0; i < perLeaf && made < files; ++i, ++made) {
            const char* ext = kExtensions[made % std::size(kExtensions)];
            std::ofstream(dir / ("clip " + std::to_string(made) + "." + ext));
        }
    }
    return made;
}

double timeFind(const fs::path& root, long long* count) {
    QElapsedTimer t;
    t.start();
    const std::string cmd = "find '" + root.string() + "' -type f | wc -l";
    FILE* p = ::popen(cmd.c_str(), "r");
    long long n = 0;
    if (p && std::fscanf(p, "%lld", &n) != 1) n = -1;
    if (p) ::pclose(p);
    *count = n;
    return t.nsecsElapsed() / 1e9;
}

struct ScanResult {
    double seconds = 0;
    long long rows = 0, records = 0;
};

ScanResult timeScan(const fs::path& root, const fs::path& listFolder) {
    fs::remove_all(listFolder);
    fs::create_directories(listFolder);
    medialist::ListStore store(listFolder);
    store.open();
    medialist::ListModel model;
    medialist::FolderScan scan({.listFile = store.file()});
    bool done = false;
    QObject::connect(&scan, &medialist::FolderScan::rowsFound,
                     [&](const std::vector<std::string>& p) { model.addRows(p); });
    QObject::connect(&scan, &medialist::FolderScan::finished,
                     [&](bool, const QString&) { done = true; });
    QElapsedTimer t;
    t.start();
    scan.scan(root.string());
    while (!done)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    ScanResult r;
    r.seconds = t.nsecsElapsed() / 1e9;
    r.rows = model.count();
    auto paths = store.paths();
    r.records = paths.ok() ? static_cast<long long>(paths.value().size()) : -1;
    return r;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const long long wanted = argc > 1 ? std::atoll(argv[1]) : 100000;
    const fs::path base =
        fs::temp_directory_path() / ("qinglan-scan-bench-" + std::to_string(::getpid()));
    const fs::path root = base / "tree";
    std::printf("making a tree of %lld files under %s ...\n", wanted, root.c_str());
    const long long files = makeTree(root, wanted);

    long long found = 0;
    timeFind(root, &found); // warms the cache for both
    const double findSeconds = timeFind(root, &found);
    ScanResult scan = timeScan(root, base / "list");
    scan = timeScan(root, base / "list"); // warm, like find

    std::printf("tree: %lld files, depth 6\n", files);
    std::printf("find -type f | wc -l: %lld files in %.3f s = %.0f files/s\n", found, findSeconds,
                found / findSeconds);
    std::printf("scan into rows and means.edb: %lld files walked, %lld records, %lld rows in "
                "%.3f s = %.0f files/s\n",
                files, scan.records, scan.rows, scan.seconds, files / scan.seconds);
    std::printf("scan time / find time: %.2f\n", scan.seconds / findSeconds);
    std::error_code ec;
    fs::remove_all(base, ec);
    return 0;
}
