#include "backend/DrainedBytes.h"

#include <cerrno>
#include <sys/socket.h>

namespace velmora {

DrainedBytes drainQueuedBytes(int fd) {
    DrainedBytes drained;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n > 0) {
            drained.count += static_cast<std::size_t>(n);
            continue;
        }
        if (n == 0) {
            drained.ended = true;
            return drained;
        }
        if (errno == EINTR) {
            continue;
        }
        return drained; // EAGAIN: nothing more queued (other errors show on the next read)
    }
}

} // namespace velmora
