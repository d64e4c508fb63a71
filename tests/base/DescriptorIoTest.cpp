// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/DescriptorIo.h"

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <pthread.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace velmora {
namespace {

std::atomic<int> interruptions{0};

void countInterruption(int) {
    interruptions.fetch_add(1);
}

// A pipe whose ends close with it.
struct Pipe {
    Pipe() { EXPECT_EQ(::pipe2(fds, O_CLOEXEC), 0); }
    ~Pipe() {
        closeEnd(fds[0]);
        closeEnd(fds[1]);
    }
    static void closeEnd(int& fd) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
    int& reader() { return fds[0]; }
    int& writer() { return fds[1]; }
    int fds[2] = {-1, -1};
};

// SIGUSR1 installed without SA_RESTART, so a blocked read or write it hits fails with EINTR.
class Interrupting : public ::testing::Test {
protected:
    void SetUp() override {
        struct sigaction action {};
        action.sa_handler = countInterruption;
        sigemptyset(&action.sa_mask);
        ASSERT_EQ(::sigaction(SIGUSR1, &action, &saved_), 0);
        interruptions = 0;
    }
    void TearDown() override { ::sigaction(SIGUSR1, &saved_, nullptr); }

    // Waits until the thread `tid` sleeps in the kernel (blocked in its system call), then
    // interrupts it once.
    static void interruptWhenBlocked(pid_t tid, pthread_t thread) {
        const std::string stat = "/proc/self/task/" + std::to_string(tid) + "/stat";
        for (;;) {
            std::ifstream in(stat);
            std::string text((std::istreambuf_iterator<char>(in)), {});
            const auto close = text.rfind(')');
            if (close != std::string::npos && close + 2 < text.size() && text[close + 2] == 'S') {
                break;
            }
            std::this_thread::yield();
        }
        const int before = interruptions.load();
        ASSERT_EQ(::pthread_kill(thread, SIGUSR1), 0);
        while (interruptions.load() == before) {
            std::this_thread::yield();
        }
    }

private:
    struct sigaction saved_ {};
};

TEST_F(Interrupting, ABlockedReadThatASignalInterruptsGoesOnAndGetsTheBytes) {
    Pipe pipe;
    std::atomic<pid_t> tid{0};
    std::string got;
    std::thread reader([&] {
        tid = ::gettid();
        char buffer[16];
        const ssize_t n = readSome(pipe.reader(), buffer, sizeof buffer);
        got.assign(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
    });
    while (tid.load() == 0) {
        std::this_thread::yield();
    }
    interruptWhenBlocked(tid, reader.native_handle());
    ASSERT_TRUE(writeAll(pipe.writer(), "late"));
    reader.join();
    EXPECT_EQ(got, "late");
    EXPECT_EQ(interruptions.load(), 1);
}

TEST_F(Interrupting, AWriteCutShortOrInterruptedGoesOnUntilEveryByteIsWritten) {
    Pipe pipe;
    // The pipe is full before the write starts: its first write blocks with nothing written.
    ASSERT_EQ(::fcntl(pipe.writer(), F_SETFL, O_NONBLOCK), 0);
    std::string filler;
    for (const std::string block(4096, 'f');
         ::write(pipe.writer(), block.data(), block.size()) > 0;) {
        filler += block;
    }
    ASSERT_EQ(::fcntl(pipe.writer(), F_SETFL, 0), 0);
    const std::string bytes(1 << 20, 'w'); // far more than the pipe holds
    std::atomic<pid_t> tid{0};
    bool written = false;
    std::thread writer([&] {
        tid = ::gettid();
        written = writeAll(pipe.writer(), bytes);
        Pipe::closeEnd(pipe.writer());
    });
    while (tid.load() == 0) {
        std::this_thread::yield();
    }
    interruptWhenBlocked(tid, writer.native_handle()); // blocked on the full pipe
    std::string received;
    ASSERT_TRUE(readToEnd(pipe.reader(), received));
    writer.join();
    EXPECT_TRUE(written);
    EXPECT_EQ(received.size(), filler.size() + bytes.size());
    EXPECT_EQ(received, filler + bytes);
}

TEST(DescriptorIo, ANonBlockingDescriptorStillSaysItHasNothingOrNoRoom) {
    Pipe pipe;
    ASSERT_EQ(::fcntl(pipe.reader(), F_SETFL, O_NONBLOCK), 0);
    ASSERT_EQ(::fcntl(pipe.writer(), F_SETFL, O_NONBLOCK), 0);
    char byte = 0;
    EXPECT_EQ(readSome(pipe.reader(), &byte, 1), -1);
    EXPECT_EQ(errno, EAGAIN);
    EXPECT_FALSE(writeAll(pipe.writer(), std::string(1 << 20, 'x')));
    EXPECT_EQ(errno, EAGAIN);
}

TEST(DescriptorIo, ReadsExactlyToTheEndOrUpToALimit) {
    Pipe pipe;
    ASSERT_TRUE(writeAll(pipe.writer(), "abcdefgh"));
    char four[4];
    ASSERT_TRUE(readExactly(pipe.reader(), four, sizeof four));
    EXPECT_EQ(std::string(four, 4), "abcd");
    std::string limited;
    ASSERT_TRUE(readToEnd(pipe.reader(), limited, 3));
    EXPECT_EQ(limited, "efg");
    Pipe::closeEnd(pipe.writer());
    EXPECT_FALSE(readExactly(pipe.reader(), four, sizeof four)) << "one byte, then the end";
    std::string rest;
    EXPECT_TRUE(readToEnd(pipe.reader(), rest));
    EXPECT_EQ(rest, "");
}

TEST(DescriptorIo, AFailedReadOrWriteKeepsItsError) {
    const int directory = ::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(directory, 0);
    std::string out = "kept";
    EXPECT_FALSE(readToEnd(directory, out));
    EXPECT_EQ(errno, EISDIR);
    EXPECT_EQ(out, "kept");
    ::close(directory);

    int sockets[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets), 0);
    ::close(sockets[1]);
    // MSG_NOSIGNAL: a reader that went away is an error, not a SIGPIPE that ends the test.
    EXPECT_FALSE(sendAll(sockets[0], "anyone?", MSG_NOSIGNAL));
    EXPECT_EQ(errno, EPIPE);
    ::close(sockets[0]);
}

} // namespace
} // namespace velmora
