// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/FileText.h"

#include <fstream>
#include <sstream>

namespace velmora::testing {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void writeFile(const std::filesystem::path& path, const std::string& text) {
    if (path.has_parent_path()) {
        std::error_code ignored;
        std::filesystem::create_directories(path.parent_path(), ignored);
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
}

} // namespace velmora::testing
