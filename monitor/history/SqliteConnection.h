// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/history/SqliteStatement.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

struct sqlite3;

namespace velmora {

// One SQLite connection with a cache of prepared statements keyed by their SQL text.
// Every failure throws SqliteError.
class SqliteConnection {
public:
    explicit SqliteConnection(const std::filesystem::path& file);
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    // Runs one or more statements that return nothing of interest.
    void exec(std::string_view sql);
    // The cached statement for `sql`, reset and ready to bind.
    SqliteStatement& statement(const std::string& sql);
    // The first column of the first row of `sql`, as an integer (0 when there is no row).
    int64_t scalar(const std::string& sql);
    int64_t changes() const;

private:
    sqlite3* db_ = nullptr;
    std::unordered_map<std::string, std::unique_ptr<SqliteStatement>> statements_;
};

// Begins a write transaction; commits on commit(), rolls back when destroyed uncommitted.
class SqliteTransaction {
public:
    explicit SqliteTransaction(SqliteConnection& connection);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    void commit();

private:
    SqliteConnection& connection_;
    bool done_ = false;
};

} // namespace velmora
