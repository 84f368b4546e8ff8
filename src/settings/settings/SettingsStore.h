#pragma once
// SettingsStore: the settings file mote.edb, one record of 207 numbered fields (see
// SettingsFields.h), opened with the database password and kept open once opened. Every write
// is committed to the file before it returns; there is no separate save step.
//
// Opening never loses the user's file: a missing file is created with every default (plus
// first-run window geometry); a damaged, foreign or wrong-password file is moved aside as
// mote.edb.broken-YYYYmmdd-HHMMSS in the same folder, a fresh file takes its place and a notice
// for the user is queued (takeNotices()). A file that is only locked or unwritable for the
// moment is left alone and open() reports the error. A file left in the middle of a write by a
// crash is rolled back to its last commit and opened, never set aside.
//
// A store that could not be opened when the player started is kept closed for the rest of the
// run (keepClosedForThisRun): from then on it neither reads nor writes, creates nor sets aside
// the file, and every read and write says so in its status.
//
// Threading: all members may be called from any thread; calls are serialised by a mutex (the
// settings pages read their fields on short-lived worker threads).

#include "edb/RecordDatabase.h"
#include "settings/Rect.h"
#include "settings/SettingsFields.h"
#include "settings/SettingsValue.h"

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qinglan::settings {

// Used for first-run geometry when no screen is known (e.g. the command-line tool).
constexpr Rect kDefaultWorkArea{0, 0, 1920, 1080};

class SettingsStore {
public:
    // `folder` holds mote.edb (see dataDirectory()); `workArea` is the screen's work area, used
    // only to centre the main window when a fresh file is made.
    explicit SettingsStore(std::filesystem::path folder, Rect workArea = kDefaultWorkArea);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    std::filesystem::path file() const;

    // Opens mote.edb (creating or recovering it as above). Does nothing when already open.
    edb::Status open();
    bool isOpen() const;
    // Takes a connection to this store's file opened elsewhere (a start-up thread), as open()
    // would have. Ignored when the store is already open or kept closed for the run.
    edb::Status adopt(edb::RecordDatabase db);
    void close();

    // Closes the store and leaves the file alone until the store is destroyed: open(), read()
    // and write() touch nothing and fail with `why` (the reason the start could not open it),
    // so a later write can neither create the file nor set it aside.
    void keepClosedForThisRun(const edb::Status& why);
    bool isKeptClosed() const;

    // Reads one field (1..207), opening the store first if needed. Integer fields give an
    // integer (any stored number truncated toward zero), text fields a text; an absent field
    // reads as "" or 0.
    edb::Result<SettingsValue> read(int field);
    // Every field 1..207 at once, index i holding field i + 1.
    edb::Result<std::vector<SettingsValue>> readAll();

    // Replaces one field, committed before returning. A value of the other kind is converted:
    // an integer field stores the text read as a number, a text field stores the decimal text.
    edb::Status write(int field, const SettingsValue& value);
    // Several fields, written in the given order in one transaction.
    edb::Status writeFields(const std::vector<std::pair<int, SettingsValue>>& fields);

    // Messages for the user about files that were set aside; each is returned once.
    std::vector<std::string> takeNotices();

    // Every field's value for a fresh file.
    static std::vector<std::pair<int, SettingsValue>>
    firstRunValues(Rect workArea, const std::filesystem::path& specialFolder);
    // The page default of one field (for fields that have one).
    static SettingsValue pageDefault(int field, const std::filesystem::path& specialFolder);

    // Creates a settings file with every default at `file`; refuses to replace an existing file.
    static edb::Status createFile(const std::filesystem::path& file,
                                  Rect workArea = kDefaultWorkArea);

private:
    edb::Status openLocked();
    edb::Status selectSettingsRecordLocked();

    mutable std::mutex mutex_;
    std::filesystem::path folder_;
    Rect workArea_;
    edb::RecordDatabase db_;
    std::optional<edb::Status> keptClosed_; // set: every access fails with this status
    std::vector<std::string> notices_;
};

// Converts a value to the kind the field holds.
edb::FieldValue toStoredValue(int field, const SettingsValue& value);

// The notice shown once when a database file had to be set aside (also used for means.edb).
std::string setAsideNotice(const std::filesystem::path& original,
                           const std::filesystem::path& setAside, const edb::Status& why);

} // namespace qinglan::settings
