// SPDX-License-Identifier: GPL-3.0-or-later
// The detail's blocks and a row's figures travel with their codes: the app composes, from the
// codes alone (through the wire and back), the very texts the monitor wrote for the verdict, the
// commands to copy, the kept evidence and the diagnostics, and for a row's rate, confidence pill
// and curvature chip. Where a code is unknown or the lists do not line up, the monitor's text is
// shown.
#include "ComposeFixture.h"
#include "SentOverWire.h"
#include "base/SizeText.h"
#include "model/Codec.h"
#include "model/JsonText.h"
#include "monitor/compose/DetailBuilder.h"
#include "monitor/compose/SnapshotComposer.h"
#include "state/DetailTexts.h"
#include "state/LocalFigures.h"
#include "state/RowTexts.h"
#include "state/SummaryTexts.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// One family and the state the monitor composes its row and detail from.
struct Monitor : ComposeFixture {
    Monitor() {
        wallNow = kNow;
        FamilyView family;
        family.key = "app:editor";
        family.title = "editor";
        family.footprintKiB = 1900 * 1024;
        FamilyAssessment& a = family.assessment;
        a.hasRate = true;
        a.rising = true;
        a.rateKiBPerSecond = 137.3;
        a.windowSeconds = 900;
        a.curvature = 1.7;
        a.footprintKiB = family.footprintKiB;
        a.score = 72;
        a.verdict = FindingVerdict::probable;
        family.members.push_back(member(4242, "editor", 1500 * 1024));
        family.members.push_back(member(4243, "editor-helper", 400 * 1024));
        view.families.push_back(family);
    }

    static MemberView member(pid_t pid, const std::string& name, uint64_t kib) {
        MemberView member;
        member.identity.pid = pid;
        member.name = name;
        member.footprintKiB = kib;
        member.cmdline = "/usr/bin/" + name + " --new-window";
        return member;
    }

    FamilyView& family() { return view.families.front(); }

    // The detail and the row as the app receives them.
    DetailSnapshot detail(const std::string& key = "app:editor") const {
        return sent(ComposeFixture::detail(key));
    }
    FindingSnapshot row() const { return sent(ComposeFixture::row(view.families.front())); }
};

// Everything the detail's own blocks show, one line each, composed by the app.
std::string detailShown(const DetailSnapshot& detail) {
    std::string text = detailTitleShown(detail) + "\n" + verdictLabelShown(detail.verdictBlock) +
                       "\n" + verdictConfidenceShown(detail.verdictBlock) + "\n" +
                       summaryShown(detail.verdictBlock) + "\n";
    for (const auto& command : detail.actBlock.nextCommands) {
        text += command.command + ": " + commandExplanationShown(command) + "\n";
    }
    if (detail.artifactBoundary) {
        const ArtifactBoundaryBlock& block = *detail.artifactBoundary;
        text += artifactTitleShown(block) + "\n" + artifactBodyShown(block) + "\n" +
                artifactReasonShown(block, detail.title, kNow) + "\n";
        for (const auto& line : artifactMetaLinesShown(block)) {
            text += line + "\n";
        }
    }
    for (const auto& line : identityLinesShown(detail.diagnosticsBlock)) {
        text += line + "\n";
    }
    for (const auto& line : evidenceLinesShown(detail.diagnosticsBlock)) {
        text += line + "\n";
    }
    for (const auto& metric : metricsShown(detail.diagnosticsBlock)) {
        text += metric.label + ": " + metric.value + "\n";
    }
    return text;
}

// The same, as an older app shows the monitor's texts.
std::string detailSent(const DetailSnapshot& detail) {
    std::string text = detail.title + "\n" + detail.verdictBlock.verdictLabel + "\n" +
                       detail.verdictBlock.confidenceLabel + "\n" +
                       detail.verdictBlock.explanation + "\n";
    for (const auto& command : detail.actBlock.nextCommands) {
        text += command.command + ": " + command.explanation + "\n";
    }
    if (detail.artifactBoundary) {
        const ArtifactBoundaryBlock& block = *detail.artifactBoundary;
        text += block.title + "\n" + block.body + "\n" + block.reason + "\n";
        for (const auto& line : block.metaLines) {
            text += line + "\n";
        }
    }
    const DiagnosticsBlock& diagnostics = detail.diagnosticsBlock;
    for (const auto& line : diagnostics.identityLines) {
        text += line + "\n";
    }
    for (const auto& line : diagnostics.evidenceLines) {
        text += line + "\n";
    }
    for (const auto& metric : diagnostics.metrics) {
        text += metric.label + ": " + metric.value + "\n";
    }
    return text;
}

void expectDetailReadsAlike(const DetailSnapshot& detail) {
    EXPECT_EQ(detailShown(detail), detailSent(detail));
}

TEST(DetailCodes, EveryBlockReadsAsTheMonitorWroteIt) {
    Monitor monitor;
    expectDetailReadsAlike(monitor.detail());

    // A growing member, a protected one, nine processes and no typical size.
    FamilyView& family = monitor.family();
    family.members[1].growing = true;
    family.members[0].isProtected = true;
    family.members[0].cmdline.clear();
    for (pid_t pid = 5000; pid < 5008; ++pid) {
        family.members.push_back(Monitor::member(pid, "worker", 10 * 1024));
    }
    family.assessment.baselineKiB = 800 * 1024;
    family.assessment.score = 91;
    expectDetailReadsAlike(monitor.detail());

    // Before a rate is measured, and with the kernel's first victim in the family.
    family.assessment.hasRate = false;
    family.assessment.score = 12;
    OomVictimView victim;
    victim.ours = true;
    victim.familyKey = family.key;
    victim.pid = 4243;
    victim.oomScore = 676;
    victim.name = "editor-helper";
    monitor.view.forecast.firstVictim = victim;
    const DetailSnapshot detail = monitor.detail();
    ASSERT_EQ(detail.diagnosticsBlock.evidenceLines.size(), 3u);
    EXPECT_EQ(detail.diagnosticsBlock.codes->evidence[1].figures.count, 0);
    EXPECT_EQ(detail.diagnosticsBlock.codes->metrics[1].figures.rateKiBPerSecond, std::nullopt);
    expectDetailReadsAlike(detail);
}

TEST(DetailCodes, TheKeptEvidenceTodayAndOnAnotherDay) {
    Monitor monitor;
    monitor.interaction.artifacts["app:editor"] =
        CapturedArtifact{"/tmp/velmora/artifacts/editor-1.tar", kNow - 600, 3 * 1024 * 1024, 2};
    DetailSnapshot detail = monitor.detail();
    ASSERT_TRUE(detail.artifactBoundary && detail.artifactBoundary->codes);
    EXPECT_EQ(detail.artifactBoundary->codes->processCount, 2);
    expectDetailReadsAlike(detail);

    monitor.interaction.artifacts["app:editor"] =
        CapturedArtifact{"/tmp/velmora/artifacts/editor-0.tar", kNow - 40 * 86400, 900, 0};
    detail = monitor.detail();
    EXPECT_FALSE(detail.artifactBoundary->codes->processCount) << "all of the family's processes";
    expectDetailReadsAlike(detail);
    EXPECT_NE(momentText(kNow - 40 * 86400, kNow).find(' '), std::string::npos)
        << "another day is named";
}

TEST(DetailCodes, AFamilyThatHasEnded) {
    Monitor monitor;
    const DetailSnapshot detail = monitor.detail("app:gone");
    ASSERT_TRUE(detail.verdictBlock.codes);
    EXPECT_TRUE(detail.verdictBlock.codes->ended);
    expectDetailReadsAlike(detail);
}

TEST(DetailCodes, UnknownCodesAndListsThatDoNotLineUpShowTheMonitorsTexts) {
    Monitor monitor;
    DetailSnapshot detail = monitor.detail();
    detail.verdictBlock.verdictLabel = "verdict as sent";
    detail.verdictBlock.codes->verdict = OpenCode<FindingVerdict>::unknown("settling");
    detail.actBlock.nextCommands[0].explanation = "explanation as sent";
    detail.actBlock.nextCommands[0].explanationCode = OpenCode<CommandCode>::unknown("pmap");
    detail.diagnosticsBlock.evidenceLines[0] = "evidence as sent";
    detail.diagnosticsBlock.codes->evidence[0].code =
        OpenCode<DiagnosticEvidenceCode>::unknown("cgroup");
    detail.diagnosticsBlock.metrics[0] = {"Label as sent", "value as sent"};
    detail.diagnosticsBlock.codes->metrics[0].code = OpenCode<MetricCode>::unknown("peak");
    detail.diagnosticsBlock.identityLines.push_back("an extra line");

    EXPECT_EQ(verdictLabelShown(detail.verdictBlock), "verdict as sent");
    EXPECT_EQ(commandExplanationShown(detail.actBlock.nextCommands[0]), "explanation as sent");
    EXPECT_EQ(evidenceLinesShown(detail.diagnosticsBlock)[0], "evidence as sent");
    EXPECT_EQ(metricsShown(detail.diagnosticsBlock)[0].value, "value as sent");
    EXPECT_EQ(identityLinesShown(detail.diagnosticsBlock), detail.diagnosticsBlock.identityLines);
    const auto wrongType = decode<DetailSnapshot>(
        parseJsonText(R"({"diagnosticsBlock": {"identityLines": [], "evidenceLines": [],
                      "metrics": [], "codes": {"identities": [{"pid": "4242",
                      "footprintKiB": 1}]}}})")
            .value());
    ASSERT_FALSE(wrongType.ok());
    EXPECT_NE(wrongType.error().text().find("diagnosticsBlock.codes.identities[0].pid"),
              std::string::npos)
        << wrongType.error().text();
}

TEST(RowCodes, RateConfidenceAndCurvatureReadAsSent) {
    Monitor monitor;
    FamilyAssessment& a = monitor.family().assessment;
    for (int score : {12, 50, 64, 65, 84, 85, 100}) {
        for (double curvature : {1.7, 1.0, 0.2}) {
            a.score = score;
            a.curvature = curvature;
            const FindingSnapshot row = monitor.row();
            EXPECT_EQ(confidencePillShown(row), row.confidencePillLabel);
            EXPECT_EQ(curvatureShown(row), row.curvatureLabel);
            EXPECT_EQ(rowRateShown(row), row.rate);
        }
    }
    a.hasRate = false;
    a.rising = false;
    FindingSnapshot row = monitor.row();
    EXPECT_EQ(rowRateShown(row), "N/A");
    EXPECT_EQ(curvatureShown(row), std::nullopt) << "no chip while nothing grows";

    monitor.family().smokeRole = SmokeRole::recovery;
    row = monitor.row();
    EXPECT_EQ(rowRateShown(row), row.rate) << "a self-check row's texts are the monitor's";
    EXPECT_EQ(confidencePillShown(row), "Self-check");
}

TEST(RowCodes, AnUnknownCodeShowsTheMonitorsText) {
    FindingSnapshot row;
    row.confidencePillLabel = "pill as sent";
    row.curvatureLabel = "chip as sent";
    row.codes.emplace();
    row.codes->confidence = OpenCode<ConfidenceLevel>::unknown("certain");
    row.codes->score = 99;
    row.codes->curvature = OpenCode<CurvatureCode>::unknown("wavy");
    EXPECT_EQ(confidencePillShown(row), "pill as sent");
    EXPECT_EQ(curvatureShown(row), "chip as sent");
}

TEST(StatusSizes, TheStorageChipInWholeUnitsAsTheMonitorWritesIt) {
    constexpr uint64_t kMiB = 1024 * 1024;
    for (uint64_t bytes : {uint64_t{0}, uint64_t{1023}, uint64_t{469 * 1024 + 1000}, kMiB - 1, kMiB,
                           381 * kMiB + 5000, 1024 * kMiB - 1, 1024 * kMiB, 5000 * kMiB}) {
        EXPECT_EQ(localByteSize(bytes), byteSizeText(bytes)) << bytes;
    }
}

} // namespace
} // namespace velmora
