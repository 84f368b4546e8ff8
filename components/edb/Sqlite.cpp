#include "Sqlite.h"

namespace qinglan::edb::detail {

Status statusFrom(sqlite3* db, int rc, const std::string& what) {
    if (rc == SQLITE_OK || rc == SQLITE_DONE || rc == SQLITE_ROW) return {};
    std::string detail = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    std::string message = what + ": " + detail;
    switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return {ErrorCode::Busy, what + ": the database is locked by another program"};
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return {ErrorCode::ReadOnly, what + ": the file cannot be written"};
    case SQLITE_CORRUPT:
        return {ErrorCode::Corrupt, what + ": the database file is damaged"};
    case SQLITE_NOTADB:
        return {ErrorCode::NotADatabase, what + ": not a record database"};
    case SQLITE_CANTOPEN:
        return {ErrorCode::Missing, what + ": the file cannot be opened"};
    case SQLITE_FULL:
        return {ErrorCode::Io, what + ": the disk is full"};
    default:
        return {ErrorCode::Io, message};
    }
}

Statement::Statement(sqlite3* db, const char* sql) {
    prepareRc_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr);
    if (prepareRc_ != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

void Statement::bind(int index, std::int64_t n) {
    sqlite3_bind_int64(stmt_, index, n);
}

void Statement::bind(int index, const std::string& text) {
    sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void Statement::bind(int index, const FieldValue& value) {
    if (const auto* t = value.textIf())
        bind(index, *t);
    else if (const auto* n = value.integerIf())
        bind(index, *n);
    else if (const auto* d = value.realIf())
        sqlite3_bind_double(stmt_, index, *d);
    else
        sqlite3_bind_null(stmt_, index);
}

int Statement::step() {
    return stmt_ ? sqlite3_step(stmt_) : prepareRc_;
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

std::int64_t Statement::columnInt(int col) {
    return sqlite3_column_int64(stmt_, col);
}

std::string Statement::columnText(int col) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
    int n = sqlite3_column_bytes(stmt_, col);
    return p ? std::string(p, static_cast<std::size_t>(n)) : std::string();
}

FieldValue Statement::columnValue(int col) {
    switch (sqlite3_column_type(stmt_, col)) {
    case SQLITE_INTEGER:
        return FieldValue(static_cast<std::int64_t>(sqlite3_column_int64(stmt_, col)));
    case SQLITE_FLOAT:
        return FieldValue(sqlite3_column_double(stmt_, col));
    case SQLITE_TEXT:
    case SQLITE_BLOB:
        return FieldValue(columnText(col));
    default:
        return FieldValue();
    }
}

int exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

} // namespace qinglan::edb::detail
