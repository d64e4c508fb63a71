// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/DetailSnapshot.h"
#include "monitor/compose/ComposeContext.h"
#include "monitor/compose/InteractionState.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The detail's own texts, each written together with the code and figures it is made of, so
// the app composes the same text from the codes.

// The verdict block of a family: "Probable leak", "High confidence · score 72" and the summary.
VerdictBlock verdictBlockOf(const FamilyView& family);
// The verdict block of a family whose processes are all gone.
VerdictBlock endedVerdictBlock();

// A command to copy with what it shows ("Its largest anonymous mappings, …").
NextCommandDescriptor nextCommand(std::string command, CommandCode explanation,
                                  ActionDescriptor action);

// "PID 4242 · editor · 1.9 GB · growing · protected · /usr/bin/editor --new".
std::string identityLine(const MemberIdentityCodes& member);
// The identity codes of one of the family's processes.
MemberIdentityCodes identityOf(const MemberView& member);

// The diagnostics' evidence lines: how the footprint is measured, how many bucket medians the
// rate is judged from and, when the kernel would end one of the family's processes first, which.
void setEvidence(DiagnosticsBlock& block, const ComposeContext& context, const FamilyView& family);

// The diagnostics' figures as codes, one for one with the incident's metrics of the family.
std::vector<Coded<MetricCode>> metricCodesOf(const FamilyView& family);

// The kept evidence of a family, with the actions on it.
ArtifactBoundaryBlock artifactBlockOf(const ComposeContext& context, const FamilyView& family,
                                      const CapturedArtifact& artifact);

} // namespace velmora
