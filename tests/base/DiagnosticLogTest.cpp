// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/DiagnosticLog.h"

#include "tests/link/support/TestSupport.h"

#include <gtest/gtest.h>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace velmora {
namespace {

using testing::CapturedOutput;

TEST(DiagnosticLog, EveryDiagnosticStaysOneLine) {
    CapturedOutput stderrCapture(STDERR_FILENO);
    writeDiagnosticLine("velmora-ui: backend error: first\nsecond\r\nthird");
    EXPECT_EQ(stderrCapture.text(), "velmora-ui: backend error: first second  third\n");
}

TEST(DiagnosticLog, LinesFromManyThreadsNeverInterleave) {
    CapturedOutput stderrCapture(STDERR_FILENO);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([t] {
            const std::string text(3000, static_cast<char>('a' + t));
            for (int i = 0; i < 100; ++i) {
                writeDiagnosticLine(text);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    std::istringstream lines(stderrCapture.text());
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        ASSERT_EQ(line.size(), 3000u);
        EXPECT_EQ(line.find_first_not_of(line[0]), std::string::npos) << "interleaved line";
    }
    EXPECT_EQ(count, 800);
}

} // namespace
} // namespace velmora
