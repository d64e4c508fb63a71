// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/SqliteError.h"

#include <sqlite3.h>

namespace velmora {

SqliteError::SqliteError(int code, const std::string& message)
    : std::runtime_error(message), code_(code) {}

bool SqliteError::isCorruption() const {
    int primary = code_ & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

} // namespace velmora
