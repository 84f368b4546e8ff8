#include "edb/RecordDatabase.h"

#include "Sqlite.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

namespace qinglan::edb {

using detail::exec;
using detail::Statement;
using detail::statusFrom;

namespace {

constexpr const char* kFormatName = "qinglan-edb";
constexpr int kBusyTimeoutMs = 2000;
constexpr std::uintmax_t kPageSize = 1024; // SQLCipher 3's default page size, which we keep

const char* const kSchema =
    "CREATE TABLE edb_info(key TEXT PRIMARY KEY, value TEXT NOT NULL);"
    "INSERT INTO edb_info VALUES('format', 'qinglan-edb'), ('version', '1');"
    "CREATE TABLE edb_records(id INTEGER PRIMARY KEY);"
    "CREATE TABLE edb_fields(record INTEGER NOT NULL, field INTEGER NOT NULL, value,"
    " PRIMARY KEY(record, field)) WITHOUT ROWID;";

std::string quoted(const std::filesystem::path& p) {
    return "\"" + p.string() + "\"";
}

bool startsWithPlainSqliteHeader(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::array<char, 16> head{};
    in.read(head.data(), head.size());
    return in.gcount() == 16 && std::memcmp(head.data(), "SQLite format 3", 16) == 0;
}

// Opens a connection and gives it the key before anything reads the file. A statement run
// before the key (even a pragma that loads the schema) reads the file without decryption: if a
// crash left a hot journal, that keyless read is what rolls it back, and the connection keeps
// the pages it read undecrypted, so the first keyed read then finds "not a database" in a
// healthy file.
sqlite3* openConnection(const std::filesystem::path& file, const std::string& password, int& rc) {
    sqlite3* db = nullptr;
    // READWRITE without CREATE: a file that vanished meanwhile is not created again. Rolling
    // back a hot journal needs write access too.
    rc = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_key(db, password.data(), static_cast<int>(password.size()));
    if (rc != SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_extended_result_codes(db, 0);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    return db;
}

// Settings that make SQLite read the schema, so they are given only once the file is known to
// be ours.
void tune(sqlite3* db) {
    // A cache large enough for a big batch keeps pages from being encrypted, evicted,
    // read back and decrypted again in the middle of the transaction. Memory is only taken
    // as pages are used.
    exec(db, "PRAGMA cache_size = -16384");
}

// Explains a failure of the very first read: with SQLCipher a wrong key and foreign content
// look alike, so the file's shape decides which reason we give.
Status classifyFirstReadFailure(sqlite3* db, int rc, const std::filesystem::path& file,
                                std::uintmax_t size) {
    const std::string what = "cannot open " + quoted(file);
    int primary = rc & 0xFF;
    if (primary == SQLITE_NOTADB) {
        if (size < kPageSize || size % kPageSize != 0)
            return {ErrorCode::NotADatabase, what + ": not a record database"};
        return {ErrorCode::WrongPassword, what + ": wrong password (or not a record database)"};
    }
    if (primary == SQLITE_CORRUPT)
        return {ErrorCode::Corrupt, what + ": the database file is damaged"};
    Status s = statusFrom(db, rc, what);
    return s;
}

// Reads the identification and checks every page. The first read rolls back a transaction
// that a crash interrupted (SQLite does this on its own when it finds a hot journal); nothing
// else is written.
Status verify(sqlite3* db, const std::filesystem::path& file) {
    const std::string what = "cannot open " + quoted(file);
    {
        Statement probe(db, "SELECT count(*) FROM sqlite_master");
        int rc = probe.ok() ? probe.step() : probe.prepareResult();
        if (rc != SQLITE_ROW) {
            std::error_code ec;
            std::uintmax_t size = std::filesystem::file_size(file, ec);
            return classifyFirstReadFailure(db, rc, file, ec ? 0 : size);
        }
    }
    // Measured after the rollback: a crash in the middle of a compaction leaves the file
    // shorter than its last commit until the journal has been played back.
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec) return {ErrorCode::Io, what + ": " + ec.message()};
    {
        Statement info(db, "SELECT value FROM edb_info WHERE key = 'format'");
        int rc = info.ok() ? info.step() : info.prepareResult();
        int primary = rc & 0xFF;
        // A page that fails its check reads as "not a database" (or an error) here.
        if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB || primary == SQLITE_IOERR)
            return {ErrorCode::Corrupt, what + ": the database file is damaged"};
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) return statusFrom(db, rc, what);
        if (rc != SQLITE_ROW || info.columnText(0) != kFormatName)
            return {ErrorCode::NotADatabase,
                    what + ": an encrypted database that is not a record database"};
        Statement records(db, "SELECT id FROM edb_records LIMIT 0");
        Statement fields(db, "SELECT record, field, value FROM edb_fields LIMIT 0");
        if (!records.ok() || !fields.ok())
            return {ErrorCode::NotADatabase, what + ": a record database with missing tables"};
    }
    {
        Statement pages(db, "PRAGMA page_count");
        if (!pages.ok() || pages.step() != SQLITE_ROW)
            return {ErrorCode::Corrupt, what + ": the database file is damaged"};
        std::uintmax_t expected = static_cast<std::uintmax_t>(pages.columnInt(0)) * kPageSize;
        if (size % kPageSize != 0 || size < expected)
            return {ErrorCode::Corrupt, what + ": the database file is truncated"};
    }
    {
        Statement check(db, "PRAGMA quick_check");
        int rc = check.ok() ? check.step() : check.prepareResult();
        if (rc != SQLITE_ROW) {
            Status s = statusFrom(db, rc, what);
            if (s.code() == ErrorCode::Busy) return s;
            return {ErrorCode::Corrupt, what + ": the database file is damaged"};
        }
        if (check.columnText(0) != "ok")
            return {ErrorCode::Corrupt, what + ": the database file is damaged"};
    }
    return {};
}

} // namespace

RecordDatabase::RecordDatabase() = default;

RecordDatabase::RecordDatabase(sqlite3* db, std::filesystem::path path)
    : db_(db), path_(std::move(path)) {}

RecordDatabase::~RecordDatabase() {
    close();
}

RecordDatabase::RecordDatabase(RecordDatabase&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), path_(std::move(other.path_)),
      current_(std::exchange(other.current_, 0)) {}

RecordDatabase& RecordDatabase::operator=(RecordDatabase&& other) noexcept {
    if (this != &other) {
        close();
        db_ = std::exchange(other.db_, nullptr);
        path_ = std::move(other.path_);
        current_ = std::exchange(other.current_, 0);
    }
    return *this;
}

void RecordDatabase::close() {
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
    current_ = 0;
}

Result<RecordDatabase> RecordDatabase::open(const std::filesystem::path& file,
                                            const std::string& password) {
    const std::string what = "cannot open " + quoted(file);
    std::error_code ec;
    auto st = std::filesystem::status(file, ec);
    if (!std::filesystem::exists(st))
        return Status{ErrorCode::Missing, what + ": the file does not exist"};
    if (!std::filesystem::is_regular_file(st))
        return Status{ErrorCode::Io, what + ": not a regular file"};
    std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec) return Status{ErrorCode::Io, what + ": " + ec.message()};
    if (size == 0) return Status{ErrorCode::NotADatabase, what + ": the file is empty"};
    // An empty key would switch encryption off, and our files are never unencrypted.
    if (password.empty())
        return Status{ErrorCode::WrongPassword,
                      what + ": wrong password (an empty password opens nothing)"};
    if (startsWithPlainSqliteHeader(file))
        return Status{ErrorCode::NotADatabase,
                      what + ": a plain SQLite database, not an encrypted record database"};

    int rc = SQLITE_OK;
    sqlite3* db = openConnection(file, password, rc);
    if (!db) return statusFrom(nullptr, rc, what);
    RecordDatabase result(db, file);
    // A lock held by another program, also the one that rolling back a hot journal needs, is
    // waited for by the busy timeout; only a lock held longer than that gives Busy.
    Status verified = verify(db, file);
    if (!verified.ok()) return verified;
    tune(db);
    if (Status s = result.resetCurrentToFirst(); !s.ok()) return s;
    return result;
}

Result<RecordDatabase> RecordDatabase::create(const std::filesystem::path& file,
                                              const std::string& password) {
    const std::string what = "cannot create " + quoted(file);
    if (password.empty())
        return Status{ErrorCode::InvalidArgument, what + ": a password is required"};
    // O_EXCL makes sure an existing file, even one created a moment ago, is never taken over.
    int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        int err = errno;
        if (err == EEXIST)
            return Status{ErrorCode::AlreadyExists, what + ": the file already exists"};
        if (err == EACCES || err == EROFS || err == EPERM)
            return Status{ErrorCode::ReadOnly, what + ": " + std::strerror(err)};
        if (err == ENOENT) return Status{ErrorCode::Missing, what + ": the folder does not exist"};
        return Status{ErrorCode::Io, what + ": " + std::strerror(err)};
    }
    ::close(fd);
    auto fail = [&](Status s) {
        std::error_code ec;
        std::filesystem::remove(file, ec);
        return s;
    };
    int rc = SQLITE_OK;
    sqlite3* db = openConnection(file, password, rc);
    if (!db) return fail(statusFrom(nullptr, rc, what));
    RecordDatabase result(db, file);
    rc = exec(db, "BEGIN IMMEDIATE");
    if (rc == SQLITE_OK) rc = exec(db, kSchema);
    if (rc == SQLITE_OK) rc = exec(db, "COMMIT");
    if (rc != SQLITE_OK) {
        Status s = statusFrom(db, rc, what);
        result.close();
        return fail(s);
    }
    tune(db);
    return result;
}

Status RecordDatabase::inTransaction(const char* what, const std::function<Status()>& body) {
    if (!db_) return {ErrorCode::InvalidArgument, std::string(what) + ": no database is open"};
    int rc = exec(db_, "BEGIN IMMEDIATE");
    if (rc != SQLITE_OK) return statusFrom(db_, rc, what);
    Status s = body();
    if (s.ok()) {
        rc = exec(db_, "COMMIT");
        if (rc == SQLITE_OK) return {};
        s = statusFrom(db_, rc, what);
    }
    exec(db_, "ROLLBACK");
    return s;
}

Status RecordDatabase::resetCurrentToFirst() {
    Statement first(db_, "SELECT min(id) FROM edb_records");
    int rc = first.step();
    if (rc != SQLITE_ROW) return statusFrom(db_, rc, "read records");
    current_ = first.columnInt(0); // NULL (no records) reads as 0
    return {};
}

Status RecordDatabase::requireCurrent() {
    if (current_ == 0) return {ErrorCode::NoRecord, "there is no current record"};
    Statement exists(db_, "SELECT 1 FROM edb_records WHERE id = ?");
    exists.bind(1, current_);
    int rc = exists.step();
    if (rc == SQLITE_DONE) return {ErrorCode::NoRecord, "the current record no longer exists"};
    if (rc != SQLITE_ROW) return statusFrom(db_, rc, "read record");
    return {};
}

Result<int> RecordDatabase::count() {
    if (!db_) return Status{ErrorCode::InvalidArgument, "count: no database is open"};
    Statement q(db_, "SELECT count(*) FROM edb_records");
    int rc = q.step();
    if (rc != SQLITE_ROW) return statusFrom(db_, rc, "count records");
    return static_cast<int>(q.columnInt(0));
}

Status RecordDatabase::goTo(int index) {
    if (!db_) return {ErrorCode::InvalidArgument, "go to record: no database is open"};
    if (index < 1)
        return {ErrorCode::NoRecord, "record " + std::to_string(index) + " does not exist"};
    Statement q(db_, "SELECT id FROM edb_records ORDER BY id LIMIT 1 OFFSET ?");
    q.bind(1, static_cast<std::int64_t>(index - 1));
    int rc = q.step();
    if (rc == SQLITE_DONE)
        return {ErrorCode::NoRecord, "record " + std::to_string(index) + " does not exist"};
    if (rc != SQLITE_ROW) return statusFrom(db_, rc, "go to record");
    current_ = q.columnInt(0);
    return {};
}

Result<int> RecordDatabase::currentIndex() {
    if (!db_) return Status{ErrorCode::InvalidArgument, "current record: no database is open"};
    if (Status s = requireCurrent(); !s.ok())
        return s.code() == ErrorCode::NoRecord ? Result<int>(0) : Result<int>(s);
    Statement q(db_, "SELECT count(*) FROM edb_records WHERE id <= ?");
    q.bind(1, current_);
    int rc = q.step();
    if (rc != SQLITE_ROW) return statusFrom(db_, rc, "current record");
    return static_cast<int>(q.columnInt(0));
}

Result<FieldValue> RecordDatabase::read(int field) {
    if (!db_) return Status{ErrorCode::InvalidArgument, "read: no database is open"};
    if (field < 1) return Status{ErrorCode::InvalidArgument, "field numbers start at 1"};
    if (Status s = requireCurrent(); !s.ok()) return s;
    Statement q(db_, "SELECT value FROM edb_fields WHERE record = ? AND field = ?");
    q.bind(1, current_);
    q.bind(2, static_cast<std::int64_t>(field));
    int rc = q.step();
    if (rc == SQLITE_DONE) return FieldValue{};
    if (rc != SQLITE_ROW) return statusFrom(db_, rc, "read field " + std::to_string(field));
    return q.columnValue(0);
}

Result<std::vector<std::pair<int, FieldValue>>> RecordDatabase::readAll() {
    if (!db_) return Status{ErrorCode::InvalidArgument, "read: no database is open"};
    if (Status s = requireCurrent(); !s.ok()) return s;
    Statement q(db_, "SELECT field, value FROM edb_fields WHERE record = ? ORDER BY field");
    q.bind(1, current_);
    std::vector<std::pair<int, FieldValue>> out;
    int rc;
    while ((rc = q.step()) == SQLITE_ROW)
        out.emplace_back(static_cast<int>(q.columnInt(0)), q.columnValue(1));
    if (rc != SQLITE_DONE) return statusFrom(db_, rc, "read fields");
    return out;
}

namespace {

Status writeOne(sqlite3* db, Statement& put, Statement& drop, std::int64_t record, int field,
                const FieldValue& value) {
    if (field < 1) return {ErrorCode::InvalidArgument, "field numbers start at 1"};
    Statement& s = value.isNull() ? drop : put;
    s.reset();
    s.bind(1, record);
    s.bind(2, static_cast<std::int64_t>(field));
    if (!value.isNull()) s.bind(3, value);
    int rc = s.step();
    if (rc != SQLITE_DONE) return statusFrom(db, rc, "write field " + std::to_string(field));
    return {};
}

constexpr const char* kPutField =
    "INSERT OR REPLACE INTO edb_fields(record, field, value) VALUES(?, ?, ?)";
constexpr const char* kDropField = "DELETE FROM edb_fields WHERE record = ? AND field = ?";
// A new record has no fields yet, so a plain insert does; OR REPLACE on a WITHOUT ROWID table
// costs about ten times as much per row, which matters for big batches.
constexpr const char* kInsertField = "INSERT INTO edb_fields(record, field, value) VALUES(?, ?, ?)";

bool hasRepeatedField(const Record& r) {
    if (r.size() < 2) return false;
    std::vector<int> numbers;
    for (const auto& f : r)
        numbers.push_back(f.first);
    std::sort(numbers.begin(), numbers.end());
    return std::adjacent_find(numbers.begin(), numbers.end()) != numbers.end();
}

} // namespace

Status RecordDatabase::write(int field, const FieldValue& value) {
    return writeFields({{field, value}});
}

Status RecordDatabase::writeFields(const Record& fields) {
    for (const auto& [field, value] : fields)
        if (field < 1) return {ErrorCode::InvalidArgument, "field numbers start at 1"};
    return inTransaction("write", [&]() -> Status {
        if (Status s = requireCurrent(); !s.ok()) return s;
        Statement put(db_, kPutField), drop(db_, kDropField);
        for (const auto& [field, value] : fields)
            if (Status s = writeOne(db_, put, drop, current_, field, value); !s.ok()) return s;
        return {};
    });
}

Status RecordDatabase::append(const Record& fields) {
    return appendRecords({fields});
}

Status RecordDatabase::appendRecords(const std::vector<Record>& records) {
    for (const auto& r : records)
        for (const auto& [field, value] : r)
            if (field < 1) return {ErrorCode::InvalidArgument, "field numbers start at 1"};
    std::int64_t last = current_;
    Status s = inTransaction("append", [&]() -> Status {
        Statement add(db_, "INSERT INTO edb_records DEFAULT VALUES");
        Statement insert(db_, kInsertField), put(db_, kPutField), drop(db_, kDropField);
        for (const auto& r : records) {
            add.reset();
            int rc = add.step();
            if (rc != SQLITE_DONE) return statusFrom(db_, rc, "append record");
            last = sqlite3_last_insert_rowid(db_);
            // A field listed twice keeps its last value, as with writeFields.
            Statement& store = hasRepeatedField(r) ? put : insert;
            for (const auto& [field, value] : r)
                if (!value.isNull())
                    if (Status w = writeOne(db_, store, drop, last, field, value); !w.ok())
                        return w;
        }
        return {};
    });
    if (s.ok()) current_ = last;
    return s;
}

Status RecordDatabase::appendTexts(int field, const std::vector<std::string>& texts) {
    std::vector<Record> records;
    records.reserve(texts.size());
    for (const auto& t : texts)
        records.push_back({{field, FieldValue(t)}});
    return appendRecords(records);
}

Result<std::vector<FieldValue>> RecordDatabase::readFieldOfAll(int field) {
    if (!db_) return Status{ErrorCode::InvalidArgument, "read: no database is open"};
    if (field < 1) return Status{ErrorCode::InvalidArgument, "field numbers start at 1"};
    Statement q(db_, "SELECT f.value FROM edb_records r LEFT JOIN edb_fields f ON f.record = r.id "
                     "AND f.field = ?"
                     " ORDER BY r.id");
    q.bind(1, static_cast<std::int64_t>(field));
    std::vector<FieldValue> out;
    int rc;
    while ((rc = q.step()) == SQLITE_ROW)
        out.push_back(q.columnValue(0));
    if (rc != SQLITE_DONE) return statusFrom(db_, rc, "read field " + std::to_string(field));
    return out;
}

Result<int> RecordDatabase::removeByFirstField(std::string_view text) {
    int removed = 0;
    Status s = inTransaction("remove records", [&]() -> Status {
        Statement find(db_, "SELECT record FROM edb_fields WHERE field = 1 AND value = ?");
        find.bind(1, std::string(text));
        std::vector<std::int64_t> ids;
        int rc;
        while ((rc = find.step()) == SQLITE_ROW)
            ids.push_back(find.columnInt(0));
        if (rc != SQLITE_DONE) return statusFrom(db_, rc, "remove records");
        Statement dropFields(db_, "DELETE FROM edb_fields WHERE record = ?");
        Statement dropRecord(db_, "DELETE FROM edb_records WHERE id = ?");
        for (std::int64_t id : ids) {
            for (Statement* st : {&dropFields, &dropRecord}) {
                st->reset();
                st->bind(1, id);
                if ((rc = st->step()) != SQLITE_DONE) return statusFrom(db_, rc, "remove records");
            }
        }
        removed = static_cast<int>(ids.size());
        return {};
    });
    if (!s.ok()) return s;
    if (removed > 0) {
        if (Status r = requireCurrent(); r.code() == ErrorCode::NoRecord) resetCurrentToFirst();
        // The removal is committed. Rebuilding the file costs as much as writing it anew, so
        // it is done once a quarter of the pages are free rather than after every removal;
        // a compaction that fails (another program holds a lock) is retried next time.
        if (worthCompacting()) compact();
    }
    return removed;
}

bool RecordDatabase::worthCompacting() {
    Statement freePages(db_, "PRAGMA freelist_count"), pages(db_, "PRAGMA page_count");
    return freePages.step() == SQLITE_ROW && pages.step() == SQLITE_ROW &&
           freePages.columnInt(0) * 4 >= pages.columnInt(0);
}

Status RecordDatabase::compact() {
    if (!db_) return {ErrorCode::InvalidArgument, "compact: no database is open"};
    int rc = exec(db_, "VACUUM");
    return statusFrom(db_, rc, "compact");
}

Status RecordDatabase::checkIntegrity() {
    if (!db_) return {ErrorCode::InvalidArgument, "check: no database is open"};
    Statement check(db_, "PRAGMA integrity_check");
    int rc = check.step();
    if (rc != SQLITE_ROW) return statusFrom(db_, rc, "check");
    std::string first = check.columnText(0);
    if (first != "ok") return {ErrorCode::Corrupt, "check: " + first};
    return {};
}

Status RecordDatabase::clear() {
    Status s = inTransaction("clear", [&]() -> Status {
        int rc = exec(db_, "DELETE FROM edb_fields; DELETE FROM edb_records;");
        return statusFrom(db_, rc, "clear");
    });
    if (s.ok()) current_ = 0;
    return s;
}

} // namespace qinglan::edb
