// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/serve/ServeOptions.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(ServeOptions, DefaultsListenOnLoopbackEveryTenSecondsAndTakeBothSpellings) {
    ServeArguments none = parseServeArguments({});
    EXPECT_TRUE(none.error.empty());
    EXPECT_EQ(none.options.listen, "127.0.0.1:9787");
    EXPECT_DOUBLE_EQ(none.options.intervalSeconds, 10);
    EXPECT_TRUE(none.options.textfile.empty());
    EXPECT_FALSE(none.options.allUsers);

    ServeArguments all =
        parseServeArguments({"--listen=[::]:9100", "--interval", "2.5", "--textfile",
                             "/var/lib/node/velmora.prom", "--all-users"});
    EXPECT_TRUE(all.error.empty()) << all.error;
    EXPECT_EQ(all.options.listen, "[::]:9100");
    EXPECT_DOUBLE_EQ(all.options.intervalSeconds, 2.5);
    EXPECT_EQ(all.options.textfile, "/var/lib/node/velmora.prom");
    EXPECT_TRUE(all.options.allUsers);
    EXPECT_TRUE(parseServeArguments({"--listen", "0.0.0.0:9787"}).error.empty());
    EXPECT_TRUE(none.options.webConfigFile.empty());
    EXPECT_FALSE(none.options.showHomePaths);
    ServeArguments guarded =
        parseServeArguments({"--web.config.file=/etc/velmora/web.yml", "--show-home-paths"});
    EXPECT_TRUE(guarded.error.empty()) << guarded.error;
    EXPECT_EQ(guarded.options.webConfigFile, "/etc/velmora/web.yml");
    EXPECT_TRUE(guarded.options.showHomePaths);
    EXPECT_EQ(parseServeArguments({"--web.config.file="}).error, "--web.config.file needs a path");
    EXPECT_EQ(parseServeArguments({"--show-home-paths=no"}).error,
              "unknown option '--show-home-paths=no' (see velmora serve --help)");
    EXPECT_TRUE(parseServeArguments({"-h"}).help);
}

TEST(ServeOptions, QuietProcessesAreReadOnceAMinuteDescriptorsIncluded) {
    SamplingTuning desktop;
    EXPECT_EQ(desktop.quietHeldSeconds, desktop.backgroundDetailSeconds)
        << "the app looks at held memory every background period";
    SamplingTuning shortened;
    shortened.quietDetailSeconds = 5;
    shortened.quietHeldSeconds = 5;
    const SamplingTuning headless = headlessSampling(shortened, 10);
    EXPECT_EQ(headless.sampleIntervalSeconds, 10);
    EXPECT_EQ(headless.quietDetailSeconds, 60);
    EXPECT_EQ(headless.quietHeldSeconds, 60);
}

TEST(ServeOptions, EveryBadValueIsNamedInItsError) {
    EXPECT_EQ(parseServeArguments({"--interval", "nan"}).error,
              "--interval needs a number of seconds from 0.1 to 60, not 'nan'");
    EXPECT_EQ(parseServeArguments({"--interval", "61"}).error,
              "--interval needs a number of seconds from 0.1 to 60, not '61'");
    EXPECT_EQ(parseServeArguments({"--interval", "5s"}).error,
              "--interval needs a number of seconds from 0.1 to 60, not '5s'");
    EXPECT_EQ(parseServeArguments({"--listen", "[::1]9787"})
                  .error.rfind("--listen needs a numeric address", 0),
              0u);
    EXPECT_NE(parseServeArguments({"--listen", "256.0.0.1:80"}).error.find("not '256.0.0.1'"),
              std::string::npos);
    EXPECT_EQ(parseServeArguments({"--listen", "127.0.0.1:0"}).error,
              "--listen needs a port from 1 to 65535, not '0'");
    EXPECT_NE(parseServeArguments({"--textfile", ".prom"}).error, "");
    EXPECT_NE(parseServeArguments({"--textfile", "/dir.prom/"}).error, "");
    EXPECT_EQ(parseServeArguments({"--listen"}).error, "--listen needs ADDRESS:PORT");
    EXPECT_EQ(parseServeArguments({"serve"}).error,
              "unknown option 'serve' (see velmora serve --help)");
}

TEST(ServeOptions, EveryUserNeedsRootOrTheTracingCapability) {
    EXPECT_TRUE(mayWatchAllUsers(0, ""));
    EXPECT_FALSE(mayWatchAllUsers(1000, "Name:\tvelmora\nCapEff:\t0000000000000000\n"));
    // CAP_SYS_PTRACE is bit 19.
    EXPECT_TRUE(mayWatchAllUsers(1000, "Name:\tvelmora\nCapEff:\t0000000000080000\n"));
    EXPECT_FALSE(mayWatchAllUsers(1000, "Name:\tvelmora\nCapEff:\t0000000000040000\n"));
    EXPECT_FALSE(mayWatchAllUsers(1000, "Name:\tvelmora\n"));
}

} // namespace
} // namespace velmora
