#pragma once
// A returning user's record files (mote.edb, means.edb) opened beside the toolkit's start-up.
// Opening one costs tens of milliseconds of password key derivation, and the creation sequence
// needs both before the first frame: each is opened on a thread of its own while QApplication
// starts, and the creation sequence takes the open connection instead of opening the file
// itself. Nothing is created, set aside or written on those threads (beyond SQLite's own
// rollback of what a crash left): a file that is missing or does not open is left to the usual
// path on the window thread, which reports and recovers as ever.
#include <edb/RecordDatabase.h>

#include <filesystem>
#include <future>
#include <optional>

namespace qinglan::app {

class StorePrefetch {
public:
    // Starts opening both files of `folder` that exist.
    void start(const std::filesystem::path& folder);
    // The opened connection of that folder's file, once; empty when it was not started for
    // that folder, or the file did not open. Waits for the opening thread.
    std::optional<edb::RecordDatabase> takeSettings(const std::filesystem::path& folder);
    std::optional<edb::RecordDatabase> takeList(const std::filesystem::path& folder);

private:
    std::filesystem::path folder_;
    std::future<std::optional<edb::RecordDatabase>> settings_;
    std::future<std::optional<edb::RecordDatabase>> list_;
};

} // namespace qinglan::app
