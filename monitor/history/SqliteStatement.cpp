// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/SqliteStatement.h"

#include "monitor/history/SqliteError.h"

#include <sqlite3.h>

namespace velmora {

namespace {

[[noreturn]] void fail(sqlite3* db, int code) {
    throw SqliteError(sqlite3_extended_errcode(db),
                      sqlite3_errmsg(db) ? sqlite3_errmsg(db) : sqlite3_errstr(code));
}

void check(sqlite3* db, int code) {
    if (code != SQLITE_OK) {
        fail(db, code);
    }
}

} // namespace

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) : db_(db) {
    check(db_, sqlite3_prepare_v3(db_, sql.data(), static_cast<int>(sql.size()),
                                  SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr));
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(stmt_);
}

SqliteStatement& SqliteStatement::bind(int index, int64_t value) {
    check(db_, sqlite3_bind_int64(stmt_, index, value));
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, double value) {
    check(db_, sqlite3_bind_double(stmt_, index, value));
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, std::string_view value) {
    check(db_, sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()),
                                 SQLITE_TRANSIENT));
    return *this;
}

SqliteStatement& SqliteStatement::bindNull(int index) {
    check(db_, sqlite3_bind_null(stmt_, index));
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, std::optional<int64_t> value) {
    return value ? bind(index, *value) : bindNull(index);
}

bool SqliteStatement::step() {
    int code = sqlite3_step(stmt_);
    if (code == SQLITE_ROW) {
        return true;
    }
    if (code == SQLITE_DONE) {
        return false;
    }
    sqlite3_reset(stmt_);
    fail(db_, code);
}

void SqliteStatement::run() {
    while (step()) {
    }
    reset();
}

int64_t SqliteStatement::runForInteger() {
    int64_t value = step() ? integer(0) : 0;
    reset();
    return value;
}

void SqliteStatement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int64_t SqliteStatement::integer(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

double SqliteStatement::real(int column) const {
    return sqlite3_column_double(stmt_, column);
}

std::string SqliteStatement::text(int column) const {
    const auto* bytes = sqlite3_column_text(stmt_, column);
    if (bytes == nullptr) {
        return {};
    }
    return std::string(reinterpret_cast<const char*>(bytes),
                       static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)));
}

bool SqliteStatement::isNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

} // namespace velmora
