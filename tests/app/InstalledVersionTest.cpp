// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/InstalledVersion.h"

#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace velmora;

TEST(InstalledVersion, ReadsTheVersionAndFallsBackOnAnythingElse) {
    std::string pattern = std::filesystem::temp_directory_path() / "velmora-version-XXXXXX";
    const std::filesystem::path dir = ::mkdtemp(pattern.data());
    const auto write = [&](const std::string& text) { std::ofstream(dir / "Info.json") << text; };

    EXPECT_EQ(installedVersion(dir), "0.0.0"); // no file
    write("{\"version\": \"1.4.2\"}\n");
    EXPECT_EQ(installedVersion(dir), "1.4.2");
    for (const char* bad : {"{\"version\": 3}", "{\"version\": \"\"}", "[\"1.4.2\"]", "{\"ver",
                            "{\"version\": \"\xff\"}"}) {
        write(bad);
        EXPECT_EQ(installedVersion(dir), "0.0.0") << bad;
    }
    std::filesystem::remove_all(dir);
}
