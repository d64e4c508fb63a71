// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MemoryTrace.h"

#include <vector>

namespace velmora {

// The generated part of the corpus: every class of everyday memory behaviour, leaks and not,
// each in several parameterisations (rates, sizes, periods, noise), with fixed seeds so the
// corpus is the same on every run.
std::vector<MemoryTrace> syntheticCorpus();

} // namespace velmora
