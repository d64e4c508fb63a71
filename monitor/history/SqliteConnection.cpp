// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/SqliteConnection.h"

#include "monitor/history/SqliteError.h"

#include <sqlite3.h>

namespace velmora {

SqliteConnection::SqliteConnection(const std::filesystem::path& file) {
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    int code = sqlite3_open_v2(file.c_str(), &db_, flags, nullptr);
    if (code != SQLITE_OK) {
        std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
        int extended = db_ ? sqlite3_extended_errcode(db_) : code;
        sqlite3_close(db_);
        db_ = nullptr;
        throw SqliteError(extended, message);
    }
    sqlite3_extended_result_codes(db_, 1);
}

SqliteConnection::~SqliteConnection() {
    statements_.clear();
    sqlite3_close(db_);
}

void SqliteConnection::exec(std::string_view sql) {
    std::string text(sql);
    char* message = nullptr;
    int code = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message);
    if (code != SQLITE_OK) {
        std::string reason = message ? message : sqlite3_errstr(code);
        sqlite3_free(message);
        throw SqliteError(sqlite3_extended_errcode(db_), reason);
    }
}

SqliteStatement& SqliteConnection::statement(const std::string& sql) {
    auto found = statements_.find(sql);
    if (found == statements_.end()) {
        found = statements_.emplace(sql, std::make_unique<SqliteStatement>(db_, sql)).first;
    }
    found->second->reset();
    return *found->second;
}

int64_t SqliteConnection::scalar(const std::string& sql) {
    return statement(sql).runForInteger();
}

int64_t SqliteConnection::changes() const {
    return sqlite3_changes64(db_);
}

SqliteTransaction::SqliteTransaction(SqliteConnection& connection) : connection_(connection) {
    connection_.exec("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction() {
    if (!done_) {
        try {
            connection_.exec("ROLLBACK");
        } catch (const SqliteError&) {
            // The transaction is already gone (SQLite rolls back on some errors by itself).
        }
    }
}

void SqliteTransaction::commit() {
    connection_.exec("COMMIT");
    done_ = true;
}

} // namespace velmora
