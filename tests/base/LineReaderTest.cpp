// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/LineReader.h"

#include "base/DescriptorIo.h"

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace velmora {
namespace {

constexpr std::size_t bigCap = std::size_t{64} << 20;

// A connected stream socket pair: the test writes into `writer`, the reader reads `reader`.
struct Channel {
    Channel() {
        int fds[2];
        EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
        reader = fds[0];
        writer = fds[1];
    }
    ~Channel() {
        ::close(reader);
        closeWriter();
    }
    void write(const std::string& bytes) const {
        ASSERT_EQ(::send(writer, bytes.data(), bytes.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(bytes.size()));
    }
    void closeWriter() {
        if (writer >= 0) {
            ::close(writer);
            writer = -1;
        }
    }
    std::size_t pending() const {
        char buffer[4096];
        const ssize_t n = ::recv(reader, buffer, sizeof buffer, MSG_PEEK | MSG_DONTWAIT);
        return n < 0 ? 0 : static_cast<std::size_t>(n);
    }
    int reader = -1;
    int writer = -1;
};

TEST(LineReader, KeepsWhatItReadPastALineForTheNextCallOrDiscardsItWhenAsked) {
    Channel channel;
    channel.write("{\"kind\":\"a\"}\n{\"kind\":\"b\"}\n{\"kind\":\"stray\"}\n");
    LineReader reader(channel.reader, bigCap);
    const auto first = reader.readLine();
    EXPECT_EQ(first.status, LineReader::Status::line);
    EXPECT_EQ(first.text, "{\"kind\":\"a\"}");
    EXPECT_EQ(reader.readLine().text, "{\"kind\":\"b\"}");
    EXPECT_EQ(reader.readCalls(), 1u); // one read brought every short line
    EXPECT_EQ(reader.discardBuffered(), std::string("{\"kind\":\"stray\"}\n").size());
    EXPECT_EQ(reader.discardBuffered(), 0u);
    channel.write("{\"kind\":\"c\"}\n");
    EXPECT_EQ(reader.readLine().text, "{\"kind\":\"c\"}");
}

TEST(LineReader, AtTheEndOfTheStreamPartialBytesAreALineAndNoBytesAreNoLine) {
    for (const std::string& sent : {std::string("{\"kind\":\"partial\"}"), std::string("\n")}) {
        Channel channel;
        channel.write(sent);
        channel.closeWriter();
        LineReader reader(channel.reader, bigCap);
        const auto line = reader.readLine();
        EXPECT_EQ(line.status, LineReader::Status::line);
        EXPECT_EQ(line.text, sent == "\n" ? "" : sent);
        EXPECT_EQ(reader.readLine().status, LineReader::Status::end);
    }
}

TEST(LineReader, AssemblesALineLongerThanOneChunkWrittenInPieces) {
    Channel channel;
    const std::string payload(10000, 'p');
    LineReader reader(channel.reader, bigCap, 512);
    std::thread writer([&] {
        for (std::size_t at = 0; at < payload.size(); at += 1000) {
            channel.write(payload.substr(at, 1000));
        }
        channel.write("\nnext");
    });
    const auto line = reader.readLine();
    writer.join();
    EXPECT_EQ(line.status, LineReader::Status::line);
    EXPECT_EQ(line.text, payload);
    EXPECT_EQ(reader.discardBuffered() + channel.pending(), 4u);
}

TEST(LineReader, ALineOverTheCapIsDiscardedThroughItsLineFeedAndTheNextLineSurvives) {
    Channel channel;
    LineReader reader(channel.reader, 1000, 256);
    std::thread writer([&] {
        channel.write(std::string(5000, 'x'));
        channel.write("\n{\"kind\":\"after\"}\n");
    });
    const auto overflow = reader.readLine();
    EXPECT_EQ(overflow.status, LineReader::Status::tooLong);
    EXPECT_TRUE(overflow.text.empty());
    EXPECT_EQ(overflow.discarded, 5000u);
    const auto next = reader.readLine();
    writer.join();
    EXPECT_EQ(next.text, "{\"kind\":\"after\"}");
}

TEST(LineReader, ALineOfExactlyTheCapIsAcceptedAndOneMoreByteIsNot) {
    Channel channel;
    channel.write(std::string(1000, 'y') + "\n" + std::string(1001, 'z') + "\n");
    LineReader reader(channel.reader, 1000, 4096); // both lines arrive in one read
    EXPECT_EQ(reader.readLine().text.size(), 1000u);
    const auto over = reader.readLine();
    EXPECT_EQ(over.status, LineReader::Status::tooLong);
    EXPECT_EQ(over.discarded, 1001u);
}

TEST(LineReader, AReadErrorIsReportedWithItsErrno) {
    const int directory = ::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(directory, 0);
    LineReader reader(directory, bigCap);
    const auto failed = reader.readLine();
    EXPECT_EQ(failed.status, LineReader::Status::failed);
    EXPECT_EQ(failed.error, EISDIR);
    ::close(directory);
}

TEST(LineReader, SplitsLinesFromAPipeAndDiscardsAnOversizedOneAcrossManyReads) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    std::thread writer([fd = fds[1]] {
        writeAll(fd, "first\n" + std::string(300000, 'x') + "\nsecond\nlast");
        ::close(fd);
    });
    LineReader reader(fds[0], 100000);
    EXPECT_EQ(reader.readLine().text, "first");
    const auto oversized = reader.readLine();
    EXPECT_EQ(oversized.status, LineReader::Status::tooLong);
    EXPECT_EQ(oversized.discarded, 300000u);
    EXPECT_EQ(reader.readLine().text, "second");
    const auto last = reader.readLine();
    EXPECT_EQ(last.status, LineReader::Status::line);
    EXPECT_EQ(last.text, "last");
    EXPECT_EQ(reader.readLine().status, LineReader::Status::end);
    writer.join();
    ::close(fds[0]);
}

} // namespace
} // namespace velmora
