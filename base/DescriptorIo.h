// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cerrno>
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace velmora {

// Reads and writes on file descriptors, each system call retried when a signal interrupts it
// (EINTR) and nothing else changed: a failure keeps its errno, a non-blocking descriptor still
// fails with EAGAIN when it has nothing to give or no room.

// Calls `call` again while it fails with EINTR; its last result (-1 and errno on failure).
template <class Call> auto retryOnInterrupt(Call call) {
    for (;;) {
        const auto result = call();
        if (result != -1 || errno != EINTR) {
            return result;
        }
    }
}

// One read(2): the bytes read, 0 at the end of the stream, -1 on failure.
ssize_t readSome(int fd, void* buffer, std::size_t size);

// One recv(2) with `flags` (MSG_DONTWAIT...): the same results as readSome.
ssize_t receiveSome(int fd, void* buffer, std::size_t size, int flags);

// One send(2) with `flags` (MSG_NOSIGNAL...): the bytes sent (maybe fewer than asked), -1 on
// failure.
ssize_t sendSome(int fd, const void* bytes, std::size_t size, int flags);

// Reads exactly `size` bytes; false when the stream ends before them or a read fails.
bool readExactly(int fd, void* buffer, std::size_t size);

// Appends what `fd` holds, up to the end of the stream or `limit` bytes, to `out`; false when a
// read fails (what came before the failure stays in `out`).
bool readToEnd(int fd, std::string& out,
               std::size_t limit = std::numeric_limits<std::size_t>::max());

// Writes all of `bytes`, going on after short writes; false when a write fails (errno says
// why) or writes nothing.
bool writeAll(int fd, std::string_view bytes);

// The same with send(2) and `flags` (MSG_NOSIGNAL: a reader that went away is EPIPE, never
// SIGPIPE).
bool sendAll(int fd, std::string_view bytes, int flags);

} // namespace velmora
