#include "backend/LineReader.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace velmora {
namespace {

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

TEST(LineReader, TakesExactlyOneLineAndLeavesTheNextInTheSocket) {
    Channel channel;
    channel.write("{\"kind\":\"a\"}\n{\"kind\":\"b\"}\n");
    LineReader reader(channel.reader);
    const auto first = reader.readLine();
    EXPECT_EQ(first.status, LineReader::Status::line);
    EXPECT_EQ(first.text, "{\"kind\":\"a\"}");
    EXPECT_EQ(channel.pending(), std::string("{\"kind\":\"b\"}\n").size());
    EXPECT_EQ(reader.readLine().text, "{\"kind\":\"b\"}");
    EXPECT_EQ(reader.readCalls(), 4u); // one peek and one take per short line
}

TEST(LineReader, EndOfStreamAfterPartialBytesIsTheResponse) {
    Channel channel;
    channel.write("{\"kind\":\"partial\"}");
    channel.closeWriter();
    LineReader reader(channel.reader);
    const auto line = reader.readLine();
    EXPECT_EQ(line.status, LineReader::Status::line);
    EXPECT_EQ(line.text, "{\"kind\":\"partial\"}");
    EXPECT_EQ(reader.readLine().status, LineReader::Status::endOfStream);
}

TEST(LineReader, EndOfStreamBeforeAnyByteIsNoResponseButAnEmptyLineIsALine) {
    Channel channel;
    channel.write("\n");
    channel.closeWriter();
    LineReader reader(channel.reader);
    const auto empty = reader.readLine();
    EXPECT_EQ(empty.status, LineReader::Status::line);
    EXPECT_EQ(empty.text, "");
    EXPECT_EQ(reader.readLine().status, LineReader::Status::endOfStream);
}

TEST(LineReader, AssemblesALineLongerThanOneChunkWrittenInPieces) {
    Channel channel;
    const std::string payload(10000, 'p');
    LineReader reader(channel.reader, LineReader::defaultMaxLineBytes, 512);
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
    EXPECT_EQ(channel.pending(), 4u);
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
    EXPECT_NE(overflow.error.find("1000 bytes"), std::string::npos);
    const auto next = reader.readLine();
    writer.join();
    EXPECT_EQ(next.text, "{\"kind\":\"after\"}");
}

TEST(LineReader, ALineOfExactlyTheCapIsAccepted) {
    Channel channel;
    channel.write(std::string(1000, 'y') + "\n");
    LineReader reader(channel.reader, 1000, 256);
    EXPECT_EQ(reader.readLine().text.size(), 1000u);
}

TEST(LineReader, AReadErrorIsReportedWithItsDescription) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0); // not a socket: recv fails
    LineReader reader(fds[0]);
    const auto failed = reader.readLine();
    EXPECT_EQ(failed.status, LineReader::Status::failed);
    EXPECT_NE(failed.error.find("failed to read response: "), std::string::npos);
    ::close(fds[0]);
    ::close(fds[1]);
}

} // namespace
} // namespace velmora
