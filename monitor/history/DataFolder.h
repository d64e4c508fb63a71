// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace velmora {

// One file of the data folder with its size and age.
struct StoredFile {
    std::filesystem::path path;
    uint64_t bytes = 0;
    int64_t modifiedMs = 0;

    bool operator==(const StoredFile&) const = default;
};

// The monitor's data folder and its parts: the history database, artifacts/, reports/, logs/.
struct DataFolder {
    std::filesystem::path root;

    // $XDG_DATA_HOME/velmora, else ~/.local/share/velmora.
    static DataFolder standard();

    std::filesystem::path database() const { return root / "history.sqlite3"; }
    std::filesystem::path artifacts() const { return root / "artifacts"; }
    std::filesystem::path reports() const { return root / "reports"; }
    std::filesystem::path logs() const { return root / "logs"; }

    // Creates the folder and its subfolders (owner-only access); false when that fails.
    bool ensureExists() const;

    // The size of every regular file below the root.
    uint64_t totalBytes() const;

    // The regular files directly inside `directory`, oldest first.
    static std::vector<StoredFile> filesIn(const std::filesystem::path& directory);
    // Databases moved aside after damage ("history.sqlite3.corrupt-..."), oldest first.
    std::vector<StoredFile> setAsideDatabases() const;
};

// The sum of the files' sizes.
uint64_t totalBytes(const std::vector<StoredFile>& files);

} // namespace velmora
