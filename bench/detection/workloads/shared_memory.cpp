// SPDX-License-Identifier: GPL-3.0-or-later
// Programs that keep memory in shared memory, for the live check: the shapes a compositor
// client, a browser or a media program leaks with, and pools that are large but not leaks.
//
//   velmora-shm-workload memfd-mapped|memfd-held|devshm
//       [--heap-mb 8] [--base-mb 32] [--step-mb 1] [--every-sec 6] [--max-mb 400]
//     keeps --base-mb of shared memory, then --step-mb more every --every-sec until --max-mb:
//     memfd-mapped maps and writes each memfd and closes its descriptor; memfd-held writes it
//     through the descriptor and keeps only that; devshm maps a /dev/shm file, then unlinks
//     and closes it.
//   velmora-shm-workload flat [--heap-mb 60] [--shm-mb 1024]
//     one large shared segment, written once, kept as it is.
//   velmora-shm-workload pool [--heap-mb 60] [--buffer-mb 8] [--min 16] [--max 40]
//       [--every-sec 20]
//     a pool of memfd buffers that grows or shrinks by one at random every --every-sec.
//
// It ends with the process that started it (SIGTERM on its parent's death).

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <random>
#include <signal.h>
#include <string>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <unistd.h>
#include <vector>

namespace {

struct Buffer {
    int fd = -1;
    void* address = nullptr;
    std::size_t bytes = 0;
};

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "velmora-shm-workload: %s: %s\n", what.c_str(), std::strerror(errno));
    std::exit(1);
}

void* mapAndWrite(int fd, std::size_t bytes) {
    if (::ftruncate(fd, static_cast<off_t>(bytes)) != 0) {
        fail("ftruncate");
    }
    void* address = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (address == MAP_FAILED) {
        fail("mmap");
    }
    std::memset(address, 0x6b, bytes);
    return address;
}

Buffer make(const std::string& kind, double mib) {
    auto bytes = static_cast<std::size_t>(mib * 1048576);
    Buffer buffer;
    buffer.bytes = bytes;
    if (kind == "devshm") {
        static int serial = 0;
        std::string name =
            "/velmora-workload-" + std::to_string(::getpid()) + "-" + std::to_string(++serial);
        int fd = ::shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
        if (fd < 0) {
            fail("shm_open");
        }
        buffer.address = mapAndWrite(fd, bytes);
        ::shm_unlink(name.c_str());
        ::close(fd);
        return buffer;
    }
    int fd = ::memfd_create("velmora-workload", MFD_CLOEXEC);
    if (fd < 0) {
        fail("memfd_create");
    }
    if (kind == "memfd-held") {
        std::string block(1 << 20, 'k');
        for (std::size_t written = 0; written < bytes; written += block.size()) {
            if (::write(fd, block.data(), block.size()) != static_cast<ssize_t>(block.size())) {
                fail("write");
            }
        }
        buffer.fd = fd;
        return buffer;
    }
    buffer.address = mapAndWrite(fd, bytes);
    if (kind == "pool") {
        buffer.fd = fd; // a pool keeps its buffers' descriptors, as a client passes them on
    } else {
        ::close(fd);
    }
    return buffer;
}

void release(Buffer& buffer) {
    if (buffer.address != nullptr) {
        ::munmap(buffer.address, buffer.bytes);
    }
    if (buffer.fd >= 0) {
        ::close(buffer.fd);
    }
}

void heap(double mib) {
    auto bytes = static_cast<std::size_t>(mib * 1048576);
    void* block =
        ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) {
        fail("mmap heap");
    }
    std::memset(block, 0x3c, bytes);
}

std::map<std::string, double> options(int argc, char** argv) {
    std::map<std::string, double> out;
    for (int i = 2; i + 1 < argc; i += 2) {
        std::string key = argv[i];
        if (key.rfind("--", 0) != 0) {
            std::fprintf(stderr, "velmora-shm-workload: unexpected %s\n", argv[i]);
            std::exit(2);
        }
        out[key.substr(2)] = std::atof(argv[i + 1]);
    }
    return out;
}

double get(const std::map<std::string, double>& o, const char* key, double fallback) {
    auto it = o.find(key);
    return it == o.end() ? fallback : it->second;
}

void pause(double seconds) {
    ::usleep(static_cast<useconds_t>(seconds * 1e6));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: velmora-shm-workload memfd-mapped|memfd-held|devshm|flat|"
                             "pool [--option value]...\n");
        return 2;
    }
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    const std::string kind = argv[1];
    const auto o = options(argc, argv);
    std::vector<Buffer> kept;
    if (kind == "memfd-mapped" || kind == "memfd-held" || kind == "devshm") {
        heap(get(o, "heap-mb", 8));
        double held = get(o, "base-mb", 32);
        kept.push_back(make(kind, held));
        const double step = get(o, "step-mb", 1);
        const double every = get(o, "every-sec", 6);
        const double max = get(o, "max-mb", 400);
        for (;;) {
            pause(every);
            if (held + step <= max) {
                kept.push_back(make(kind, step));
                held += step;
            }
        }
    }
    if (kind == "flat") {
        heap(get(o, "heap-mb", 60));
        kept.push_back(make("memfd-mapped", get(o, "shm-mb", 1024)));
        for (;;) {
            pause(60);
        }
    }
    if (kind == "pool") {
        heap(get(o, "heap-mb", 60));
        const double size = get(o, "buffer-mb", 8);
        const auto low = static_cast<std::size_t>(get(o, "min", 16));
        const auto high = static_cast<std::size_t>(get(o, "max", 40));
        std::mt19937 random(7);
        while (kept.size() < (low + high) / 2) {
            kept.push_back(make("pool", size));
        }
        for (;;) {
            pause(get(o, "every-sec", 20));
            bool grow = random() % 2 == 0;
            if (grow && kept.size() < high) {
                kept.push_back(make("pool", size));
            } else if (!grow && kept.size() > low) {
                release(kept.back());
                kept.pop_back();
            }
        }
    }
    std::fprintf(stderr, "velmora-shm-workload: unknown shape %s\n", kind.c_str());
    return 2;
}
