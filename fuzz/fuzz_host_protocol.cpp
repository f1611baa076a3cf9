// The frames between the program and the library host, read from any byte stream, in chunks of
// any size: the reader never reads past the stream, never accepts a frame over the limit, and
// every message it decodes encodes back to the very payload it came from.

#include "access/host_protocol.h"
#include "fuzz/fuzz_support.h"

#include <algorithm>

namespace {

using namespace backend::host;

template <typename Message>
void requireRoundTrip(const Message& message, const std::string& payload) {
    const std::string frame = encode(message);
    fuzz::require(frame.size() == payload.size() + 4 &&
                      frame.compare(4, std::string::npos, payload) == 0,
                  "a decoded message encodes back to its payload", payload);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte sets how much each read returns, as a pipe may deliver any amount.
    const std::size_t chunk = std::size_t(data[0] % 16) + 1;
    std::string_view stream(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::size_t consumed = 0;
    const auto read = [&](char* buffer, std::size_t wanted) {
        const std::size_t n = std::min({wanted, chunk, stream.size() - consumed});
        std::copy_n(stream.data() + consumed, n, buffer);
        consumed += n;
        return n;
    };
    std::string payload;
    for (;;) {
        const FrameStatus status = readFrame(read, payload);
        fuzz::require(consumed <= stream.size(), "the reader stays inside the stream");
        if (status != FrameStatus::Complete)
            break;
        fuzz::require(payload.size() <= maxFrameSize, "no frame over the limit");
        if (const auto request = decodeRequest(payload))
            requireRoundTrip(*request, payload);
        if (const auto reply = decodeReply(payload))
            requireRoundTrip(*reply, payload);
    }
    return 0;
}
