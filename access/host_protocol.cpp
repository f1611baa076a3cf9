#include "access/host_protocol.h"

namespace backend::host {
namespace {

void putU32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out += char((value >> (8 * i)) & 0xFF);
}

// The payload behind its length header.
std::string framed(const std::string& payload) {
    std::string frame;
    frame.reserve(4 + payload.size());
    putU32(frame, std::uint32_t(payload.size()));
    return frame + payload;
}

// Reads fields off the front of a payload; any read past its end marks it failed.
class Cursor {
public:
    explicit Cursor(std::string_view bytes) : rest_(bytes) {}
    bool ok() const { return ok_; }
    bool atEnd() const { return rest_.empty(); }

    std::uint32_t u(std::size_t width) {
        if (!take(width))
            return 0;
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < width; ++i)
            value |= std::uint32_t(static_cast<unsigned char>(taken_[i])) << (8 * i);
        return value;
    }
    std::string bytes(std::size_t count) { return take(count) ? std::string(taken_) : ""; }
    std::string rest() {
        std::string all(rest_);
        rest_ = {};
        return all;
    }

private:
    bool take(std::size_t count) {
        if (!ok_ || rest_.size() < count) {
            ok_ = false;
            return false;
        }
        taken_ = rest_.substr(0, count);
        rest_.remove_prefix(count);
        return true;
    }
    std::string_view rest_;
    std::string_view taken_;
    bool ok_ = true;
};

std::optional<CallRequest> decodeCall(Cursor& in) {
    CallRequest call;
    call.entry = std::uint8_t(in.u(1));
    const std::uint32_t count = in.u(1);
    for (std::uint32_t i = 0; i < count && in.ok(); ++i) {
        const char kind = char(in.u(1));
        if (kind == 'I')
            call.arguments.emplace_back(std::int32_t(in.u(4)));
        else if (kind == 'T')
            call.arguments.emplace_back(in.bytes(in.u(4)));
        else
            return std::nullopt;
    }
    if (!in.ok() || !in.atEnd())
        return std::nullopt;
    return call;
}

} // namespace

std::string encode(const Request& request) {
    std::string payload;
    if (const auto* load = std::get_if<LoadRequest>(&request))
        return framed("L" + load->path);
    const auto& call = std::get<CallRequest>(request);
    payload += 'C';
    payload += char(call.entry);
    payload += char(call.arguments.size());
    for (const auto& argument : call.arguments) {
        if (const auto* number = std::get_if<std::int32_t>(&argument)) {
            payload += 'I';
            putU32(payload, std::uint32_t(*number));
        } else {
            const auto& text = std::get<std::string>(argument);
            payload += 'T';
            putU32(payload, std::uint32_t(text.size()));
            payload += text;
        }
    }
    return framed(payload);
}

std::string encode(const Reply& reply) {
    if (const auto* loaded = std::get_if<Loaded>(&reply)) {
        std::string payload = "K";
        payload += char(loaded->entryPoints & 0xFF);
        payload += char(loaded->entryPoints >> 8);
        return framed(payload);
    }
    if (const auto* failed = std::get_if<LoadFailed>(&reply))
        return framed("E" + failed->error);
    return framed("A" + std::get<Answer>(reply).bytes);
}

std::optional<Request> decodeRequest(std::string_view payload) {
    if (payload.empty())
        return std::nullopt;
    Cursor in(payload.substr(1));
    switch (payload[0]) {
    case 'L':
        return LoadRequest{in.rest()};
    case 'C':
        if (auto call = decodeCall(in))
            return *call;
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

std::optional<Reply> decodeReply(std::string_view payload) {
    if (payload.empty())
        return std::nullopt;
    Cursor in(payload.substr(1));
    switch (payload[0]) {
    case 'K': {
        const auto mask = std::uint16_t(in.u(2));
        if (!in.ok() || !in.atEnd())
            return std::nullopt;
        return Loaded{mask};
    }
    case 'E':
        return LoadFailed{in.rest()};
    case 'A':
        return Answer{in.rest()};
    default:
        return std::nullopt;
    }
}

std::optional<std::uint32_t> frameLength(const unsigned char (&header)[4]) {
    const std::uint32_t length = std::uint32_t(header[0]) | std::uint32_t(header[1]) << 8 |
                                 std::uint32_t(header[2]) << 16 | std::uint32_t(header[3]) << 24;
    if (length > maxFrameSize)
        return std::nullopt;
    return length;
}

} // namespace backend::host
