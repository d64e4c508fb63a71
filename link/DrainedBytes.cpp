// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/DrainedBytes.h"

#include "base/DescriptorIo.h"

#include <sys/socket.h>

namespace velmora {

DrainedBytes drainQueuedBytes(int fd) {
    DrainedBytes drained;
    char buffer[16384];
    for (;;) {
        const ssize_t n = receiveSome(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n > 0) {
            drained.count += static_cast<std::size_t>(n);
            continue;
        }
        drained.ended = n == 0;
        return drained; // EAGAIN: nothing more queued (other errors show on the next read)
    }
}

} // namespace velmora
