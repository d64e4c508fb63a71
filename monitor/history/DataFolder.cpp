// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/DataFolder.h"

#include "base/FileTimes.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace velmora {

namespace fs = std::filesystem;

DataFolder DataFolder::standard() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') {
        return DataFolder{fs::path(xdg) / "velmora"};
    }
    const char* home = std::getenv("HOME");
    return DataFolder{fs::path(home ? home : "/tmp") / ".local" / "share" / "velmora"};
}

bool DataFolder::ensureExists() const {
    std::error_code error;
    for (const auto& directory : {root, artifacts(), reports(), logs()}) {
        fs::create_directories(directory, error);
        if (error) {
            return false;
        }
        fs::permissions(directory, fs::perms::owner_all, fs::perm_options::replace, error);
    }
    return true;
}

uint64_t DataFolder::totalBytes() const {
    uint64_t total = 0;
    std::error_code error;
    for (fs::recursive_directory_iterator it(root, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code sizeError;
        if (it->is_regular_file(sizeError)) {
            auto size = it->file_size(sizeError);
            total += sizeError ? 0 : size;
        }
    }
    return total;
}

std::vector<StoredFile> DataFolder::filesIn(const fs::path& directory) {
    std::vector<StoredFile> files;
    std::error_code error;
    for (fs::directory_iterator it(directory, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code fileError;
        if (!it->is_regular_file(fileError)) {
            continue;
        }
        auto size = it->file_size(fileError);
        auto modified = modificationTimeMs(it->path());
        if (!fileError && modified) {
            files.push_back(StoredFile{it->path(), size, *modified});
        }
    }
    std::sort(files.begin(), files.end(), [](const StoredFile& a, const StoredFile& b) {
        return std::tie(a.modifiedMs, a.path) < std::tie(b.modifiedMs, b.path);
    });
    return files;
}

std::vector<StoredFile> DataFolder::setAsideDatabases() const {
    auto files = filesIn(root);
    std::string prefix = database().filename().string() + ".corrupt-";
    std::erase_if(files, [&](const StoredFile& file) {
        return file.path.filename().string().rfind(prefix, 0) != 0;
    });
    return files;
}

uint64_t totalBytes(const std::vector<StoredFile>& files) {
    uint64_t total = 0;
    for (const auto& file : files) {
        total += file.bytes;
    }
    return total;
}

} // namespace velmora
