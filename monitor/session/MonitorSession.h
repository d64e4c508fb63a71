// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora {

// The ui-backend loop: starts the sampler, answers every line of `in` on `out` until end of
// input (status 0), a closed output (status 0) or the quit command.
int runSession(int in, int out);

} // namespace velmora
