// SPDX-License-Identifier: GPL-3.0-or-later
// A helper process for the monitor's tests.
//   leak MIB_PER_SECOND BASE_MIB   touches BASE_MIB, then MIB_PER_SECOND more every second
//   flat MIB                       touches MIB once and stays flat
//   hostile                        renames itself to invalid UTF-8 and leaks 2 MiB/s
// Every mode stops after 120 s so a crashed test leaves nothing behind.

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <thread>
#include <unistd.h>

namespace {

void touch(std::size_t mib) {
    std::size_t bytes = mib << 20;
    void* block =
        ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) {
        std::_Exit(3);
    }
    std::memset(block, 0x5a, bytes);
}

} // namespace

int main(int argc, char** argv) {
    using namespace std::chrono;
    auto deadline = steady_clock::now() + seconds(120);
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "hostile") {
        const char name[] = "\xff\xfe\x01"
                            "bad\x1b[31m";
        ::prctl(PR_SET_NAME, name, 0, 0, 0);
        static char rate[] = "2";
        static char base[] = "32";
        static char leak[] = "leak";
        static char* leakArgs[] = {argv[0], leak, rate, base};
        argv = leakArgs;
        argc = 4;
        mode = "leak";
    }
    if (mode == "leak" && argc > 3) {
        double rate = std::atof(argv[2]);
        touch(static_cast<std::size_t>(std::atoi(argv[3])));
        // Steps of a tenth of a second keep the growth smooth at the sampler's scale.
        double owed = 0;
        while (steady_clock::now() < deadline) {
            std::this_thread::sleep_for(milliseconds(100));
            owed += rate / 10.0;
            while (owed >= 1.0) {
                touch(1);
                owed -= 1.0;
            }
        }
        return 0;
    }
    if (mode == "flat" && argc > 2) {
        touch(static_cast<std::size_t>(std::atoi(argv[2])));
    } else {
        return 2;
    }
    while (steady_clock::now() < deadline) {
        std::this_thread::sleep_for(milliseconds(200));
    }
    return 0;
}
