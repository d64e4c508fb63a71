#include "CorpusEvaluator.h"
#include "SyntheticCorpus.h"
#include "tests/support/TemporaryDirectory.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>

namespace velmora {
namespace {

// The generated traces and the ones recorded from real programs on a machine like this one.
std::vector<MemoryTrace> wholeCorpus() {
    std::vector<MemoryTrace> corpus = syntheticCorpus();
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(VELMORA_RECORDED_TRACES)) {
        if (entry.path().extension() == ".trace") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        std::string error;
        auto trace = readTraceFile(file.string(), error);
        EXPECT_TRUE(trace) << error;
        if (trace) {
            corpus.push_back(std::move(*trace));
        }
    }
    return corpus;
}

TEST(DetectionCorpus, EveryLeakInTimeAndNoFalseAlarmUnderDefaultSettings) {
    std::vector<MemoryTrace> corpus = wholeCorpus();
    ASSERT_GE(corpus.size(), 150u);
    std::vector<TraceOutcome> outcomes;
    for (const MemoryTrace& trace : corpus) {
        for (TraceView view : {TraceView::birth, TraceView::midLife}) {
            outcomes.push_back(replayTrace(trace, view, Tuning{}));
        }
    }
    std::cout << corpusTable(outcomes);
    for (const TraceOutcome& outcome : outcomes) {
        EXPECT_TRUE(outcome.passed()) << outcome.describe();
        if (getenv("VELMORA_CORPUS_VERBOSE") != nullptr) {
            std::cout << outcome.describe() << "\n";
        }
    }
}

TEST(DetectionCorpus, TraceFilesRoundTripAndBadFilesAreErrorsWithTheirLine) {
    const testing::TemporaryDirectory scratch; // of its own: test runs may overlap
    const auto& dir = scratch.path();
    MemoryTrace trace;
    trace.name = "round-trip";
    trace.behaviour = "lateOnset";
    trace.leak = true;
    trace.onsetSeconds = 600;
    trace.deadlineSeconds = 1080;
    trace.settledAfter = 1500;
    trace.points = {{0, 1000, 0}, {1, 1200, 7}};
    writeTraceFile(trace, (dir / "a.trace").string());
    std::string error;
    auto read = readTraceFile((dir / "a.trace").string(), error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(read->name, "round-trip");
    EXPECT_TRUE(read->leak);
    EXPECT_EQ(read->onsetSeconds, 600);
    EXPECT_EQ(read->deadlineSeconds, 1080);
    EXPECT_EQ(read->settledAfter, 1500);
    ASSERT_EQ(read->points.size(), 2u);
    EXPECT_EQ(read->points[1].footprintKiB, 1200u);

    std::ofstream(dir / "b.trace") << "# name: bad\n# truth: maybe\n0 1 2\n";
    EXPECT_FALSE(readTraceFile((dir / "b.trace").string(), error));
    EXPECT_NE(error.find(":2: truth: unknown value \"maybe\""), std::string::npos) << error;
    std::ofstream(dir / "c.trace") << "# name: bad\n0 1 2\n1 x 3\n";
    EXPECT_FALSE(readTraceFile((dir / "c.trace").string(), error));
    EXPECT_NE(error.find(":3: expected three numbers"), std::string::npos) << error;
}

} // namespace
} // namespace velmora
