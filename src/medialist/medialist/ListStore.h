#pragma once
// The video list's file means.edb beside mote.edb: one record per added file, its full path in
// field 1, in the order the files were added; the same path may be stored several times.
//
// Opened with the settings' password. A missing file is created empty; a damaged, foreign or
// wrong-password file is moved aside as the settings file is (means.edb.broken-...) and a
// notice for the user is queued. Every change is committed before the call returns.
// Window thread only; other connections (the folder scan, the add-files helper) may write the
// same file meanwhile, and the next read sees what they committed.

#include <edb/RecordDatabase.h>

#include <filesystem>
#include <string>
#include <vector>

namespace qinglan::medialist {

// Field 1: the file's full path.
constexpr int kPathField = 1;

class ListStore {
public:
    explicit ListStore(std::filesystem::path folder);

    std::filesystem::path file() const;
    edb::Status open();
    bool isOpen() const { return db_.isOpen(); }
    // Takes a connection to this file opened elsewhere (a start-up thread), as open() would
    // have; ignored when the store is already open.
    void adopt(edb::RecordDatabase db) {
        if (!db_.isOpen()) db_ = std::move(db);
    }

    // Field 1 of every record, in file order.
    edb::Result<std::vector<std::string>> paths();
    // Appends one record per path, in one transaction.
    edb::Status append(const std::vector<std::string>& paths);
    // Removes every record of that path.
    edb::Status remove(const std::string& path);
    edb::Status clear();

    std::vector<std::string> takeNotices();

private:
    std::filesystem::path folder_;
    edb::RecordDatabase db_;
    std::vector<std::string> notices_;
};

// One sentence for the user on why the list file could not be opened or written, in the
// player's language, with the store's own wording after it for whoever looks closer.
std::string listFailureText(const std::filesystem::path& file, const edb::Status& why);

// Opens the list file for a writer of its own (the folder scan, the add-files helper),
// waiting while another connection holds it busy; a missing file is created empty.
edb::Result<edb::RecordDatabase> openListForAppending(const std::filesystem::path& file);

} // namespace qinglan::medialist
