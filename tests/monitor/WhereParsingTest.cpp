// SPDX-License-Identifier: GPL-3.0-or-later
// What heaptrack_print writes, read back into sites; the plain words a person sees; who may be
// tracked, decided from /proc facts (a fake tree for the kernel's ptrace rule); the tools
// looked up in PATH. The real tools are exercised by WhereToolsTest.

#include "FakeProcTree.h"
#include "TraceFactsFixture.h"
#include "model/Codec.h"
#include "monitor/history/StoragePolicy.h"
#include "monitor/where/HeapTools.h"
#include "monitor/where/HeaptrackPrint.h"
#include "monitor/where/TraceAccess.h"
#include "monitor/where/WhereText.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

// heaptrack_print 1.4 on a recording of a program leaking from one function, with an
// allocation through std::vector and an unresolved frame without symbols.
const char* kPrinted = R"(reading file "where-42.zst" - please wait, this might take some time...
Debuggee command was: ./leak --fast
finished reading file, now analyzing data:

MEMORY LEAKS
53.15M leaked over 811 calls from
  leakyCacheInsert(unsigned long)
    at /src/leak.cpp:10
    in /src/leak
  main
    at /src/leak.cpp:25
    in /src/leak

8.19K leaked over 4 calls from
  std::__new_allocator<>::allocate(unsigned long, void const*)
    at /usr/include/c++/12/bits/new_allocator.h:137
    in /src/leak
  void std::vector<>::_M_realloc_insert<>(__gnu_cxx::__normal_iterator<>, char* const&)
    at /usr/include/c++/12/bits/vector.tcc:453
    in /src/leak
  (anonymous namespace)::Cache::grow(int)
    at /src/cache.cpp:31
    in /src/leak

4.10K leaked over 1 calls from
  churn()
    at /src/leak.cpp:17
    in /src/leak

6.55M leaked over 100 calls from
  0x564db25c92bc
    in /src/leak2
  __libc_start_main_impl
    at ../csu/libc-start.c:360
    in /lib/x86_64-linux-gnu/libc.so.6


total runtime: 16.83s.
calls to allocation functions: 41365 (2457/s)
temporary memory allocations: 40550 (2409/s)
peak heap memory consumption: 53.16M
peak RSS (including heaptrack overhead): 60.17M
total memory leaked: 59.72M
)";

TEST(HeaptrackPrint, ReadsEveryStackWithItsSizeCountAndFrames) {
    auto report = parseHeaptrackPrint(kPrinted);
    ASSERT_TRUE(report.ok()) << report.error().text();
    const LeakReport& r = report.value();
    EXPECT_EQ(r.debuggee, "./leak --fast");
    EXPECT_DOUBLE_EQ(r.runtimeSeconds, 16.83);
    EXPECT_EQ(r.allocationCalls, 41365u);
    EXPECT_EQ(r.leakedBytes, 59720000u);
    ASSERT_EQ(r.sites.size(), 4u);
    EXPECT_EQ(r.sites[0].bytes, 53150000u);
    EXPECT_EQ(r.sites[0].calls, 811u);
    ASSERT_EQ(r.sites[0].stack.size(), 2u);
    EXPECT_EQ(r.sites[0].stack[0],
              (StackFrame{"leakyCacheInsert(unsigned long)", "/src/leak.cpp", 10, "/src/leak"}));
    EXPECT_EQ(r.sites[0].stack[1].function, "main");
    EXPECT_EQ(r.sites[0].stack[1].line, 25u);
    // A frame without symbols has its address and module only.
    EXPECT_EQ(r.sites[3].stack[0], (StackFrame{"0x564db25c92bc", "", 0, "/src/leak2"}));
    EXPECT_EQ(r.sites[3].stack[1].file, "../csu/libc-start.c");
}

TEST(HeaptrackPrint, SizesAreHeaptracksDecimalUnits) {
    EXPECT_EQ(parseHeaptrackBytes("0B"), 0u);
    EXPECT_EQ(parseHeaptrackBytes("512B"), 512u);
    EXPECT_EQ(parseHeaptrackBytes("8.19K"), 8190u);
    EXPECT_EQ(parseHeaptrackBytes("53.15M"), 53150000u);
    EXPECT_EQ(parseHeaptrackBytes("1.50G"), 1500000000u);
    for (const char* bad : {"", "M", "12", "12Q", "-1K", "1e400M", "nanM", "1.5.2K", " 1K"}) {
        EXPECT_FALSE(parseHeaptrackBytes(bad)) << bad;
    }
}

TEST(HeaptrackPrint, UnexpectedTextIsAnErrorWithItsLineNeverACrash) {
    auto empty = parseHeaptrackPrint("");
    ASSERT_FALSE(empty.ok());
    EXPECT_NE(empty.error().reason.find("no leak report"), std::string::npos);

    auto badSize = parseHeaptrackPrint("MEMORY LEAKS\n12Q leaked over 3 calls from\n  f\n");
    ASSERT_FALSE(badSize.ok());
    EXPECT_EQ(badSize.error().path, "line 2");

    auto badCount = parseHeaptrackPrint("MEMORY LEAKS\n1K leaked over many calls from\n  f\n");
    ASSERT_FALSE(badCount.ok());
    EXPECT_EQ(badCount.error().path, "line 2");

    auto badRuntime = parseHeaptrackPrint("MEMORY LEAKS\n\ntotal runtime: soon.\n");
    ASSERT_FALSE(badRuntime.ok());
    EXPECT_EQ(badRuntime.error().path, "line 3");

    std::string deep = "MEMORY LEAKS\n1K leaked over 2 calls from\n";
    for (int i = 0; i < 300; ++i) {
        deep += "  f" + std::to_string(i) + "\n";
    }
    auto tooDeep = parseHeaptrackPrint(deep);
    ASSERT_FALSE(tooDeep.ok());
    EXPECT_EQ(tooDeep.error().path, "line 259");

    // Invalid UTF-8 and control bytes in names come out as valid text; stray text before the
    // section, lines without a header and trailing carriage returns are survived.
    auto hostile = parseHeaptrackPrint("noise\n  indented noise\nMEMORY LEAKS\n"
                                       "2K leaked over 2 calls from\r\n"
                                       "  \xff\xfe"
                                       "bad\x1b[0m()\r\n    at \xc3(:7\n    in /x\n"
                                       "total memory leaked: 2K\n");
    ASSERT_TRUE(hostile.ok()) << hostile.error().text();
    ASSERT_EQ(hostile.value().sites.size(), 1u);
    const StackFrame& frame = hostile.value().sites[0].stack.at(0);
    EXPECT_TRUE(encode(frame).dump().size() > 0);
    EXPECT_EQ(frame.line, 7u);
    EXPECT_EQ(hostile.value().leakedBytes, 2000u);
}

TEST(LeakSites, GrowthIsGroupedByTheProgramsOwnFrameAndAnInFlightBufferIsNotGrowth) {
    auto report = parseHeaptrackPrint(kPrinted);
    ASSERT_TRUE(report.ok());
    // The vector's allocation belongs to the cache code that grows it, past the allocator and
    // the standard library.
    EXPECT_EQ(ownCodeFrame(report.value().sites[1].stack), 2u);
    EXPECT_EQ(ownCodeFrame(report.value().sites[0].stack), 0u);
    EXPECT_EQ(ownCodeFrame({{"operator new(unsigned long)", "", 0, "libstdc++.so.6"},
                            {"g_malloc", "", 0, "libglib-2.0.so.0"}}),
              0u);

    std::vector<LeakSite> sites = growingSites(report.value(), 5);
    // The buffer churn() held at the moment tracking stopped (one call) is not growth, and the
    // vector's 8 KB are under a hundredth of what was kept.
    ASSERT_EQ(sites.size(), 2u);
    EXPECT_EQ(sites[0].stack[sites[0].siteFrame].function, "leakyCacheInsert(unsigned long)");
    EXPECT_EQ(sites[1].stack[0].function, "0x564db25c92bc");
    EXPECT_EQ(growingSites(report.value(), 1).size(), 1u);

    // Two stacks through the same frame are one site, with their bytes and calls summed and
    // the larger stack kept.
    LeakReport twice;
    twice.sites = {{3000, 3, {{"f()", "/a.cpp", 4, "m"}, {"small()", "/a.cpp", 9, "m"}}, 0},
                   {5000, 2, {{"f()", "/a.cpp", 4, "m"}, {"large()", "/a.cpp", 12, "m"}}, 0}};
    auto merged = growingSites(twice, 5);
    ASSERT_EQ(merged.size(), 1u);
    EXPECT_EQ(merged[0].bytes, 8000u);
    EXPECT_EQ(merged[0].calls, 5u);
    EXPECT_EQ(merged[0].stack[1].function, "large()");
}

TEST(WhereText, SitesInPlainWords) {
    EXPECT_EQ(shortFunctionName("leakyCacheInsert(unsigned long)"), "leakyCacheInsert()");
    EXPECT_EQ(shortFunctionName("(anonymous namespace)::Cache::grow(int)"), "Cache::grow()");
    EXPECT_EQ(shortFunctionName("void std::vector<>::_M_realloc_insert<>(char* const&)"),
              "std::vector<>::_M_realloc_insert<>()");
    EXPECT_EQ(shortFunctionName("Widget::operator()(int) const"), "Widget::operator()()");
    EXPECT_EQ(shortFunctionName("main"), "main()");
    EXPECT_EQ(shortFunctionName("0x564db25c92bc"), "0x564db25c92bc");
    EXPECT_EQ(trackingSpan(60), "60 s");
    EXPECT_EQ(trackingSpan(2.6), "3 s");
    EXPECT_EQ(trackingSpan(600), "10 min");

    LeakSite site{
        19'100'000, 73, {{"leakyCacheInsert(unsigned long)", "/src/cache.cpp", 5, "/bin/app"}}, 0};
    EXPECT_EQ(siteHeadline(site), "cache.cpp:5 in leakyCacheInsert() kept 18.2 MB over 73 calls");
    site.stack[0].file.clear();
    EXPECT_EQ(siteHeadline(site), "leakyCacheInsert() in app kept 18.2 MB over 73 calls");
    EXPECT_EQ(siteHeadline(LeakSite{2048, 1, {}, 0}), "an unknown place kept 2.0 KB over 1 call");

    auto report = parseHeaptrackPrint(kPrinted);
    ASSERT_TRUE(report.ok());
    std::vector<LeakSite> sites = growingSites(report.value(), 5);
    std::string text = sitesText(sites);
    EXPECT_NE(text.find("1. leak.cpp:10 in leakyCacheInsert() kept 50.7 MB over 811 calls\n"
                        "     leakyCacheInsert(unsigned long)\n"
                        "       at /src/leak.cpp:10\n"
                        "       in /src/leak\n"
                        "     main\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(
        siteStackLines(sites[0], 1),
        std::vector<std::string>{"leakyCacheInsert(unsigned long) \u00B7 leak.cpp:10 \u00B7 leak"});

    WhereReport where;
    where.pid = 42;
    where.program = "leak";
    where.trackedSeconds = 7.6;
    where.processEnded = true;
    where.leakedBytes = 2 << 20;
    EXPECT_EQ(trackingSummary(where), "Tracked leak (PID 42) for 8 s until it ended; 2.0 MB "
                                      "allocated meanwhile was not freed.");
    EXPECT_NE(whereReportText(where, "~/r.zst").find("nothing grew"), std::string::npos);
}

TEST(WhereReportJson, RoundTripsAndRefusesWhatItCannotRead) {
    auto report = parseHeaptrackPrint(kPrinted);
    ASSERT_TRUE(report.ok());
    WhereReport where{
        42, "leak", 8.0, false, true, "/a/b.zst", 1000, 59720000, growingSites(report.value(), 5),
        0,  ""};
    Json json = encode(where);
    EXPECT_EQ(json["sites"][0]["headline"], siteHeadline(where.sites[0]));
    auto back = decode<WhereReport>(json);
    ASSERT_TRUE(back.ok()) << back.error().text();
    EXPECT_EQ(back.value(), where);

    json["sites"][0]["stack"][1]["line"] = -3;
    auto broken = decode<WhereReport>(json);
    ASSERT_FALSE(broken.ok());
    EXPECT_EQ(broken.error().path, "sites[0].stack[1].line");

    WhereFailure failure{"ptraceScope", "no", {{"sudo x", "Does x."}}, true};
    EXPECT_EQ(decode<WhereFailure>(encode(failure)).value(), failure);
}

TEST(TraceAccess, NeverAnotherUsersASetuidOrANonDumpableProcess) {
    EXPECT_TRUE(decideTraceAccess(ownProcess(), 1000, 1000, 1).allowed());

    TraceFacts gone = ownProcess();
    gone.exists = false;
    EXPECT_EQ(decideTraceAccess(gone, 1000, 1000, 1).block, TraceBlock::noProcess);
    EXPECT_EQ(decideTraceAccess(ownProcess(), 1000, 1000, 4242).block, TraceBlock::self);

    TraceFacts other = ownProcess();
    other.uids = {1001, 1001, 1001, 1001};
    TraceAccess access = decideTraceAccess(other, 1000, 1000, 1);
    EXPECT_EQ(access.block, TraceBlock::otherUser);
    EXPECT_EQ(access.failure.sentences,
              (std::vector<WhereFailureCodes>{
                  {WhereFailureCode::otherUser, {.process = "leak", .pid = 4242}}}));
    EXPECT_EQ(access.failure.reason, "otherUser");
    EXPECT_TRUE(access.failure.commands.empty());
    EXPECT_FALSE(access.failure.restartHelps);

    TraceFacts setuid = ownProcess();
    setuid.uids[1] = 0;
    EXPECT_EQ(decideTraceAccess(setuid, 1000, 1000, 1).block, TraceBlock::setId);
    TraceFacts setgid = ownProcess();
    setgid.gids[2] = 5;
    EXPECT_EQ(decideTraceAccess(setgid, 1000, 1000, 1).block, TraceBlock::setId);
    TraceFacts setIdFile = ownProcess();
    setIdFile.setIdExecutable = true;
    EXPECT_EQ(decideTraceAccess(setIdFile, 1000, 1000, 1).block, TraceBlock::setId);

    TraceFacts sealed = ownProcess();
    sealed.procOwner = 0;
    access = decideTraceAccess(sealed, 1000, 1000, 1);
    EXPECT_EQ(access.block, TraceBlock::notDumpable);
    EXPECT_EQ(access.failure.sentences.at(0).code, OpenCode(WhereFailureCode::notDumpable));
    EXPECT_FALSE(access.failure.restartHelps);
}

TEST(TraceAccess, ThePtraceScopeOfAFakeProcDecidesAndSaysWhatWouldWork) {
    test::FakeProcTree proc;
    proc.addProcess(4242, 1, "leak", 100);
    proc.write("4242/status", "Name:\tleak\nUmask:\t0022\nUid:\t" + std::to_string(::getuid()) +
                                  "\t" + std::to_string(::getuid()) + "\t" +
                                  std::to_string(::getuid()) + "\t" + std::to_string(::getuid()) +
                                  "\nGid:\t" + std::to_string(::getgid()) + "\t" +
                                  std::to_string(::getgid()) + "\t" + std::to_string(::getgid()) +
                                  "\t" + std::to_string(::getgid()) + "\n");
    ProcRoot root(proc.root);
    auto decide = [&] {
        return decideTraceAccess(readTraceFacts(root, 4242), ::getuid(), ::getgid(), 1);
    };
    // No Yama at all: attaching to one's own process is allowed.
    TraceFacts facts = readTraceFacts(root, 4242);
    EXPECT_TRUE(facts.exists);
    EXPECT_EQ(facts.name, "leak");
    EXPECT_EQ(facts.ptraceScope, 0);
    EXPECT_TRUE(decide().allowed());

    std::filesystem::create_directories(proc.root + "/sys/kernel/yama");
    proc.write("sys/kernel/yama/ptrace_scope", "0\n");
    EXPECT_TRUE(decide().allowed());

    proc.write("sys/kernel/yama/ptrace_scope", "1\n");
    TraceAccess children = decide();
    EXPECT_EQ(children.block, TraceBlock::ptraceScope);
    EXPECT_EQ(children.failure.sentences,
              (std::vector<WhereFailureCodes>{
                  {WhereFailureCode::attachOnlyToChildren, {.process = "leak", .pid = 4242}}}));
    const std::vector<SuggestedCommand>& commands = children.failure.commands;
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0].command, "sudo sysctl kernel.yama.ptrace_scope=0");
    EXPECT_EQ(commands[0].code->code, OpenCode(WhereCommandCode::allowAttach));
    EXPECT_EQ(commands[1].command, "heaptrack -p 4242");
    EXPECT_EQ(commands[1].code->code, OpenCode(WhereCommandCode::trackUntilInterrupted));
    EXPECT_EQ(commands[2].command, "sudo sysctl kernel.yama.ptrace_scope=1");
    EXPECT_EQ(commands[2].code->code, OpenCode(WhereCommandCode::restoreRule));
    EXPECT_TRUE(children.failure.restartHelps);

    proc.write("sys/kernel/yama/ptrace_scope", "2\n");
    EXPECT_EQ(decide().failure.sentences.at(0).code, OpenCode(WhereFailureCode::attachOnlyAsAdmin));
    EXPECT_EQ(decide().failure.commands.at(2).command, "sudo sysctl kernel.yama.ptrace_scope=2");

    proc.write("sys/kernel/yama/ptrace_scope", "3\n");
    TraceAccess never = decide();
    EXPECT_EQ(never.failure.sentences.at(0).code, OpenCode(WhereFailureCode::attachNeverUntilBoot));
    EXPECT_TRUE(never.failure.commands.empty());
    EXPECT_TRUE(never.failure.restartHelps);

    // A status without its ids, or no process at all, is no process to track.
    proc.write("4242/status", "Name:\tleak\n");
    EXPECT_EQ(decide().block, TraceBlock::noProcess);
    EXPECT_FALSE(readTraceFacts(root, 999).exists);
}

TEST(HeapTools, FoundInPathOrNamedAsPackagesToInstall) {
    char pattern[] = "/tmp/velmora-tools-XXXXXX";
    std::string dir = ::mkdtemp(pattern);
    auto tool = [&](const std::string& name, mode_t mode) {
        std::ofstream(dir + "/" + name) << "#!/bin/sh\n";
        ::chmod((dir + "/" + name).c_str(), mode);
    };
    tool("heaptrack", 0755);
    tool("heaptrack_print", 0644); // not executable: not found
    std::filesystem::create_directory(dir + "/gdb");
    HeapTools tools = HeapTools::find("relative/dir:" + dir);
    EXPECT_EQ(tools.heaptrack, dir + "/heaptrack");
    EXPECT_TRUE(tools.heaptrackPrint.empty());
    EXPECT_TRUE(tools.gdb.empty());
    EXPECT_EQ(tools.missingPackages(true), (std::vector<std::string>{"heaptrack", "gdb"}));
    EXPECT_EQ(tools.missingPackages(false), std::vector<std::string>{"heaptrack"});
    EXPECT_EQ(missingToolsText({"heaptrack", "gdb"}),
              "Finding where memory grows needs heaptrack and gdb, which are not installed. "
              "Install the Debian packages: sudo apt install heaptrack gdb");
    EXPECT_EQ(missingToolsText({"gdb"}),
              "Finding where memory grows needs gdb, which is not installed. Install the Debian "
              "package: sudo apt install gdb");
    std::filesystem::remove_all(dir);
}

// `depth` frames of a C++ program with long names.
std::string deepFrames(int depth) {
    std::string frames;
    for (int level = 0; level < depth; ++level) {
        frames += "  descendThroughTheLayersOfAnApplication" + std::to_string(level) +
                  "(int, unsigned long, std::map<std::string, std::vector<int>>&)\n"
                  "    at /home/someone/src/application/layers/deep_layer.cpp:" +
                  std::to_string(100 + level) + "\n    in /home/someone/src/application/app\n";
    }
    return frames;
}

// A report as heaptrack_print writes it for a C++ program with deep stacks: `small` entries
// leaking little each, then the large one 60 frames deep (the largest need not come first),
// then the summary. Megabytes.
std::string deepReport(int small) {
    const std::string frames = deepFrames(8);
    std::string text = "reading file \"where.zst\" - please wait, this might take some time...\n"
                       "Debuggee command was: ./app\nfinished reading file, now analyzing data:\n"
                       "\nMEMORY LEAKS\n";
    for (int i = 0; i < small; ++i) {
        text += "1.02K leaked over 1 calls from\n  smallLeak" + std::to_string(i) +
                "()\n    at /src/small.cpp:" + std::to_string(i + 1) + "\n    in /src/app\n" +
                frames + "\n";
    }
    text += "5.37G leaked over 81920 calls from\n  leakyCacheInsert(unsigned long)\n"
            "    at /src/cache.cpp:12\n    in /src/app\n" +
            deepFrames(60) + "\n";
    text += "\ntotal runtime: 60.00s.\ncalls to allocation functions: 900000 (15000/s)\n"
            "total memory leaked: 5.38G\n";
    return text;
}

TEST(HeaptrackPrint, AReportOfManyMegabytesReadInPiecesKeepsItsLargestSitesAndItsTotal) {
    const std::string text = deepReport(5000);
    ASSERT_GT(text.size(), 8u << 20);
    HeaptrackPrintReader reader;
    for (std::size_t at = 0; at < text.size(); at += 4093) { // pieces that split lines anywhere
        reader.feed(std::string_view(text).substr(at, 4093));
    }
    auto report = reader.finish();
    ASSERT_TRUE(report.ok()) << report.error().text();
    EXPECT_EQ(report.value().leakedBytes, 5380000000u);
    EXPECT_EQ(report.value().sites.size(), HeaptrackPrintReader::kKeptSites);
    auto sites = growingSites(report.value(), 5);
    ASSERT_FALSE(sites.empty());
    EXPECT_EQ(sites[0].site()->function, "leakyCacheInsert(unsigned long)");
    EXPECT_EQ(sites[0].stack.size(), 61u);
    EXPECT_EQ(sites[0].calls, 81920u);

    // A report that stops before its total was not read to its end.
    auto cut = parseHeaptrackPrint(std::string_view(text).substr(0, text.size() / 2));
    ASSERT_FALSE(cut.ok());
    EXPECT_EQ(cut.error().reason,
              "heaptrack_print's report ended before its total of memory leaked");
}

// A stand-in for heaptrack_print: a real program writing `report` (its first `bytes` when
// given) and ending with `status`.
std::string fakePrinter(const std::string& dir, const std::string& report,
                        std::optional<std::size_t> bytes, int status) {
    std::string path = dir + "/heaptrack_print";
    std::ofstream(path) << "#!/bin/sh\n"
                        << (bytes ? "head -c " + std::to_string(*bytes) : std::string("cat"))
                        << " '" << report << "'\nexit " << status << "\n";
    ::chmod(path.c_str(), 0755);
    return path;
}

TEST(HeaptrackPrint, TheWholeOutputOfTheToolIsReadAndAnUnfinishedOneIsAFailure) {
    char pattern[] = "/tmp/velmora-print-XXXXXX";
    std::string dir = ::mkdtemp(pattern);
    const std::string text = deepReport(1500);
    ASSERT_GT(text.size(), 2u << 20);
    std::ofstream(dir + "/report.txt") << text;
    HeapTools tools;

    tools.heaptrackPrint = fakePrinter(dir, dir + "/report.txt", std::nullopt, 0);
    auto whole = analyseRecording(tools, dir + "/where.zst", 60);
    ASSERT_TRUE(whole.ok()) << whole.error().text();
    EXPECT_EQ(whole.value().sites.size(), 1501u);
    EXPECT_EQ(growingSites(whole.value(), 1).at(0).site()->function,
              "leakyCacheInsert(unsigned long)");

    tools.heaptrackPrint = fakePrinter(dir, dir + "/report.txt", text.size() - 2000, 0);
    auto cut = analyseRecording(tools, dir + "/where.zst", 60);
    ASSERT_FALSE(cut.ok());
    EXPECT_NE(cut.error().reason.find("ended before its total"), std::string::npos);

    tools.heaptrackPrint = fakePrinter(dir, dir + "/report.txt", std::nullopt, 1);
    auto failed = analyseRecording(tools, dir + "/where.zst", 60);
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.error().reason,
              "heaptrack_print could not read the recording to its end: total memory leaked: "
              "5.38G");
    std::filesystem::remove_all(dir);
}

TEST(StoragePolicy, TheRecordingCapIsAGibibyteWithinTheArtifactBudget) {
    EXPECT_EQ(StoragePolicy::forMode(SettingsStorageMode::low).recordingCapBytes(), 64u << 20);
    EXPECT_EQ(StoragePolicy::forMode(SettingsStorageMode::balanced).recordingCapBytes(),
              384u << 20);
    EXPECT_EQ(StoragePolicy::forMode(SettingsStorageMode::deepInvestigation).recordingCapBytes(),
              1u << 30);
}

} // namespace
} // namespace velmora
