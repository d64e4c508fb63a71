// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/DescriptorIo.h"

#include <algorithm>
#include <sys/socket.h>
#include <unistd.h>

namespace velmora {
namespace {

// Hands `bytes` to `writeSome` until all are taken; false on a failure or a write of nothing.
template <class WriteSome> bool writeEverything(std::string_view bytes, WriteSome writeSome) {
    while (!bytes.empty()) {
        const ssize_t written = retryOnInterrupt([&] { return writeSome(bytes); });
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

ssize_t readSome(int fd, void* buffer, std::size_t size) {
    return retryOnInterrupt([&] { return ::read(fd, buffer, size); });
}

ssize_t receiveSome(int fd, void* buffer, std::size_t size, int flags) {
    return retryOnInterrupt([&] { return ::recv(fd, buffer, size, flags); });
}

ssize_t sendSome(int fd, const void* bytes, std::size_t size, int flags) {
    return retryOnInterrupt([&] { return ::send(fd, bytes, size, flags); });
}

bool readExactly(int fd, void* buffer, std::size_t size) {
    auto* bytes = static_cast<char*>(buffer);
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = readSome(fd, bytes + done, size - done);
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool readToEnd(int fd, std::string& out, std::size_t limit) {
    char chunk[16384];
    for (std::size_t taken = 0; taken < limit;) {
        const ssize_t n = readSome(fd, chunk, std::min(sizeof chunk, limit - taken));
        if (n <= 0) {
            return n == 0;
        }
        out.append(chunk, static_cast<std::size_t>(n));
        taken += static_cast<std::size_t>(n);
    }
    return true;
}

bool writeAll(int fd, std::string_view bytes) {
    return writeEverything(
        bytes, [fd](std::string_view rest) { return ::write(fd, rest.data(), rest.size()); });
}

bool sendAll(int fd, std::string_view bytes, int flags) {
    return writeEverything(bytes, [fd, flags](std::string_view rest) {
        return ::send(fd, rest.data(), rest.size(), flags);
    });
}

} // namespace velmora
