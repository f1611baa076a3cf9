// The frames between the program and the library host: what is encoded decodes to itself, and
// what is malformed is refused, never taken for a message.

#include "access/host_protocol.h"

#include <gtest/gtest.h>

namespace {

using namespace backend::host;

std::string payloadOf(const std::string& frame) {
    return frame.substr(4);
}

TEST(HostProtocol, MessagesSurviveEncodingByteForByte) {
    const CallRequest call{
        7, {std::int32_t(-5), std::string("a\0b\xFF", 4), std::string(), std::int32_t(2147483647)}};
    const auto decoded = decodeRequest(payloadOf(encode(Request(call))));
    ASSERT_TRUE(decoded);
    const auto& back = std::get<CallRequest>(*decoded);
    EXPECT_EQ(back.entry, 7);
    EXPECT_EQ(back.arguments, call.arguments);

    const auto load = decodeRequest(payloadOf(encode(Request(LoadRequest{"/a/çb.so"}))));
    ASSERT_TRUE(load);
    EXPECT_EQ(std::get<LoadRequest>(*load).path, "/a/çb.so");

    const auto loaded = decodeReply(payloadOf(encode(Reply(Loaded{0xA5C3}))));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(std::get<Loaded>(*loaded).entryPoints, 0xA5C3);
    const auto answer = decodeReply(payloadOf(encode(Reply(Answer{std::string("x\0|y", 4)}))));
    ASSERT_TRUE(answer);
    EXPECT_EQ(std::get<Answer>(*answer).bytes, std::string("x\0|y", 4));
}

TEST(HostProtocol, MalformedPayloadsAreRefused) {
    const std::pair<const char*, std::string> requests[] = {
        {"empty", ""},
        {"unknown kind", "Q"},
        {"call without its counts", "C"},
        {"argument of unknown type", std::string("C\x01\x01X", 4)},
        {"integer cut short", std::string("C\x01\x01I\x01\x02", 6)},
        {"text longer than the payload", std::string("C\x01\x01T\x05\x00\x00\x00"
                                                     "abc",
                                                     11)},
        {"fewer arguments than counted", std::string("C\x01\x02I\x01\x00\x00\x00", 8)},
        {"bytes after the last argument", std::string("C\x01\x01I\x01\x00\x00\x00!", 9)},
    };
    for (const auto& [why, payload] : requests)
        EXPECT_FALSE(decodeRequest(payload)) << why;
    const std::pair<const char*, std::string> replies[] = {
        {"empty", ""},
        {"unknown kind", "Z"},
        {"mask cut short", "K\x01"},
        {"mask with bytes after it", "K\x01\x02\x03"},
    };
    for (const auto& [why, payload] : replies)
        EXPECT_FALSE(decodeReply(payload)) << why;
}

TEST(HostProtocol, FramesAreReadWholeOrReportedAsEndedCutOrTooLarge) {
    const auto read = [](std::string stream, std::size_t chunk) {
        std::string payload;
        const auto status = readFrame(
            [&](char* buffer, std::size_t size) {
                const std::size_t n = std::min({size, chunk, stream.size()});
                stream.copy(buffer, n);
                stream.erase(0, n);
                return n;
            },
            payload);
        return std::make_pair(status, payload);
    };
    const std::string frame = encode(Reply(Answer{"000001|08000|ok||"}));
    for (const std::size_t chunk : {std::size_t(1), std::size_t(3), frame.size()})
        EXPECT_EQ(read(frame, chunk), std::make_pair(FrameStatus::Complete, payloadOf(frame)));
    EXPECT_EQ(read("", 8).first, FrameStatus::Closed);
    EXPECT_EQ(read(frame.substr(0, 2), 8).first, FrameStatus::Truncated);
    EXPECT_EQ(read(frame.substr(0, frame.size() - 1), 8).first, FrameStatus::Truncated);
    EXPECT_EQ(read(std::string("\x01\x00\x00\x04", 4), 8).first, FrameStatus::TooLarge);
    EXPECT_EQ(read(std::string("\x00\x00\x00\x04", 4), 8).first, FrameStatus::Truncated)
        << "exactly 64 MiB is allowed";
}

} // namespace
