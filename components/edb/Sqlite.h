#pragma once
// Small RAII helpers over the SQLCipher C API, private to the component.

#ifndef SQLITE_HAS_CODEC
#define SQLITE_HAS_CODEC 1
#endif
#include <sqlite3.h>

#include "edb/FieldValue.h"
#include "edb/Status.h"

#include <cstdint>
#include <string>

namespace qinglan::edb::detail {

// Maps an SQLite result code to our error value; `what` names the operation for the message.
Status statusFrom(sqlite3* db, int rc, const std::string& what);

class Statement {
public:
    Statement(sqlite3* db, const char* sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    int prepareResult() const { return prepareRc_; }
    bool ok() const { return stmt_ != nullptr; }

    void bind(int index, std::int64_t n);
    void bind(int index, const std::string& text);
    void bind(int index, const FieldValue& value);
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step();
    void reset();

    std::int64_t columnInt(int col);
    FieldValue columnValue(int col);
    std::string columnText(int col);

private:
    sqlite3_stmt* stmt_ = nullptr;
    int prepareRc_ = SQLITE_OK;
};

// Runs SQL without results; returns the SQLite result code.
int exec(sqlite3* db, const char* sql);

} // namespace qinglan::edb::detail
