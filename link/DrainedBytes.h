// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace velmora {

// What was waiting on a stream before a request was written: bytes the backend wrote without
// being asked (an answer to nothing, a stray line), and whether the stream had ended.
struct DrainedBytes {
    std::size_t count = 0;
    bool ended = false;
};

// Takes, without waiting, every byte already queued on the stream socket `fd` and discards
// it, so that the next line read is the answer to the next request.
DrainedBytes drainQueuedBytes(int fd);

} // namespace velmora
