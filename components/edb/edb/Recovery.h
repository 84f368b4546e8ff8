#pragma once
// Opening a database file that the program owns and must never lose: a missing file is created
// fresh; a file that cannot be opened because it is damaged, foreign or has another password is
// moved aside (never overwritten, never deleted) and a fresh file takes its place.
//
// The set-aside name is FILE + ".broken-YYYYmmdd-HHMMSS" (local time) in the same folder, with
// "-2", "-3", ... appended if that name is taken. A file is set aside only when a second open,
// on a fresh connection, gives the same verdict. Failures that may be passing (Busy, Io,
// ReadOnly) are returned as errors and the file stays where it is; so is a file that a crash
// left in the middle of a write, which open() rolls back and opens.
//
// A fresh file is built under a temporary name in the same folder, filled, and only then linked
// into place, so a crash never leaves a half-filled database under the real name.

#include "edb/RecordDatabase.h"

#include <filesystem>
#include <functional>
#include <string>

namespace qinglan::edb {

struct RecoveredDatabase {
    RecordDatabase db;
    bool created = false;               // the file was missing or set aside and made fresh
    std::filesystem::path setAsidePath; // where the broken file went; empty if none
    Status openError;                   // why the old file was set aside
};

// `fillFresh` fills a new, empty database (e.g. appends the settings record with defaults);
// it may be empty. The folder of `file` is created if needed.
Result<RecoveredDatabase> openOrRecover(const std::filesystem::path& file,
                                        const std::string& password,
                                        const std::function<Status(RecordDatabase&)>& fillFresh);

// True for the errors that mean "this file will never open": the file is set aside for them.
bool isPermanentOpenError(ErrorCode code);

} // namespace qinglan::edb
