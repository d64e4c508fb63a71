// SPDX-License-Identifier: GPL-3.0-or-later
// Reading one response line from the backend's standard output (a socketpair): the line
// reader (64 KiB reads, what it read past a line kept for the next one) against reading one
// byte per system call, for 1 KB, 100 KB and 1 MB lines. Reports bytes per second and read
// calls per line.

#include "base/DescriptorIo.h"
#include "base/LineReader.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

// A writer thread that keeps one side of a socketpair full of identical lines.
class LineSource {
public:
    explicit LineSource(std::size_t lineBytes) : line_(lineBytes - 1, 'x') {
        line_.push_back('\n');
        int fds[2];
        ::socketpair(AF_UNIX, SOCK_STREAM, 0, fds);
        reader_ = fds[0];
        writer_ = fds[1];
        thread_ = std::thread([this] { run(); });
    }
    ~LineSource() {
        ::shutdown(reader_, SHUT_RDWR); // the writer's next send fails and it ends
        thread_.join();
        ::close(reader_);
        ::close(writer_);
    }
    int fd() const { return reader_; }

private:
    void run() {
        while (velmora::sendAll(writer_, line_, MSG_NOSIGNAL)) {
        }
    }

    std::string line_;
    int reader_ = -1;
    int writer_ = -1;
    std::thread thread_;
};

// The reader it replaces: one read() per byte.
std::size_t readLineByteAtATime(int fd, std::string& line, std::uint64_t& calls) {
    line.clear();
    char c = 0;
    for (;;) {
        ++calls;
        const ssize_t n = ::read(fd, &c, 1);
        if (n <= 0 || c == '\n') {
            return line.size();
        }
        line.push_back(c);
    }
}

void report(benchmark::State& state, std::uint64_t calls) {
    const auto lines = static_cast<double>(state.iterations());
    state.SetBytesProcessed(state.iterations() * state.range(0));
    state.counters["reads/line"] = static_cast<double>(calls) / lines;
}

void BM_LineReader(benchmark::State& state) {
    LineSource source(static_cast<std::size_t>(state.range(0)));
    velmora::LineReader reader(source.fd(), std::size_t{64} << 20);
    for (auto _ : state) {
        auto result = reader.readLine();
        benchmark::DoNotOptimize(result.text.data());
    }
    report(state, reader.readCalls());
}

void BM_ByteAtATimeReader(benchmark::State& state) {
    LineSource source(static_cast<std::size_t>(state.range(0)));
    std::string line;
    std::uint64_t calls = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(readLineByteAtATime(source.fd(), line, calls));
    }
    report(state, calls);
}

BENCHMARK(BM_LineReader)->Arg(1 << 10)->Arg(100 << 10)->Arg(1 << 20)->UseRealTime();
BENCHMARK(BM_ByteAtATimeReader)->Arg(1 << 10)->Arg(100 << 10)->Arg(1 << 20)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
