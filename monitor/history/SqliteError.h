// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace velmora {

// A failed SQLite call: the result code and SQLite's own message.
class SqliteError : public std::runtime_error {
public:
    SqliteError(int code, const std::string& message);

    int code() const { return code_; }
    // The file is damaged or is not a database at all.
    bool isCorruption() const;

private:
    int code_;
};

} // namespace velmora
