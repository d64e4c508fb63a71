// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace velmora {

// One prepared statement. Binding is positional (1-based); step() returns true while a row is
// available. A failing call throws SqliteError. reset() makes the statement reusable.
class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    SqliteStatement& bind(int index, int64_t value);
    SqliteStatement& bind(int index, double value);
    SqliteStatement& bind(int index, std::string_view value);
    SqliteStatement& bindNull(int index);
    SqliteStatement& bind(int index, std::optional<int64_t> value);

    bool step();
    // Runs the statement to completion and resets it.
    void run();
    // Runs the statement, returns the first column of its first row (0 when there is none,
    // e.g. the id of an INSERT ... RETURNING id) and resets it.
    int64_t runForInteger();
    void reset();

    int64_t integer(int column) const;
    double real(int column) const;
    std::string text(int column) const;
    bool isNull(int column) const;

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

} // namespace velmora
