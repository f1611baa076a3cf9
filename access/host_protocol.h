#pragma once
// The frames the program and the library host exchange over the host's standard input and
// output. A frame is a 4-byte little-endian length and that many bytes of payload; the payload's
// first byte says what it is:
//   program → host   'L' path                     load the library at path (UTF-8)
//                    'C' entry argc argument...   call entry point `entry` (resolution order)
//                         argument: 'I' int32 | 'T' uint32 length, bytes
//   host → program   'K' uint16 mask              loaded; bit i set when entry point i exists
//                    'E' text                     not loaded, and why
//                    'A' bytes                    the call's answer, byte for byte
// Integers are little-endian. Text arguments are the exact bytes the library receives.

#include "access/passed_arguments.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace backend::host {

// Larger frames are refused: no answer of a module comes near it, and a length beyond it is a
// sign of a corrupt stream.
inline constexpr std::uint32_t maxFrameSize = 64u * 1024 * 1024;

struct LoadRequest {
    std::string path;
};
struct CallRequest {
    std::uint8_t entry = 0;
    PassedArguments arguments;
};
using Request = std::variant<LoadRequest, CallRequest>;

struct Loaded {
    std::uint16_t entryPoints = 0;
};
struct LoadFailed {
    std::string error;
};
struct Answer {
    std::string bytes;
};
using Reply = std::variant<Loaded, LoadFailed, Answer>;

// A whole frame (length and payload) holding the message.
std::string encode(const Request& request);
std::string encode(const Reply& reply);

// The message a payload holds; nothing when it is malformed (unknown kind, short or long
// fields, trailing bytes).
std::optional<Request> decodeRequest(std::string_view payload);
std::optional<Reply> decodeReply(std::string_view payload);

// The payload length a frame's 4-byte header announces; nothing when it is beyond maxFrameSize.
std::optional<std::uint32_t> frameLength(const unsigned char (&header)[4]);

// Reads whole frames from a byte source. `read` fills up to `size` bytes and returns how many it
// read, 0 at the end of the stream.
enum class FrameStatus {
    Complete,  // `payload` holds the frame
    Closed,    // the stream ended before a frame began
    Truncated, // the stream ended inside a frame
    TooLarge,  // the header announced more than maxFrameSize
};
template <typename ReadFn> FrameStatus readFrame(ReadFn&& read, std::string& payload) {
    unsigned char header[4];
    std::size_t got = 0;
    while (got < sizeof header) {
        const std::size_t n = read(reinterpret_cast<char*>(header) + got, sizeof header - got);
        if (n == 0)
            return got == 0 ? FrameStatus::Closed : FrameStatus::Truncated;
        got += n;
    }
    const auto length = frameLength(header);
    if (!length)
        return FrameStatus::TooLarge;
    // Grown as the bytes arrive: a header that promises more than comes costs no more memory
    // than what came.
    payload.clear();
    while (payload.size() < *length) {
        const std::size_t have = payload.size();
        payload.resize(have + std::min<std::size_t>(*length - have, 64 * 1024));
        const std::size_t n = read(payload.data() + have, payload.size() - have);
        payload.resize(have + n);
        if (n == 0)
            return FrameStatus::Truncated;
    }
    return FrameStatus::Complete;
}

} // namespace backend::host
