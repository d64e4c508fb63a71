// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace velmora {

class SqliteConnection;

// The layout of the history database, versioned through PRAGMA user_version. Each step
// migrates from one version to the next inside one transaction, so an interrupted upgrade
// leaves the previous version intact.
namespace HistorySchema {

// The version this build writes.
int64_t currentVersion();

// The version stored in the file (0 for a new, empty file).
int64_t storedVersion(SqliteConnection& db);

// Brings the database to currentVersion(). Precondition: storedVersion() <= currentVersion().
void migrate(SqliteConnection& db);

// Runs the steps up to and including `version` only (older layouts, for tests of the upgrade).
void migrateTo(SqliteConnection& db, int64_t version);

} // namespace HistorySchema

} // namespace velmora
