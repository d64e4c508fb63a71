// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ResourcesDirectory.h"
#include "link/BackendExecutableResolver.h"
#include "link/Uuid.h"
#include "tests/link/support/TestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sys/stat.h>

namespace velmora {
namespace {

using testing::TemporaryDirectory;
using testing::writeFile;
namespace fs = std::filesystem;

fs::path makeFile(const fs::path& path, bool executable) {
    fs::create_directories(path.parent_path());
    writeFile(path, "#!/bin/sh\n");
    ::chmod(path.c_str(), executable ? 0755 : 0644);
    return path;
}

TEST(BackendExecutableResolver, PrefersTheEnvironmentPathWhenItIsAnExecutableFile) {
    TemporaryDirectory dir;
    const auto fromEnvironment = makeFile(dir / "custom-backend", true);
    const auto bundled = makeFile(dir / "share" / "Backend" / "velmora", true);
    EXPECT_EQ(BackendExecutableResolver::resolve(fromEnvironment.c_str(), dir / "share"),
              fromEnvironment);
    EXPECT_EQ(BackendExecutableResolver::resolve(nullptr, dir / "share"), bundled);
    EXPECT_EQ(BackendExecutableResolver::resolve("", dir / "share"), bundled);
}

TEST(BackendExecutableResolver, FallsThroughWhenTheEnvironmentNamesNoExecutableFile) {
    TemporaryDirectory dir;
    const auto plain = makeFile(dir / "not-executable", false);
    fs::create_directories(dir / "a-directory");
    const auto bundled = makeFile(dir / "share" / "Backend" / "velmora", true);
    EXPECT_EQ(BackendExecutableResolver::resolve(plain.c_str(), dir / "share"), bundled);
    EXPECT_EQ(BackendExecutableResolver::resolve((dir / "a-directory").c_str(), dir / "share"),
              bundled);
    EXPECT_EQ(BackendExecutableResolver::resolve((dir / "missing").c_str(), dir / "share"),
              bundled);
    // Neither qualifies: nothing, and no search of PATH.
    EXPECT_EQ(BackendExecutableResolver::resolve(plain.c_str(), dir / "empty"), std::nullopt);
    EXPECT_EQ(BackendExecutableResolver::resolve("sh", dir / "empty"), std::nullopt);
    // A bundled copy that is not executable does not count either.
    makeFile(dir / "other" / "Backend" / "velmora", false);
    EXPECT_EQ(BackendExecutableResolver::resolve(nullptr, dir / "other"), std::nullopt);
}

TEST(BackendExecutableResolver, TheBundledCandidateIsNormalised) {
    TemporaryDirectory dir;
    const auto bundled = makeFile(dir / "share" / "Backend" / "velmora", true);
    fs::create_directories(dir / "bin");
    EXPECT_EQ(BackendExecutableResolver::resolve(nullptr, dir / "bin" / ".." / "share"),
              bundled.lexically_normal());
}

TEST(ResourcesDirectory, IsShareVelmoraBesideTheExecutablesDirectoryOrTheOverride) {
    ::unsetenv("VELMORA_RESOURCES_DIR");
    const auto executable = fs::read_symlink("/proc/self/exe");
    EXPECT_EQ(resourcesDirectory(),
              (executable.parent_path().parent_path() / "share" / "velmora").lexically_normal());
    ::setenv("VELMORA_RESOURCES_DIR", "/tmp/x/../velmora-resources", 1);
    EXPECT_EQ(resourcesDirectory(), fs::path("/tmp/velmora-resources"));
    ::unsetenv("VELMORA_RESOURCES_DIR");
}

TEST(Uuid, VersionFourInCanonicalFormAndFreshEachTime) {
    const std::regex canonical(
        "[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}");
    std::set<std::string> seen;
    for (int i = 0; i < 1000; ++i) {
        const auto id = newUuidV4();
        ASSERT_TRUE(std::regex_match(id, canonical)) << id;
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 1000u);
}

} // namespace
} // namespace velmora
