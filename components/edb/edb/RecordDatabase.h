#pragma once
// The record database behind the player's .edb files (mote.edb: settings, means.edb: video list).
//
// Model. A database is an ordered list of records; each record holds numbered fields (1, 2, ...)
// whose values are texts or integers (see FieldValue). One record is "current": reads and writes
// by field number go to it. Records keep the order in which they were appended.
//
// File format. An SQLCipher 3 database (SQLCipher's defaults: AES-256-CBC, HMAC-SHA1 per
// 1024-byte page, PBKDF2 key derivation from the password), so the file cannot be read as plain
// SQLite nor with another password. `sqlcipher FILE` with `PRAGMA key = '<password>';` opens it
// for inspection. Inside:
//   edb_info(key TEXT PRIMARY KEY, value TEXT NOT NULL)
//       ('format', 'qinglan-edb') and ('version', '1'): identifies the file as ours.
//   edb_records(id INTEGER PRIMARY KEY)
//       one row per record; file order is ascending id.
//   edb_fields(record INTEGER NOT NULL, field INTEGER NOT NULL, value, PRIMARY KEY(record, field))
//       WITHOUT ROWID; value is stored with its own type (TEXT, INTEGER, or REAL if another tool
//       put one there). A field that has no row is absent (reads as FieldValue{}).
// The rollback journal ("FILE-journal") is used in its default DELETE mode; no other side files.
//
// Durability. Every write (write, writeFields, append, appendRecords, removeByFirstField, clear)
// is one transaction that is committed, with the file synced, before the call returns. A batch
// either lands whole or not at all.
//
// Bad files. open() never creates a file and never writes before it has verified the password
// and the file's structure (an integrity check of every page), so a missing file, a file that
// is not a database, a database with another password, and a truncated or corrupted file each
// give an error value and leave the file byte-identical.
//
// Crashes. A file that a crash (kill -9, power cut) left in the middle of a transaction has a
// hot journal beside it; open() rolls it back to its last commit (this needs write access) and
// then verifies it like any other file, so an interrupted write is never reported as a bad file.
// After a rollback the content is that of the last commit, though not byte for byte: SQLCipher
// encrypts each page afresh when it copies it into the journal.
//
// Threading. One RecordDatabase object must be used by one thread at a time. Separate objects,
// in one or in several processes, may use the same file: SQLite's locks serialise them and a
// busy lock (also the one that rolling back a hot journal needs) is waited for up to two
// seconds before Busy is returned.

#include "edb/FieldValue.h"
#include "edb/Status.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct sqlite3;

namespace qinglan::edb {

// One record to append: (field number, value) pairs.
using Record = std::vector<std::pair<int, FieldValue>>;

class RecordDatabase {
public:
    RecordDatabase();
    ~RecordDatabase();
    RecordDatabase(RecordDatabase&&) noexcept;
    RecordDatabase& operator=(RecordDatabase&&) noexcept;
    RecordDatabase(const RecordDatabase&) = delete;
    RecordDatabase& operator=(const RecordDatabase&) = delete;

    // Opens an existing file. The first record (if any) becomes current.
    // Errors: Missing, NotADatabase, WrongPassword, Corrupt, Busy, Io.
    static Result<RecordDatabase> open(const std::filesystem::path& file,
                                       const std::string& password);

    // Creates a new empty database; fails with AlreadyExists rather than touch an existing file.
    // The folder must exist.
    static Result<RecordDatabase> create(const std::filesystem::path& file,
                                         const std::string& password);

    bool isOpen() const { return db_ != nullptr; }
    const std::filesystem::path& path() const { return path_; }
    void close();

    // Number of records.
    Result<int> count();

    // Makes the record at 1-based position `index` current (NoRecord when out of range).
    Status goTo(int index);
    // 1-based position of the current record, 0 when there is none.
    Result<int> currentIndex();

    // Field of the current record; absent fields read as FieldValue{} (NoRecord if none current).
    Result<FieldValue> read(int field);
    // Every field of the current record in ascending field order.
    Result<std::vector<std::pair<int, FieldValue>>> readAll();
    // Replaces one field of the current record. Writing FieldValue{} removes the field.
    Status write(int field, const FieldValue& value);
    // Replaces several fields of the current record in the given order, in one transaction.
    Status writeFields(const Record& fields);

    // Appends an empty record (or one with the given fields) and makes it current.
    Status append(const Record& fields = {});
    // Appends many records in one transaction; the last one becomes current.
    Status appendRecords(const std::vector<Record>& records);
    // Convenience for lists: one record per text, the text in `field`.
    Status appendTexts(int field, const std::vector<std::string>& texts);

    // Field `field` of every record, in file order (absent -> FieldValue{}).
    Result<std::vector<FieldValue>> readFieldOfAll(int field);

    // Removes every record whose field 1 is exactly `text` and compacts the file once a
    // quarter of its pages are free. Returns how many records were removed. If the current
    // record was removed, the first record becomes current.
    Result<int> removeByFirstField(std::string_view text);
    // Rebuilds the file without free pages.
    Status compact();
    // SQLite's full integrity check of every page, index and table; Corrupt with its first
    // complaint when it finds any.
    Status checkIntegrity();
    // Removes every record.
    Status clear();

private:
    RecordDatabase(sqlite3* db, std::filesystem::path path);
    Status resetCurrentToFirst();
    Status requireCurrent();
    bool worthCompacting();
    Status inTransaction(const char* what, const std::function<Status()>& body);

    sqlite3* db_ = nullptr;
    std::filesystem::path path_;
    std::int64_t current_ = 0; // record id, 0 = none
};

} // namespace qinglan::edb
