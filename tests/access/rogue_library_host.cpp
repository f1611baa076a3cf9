// A library host gone wrong, for the tests of the program's side: it loads nothing, says every
// entry point is there, and answers the first call as ROGUE_HOST_REPLY says: "truncated" (a frame
// cut short, then it exits), "oversize" (a header announcing 2 GiB), "garbage" (a frame of an
// unknown kind) or "load-reply" (a load's reply where an answer belongs). Then it waits for its
// input to close.

#include "access/host_protocol.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

std::size_t readInput(char* buffer, std::size_t size) {
    return std::fread(buffer, 1, size, stdin);
}

void send(const std::string& bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

} // namespace

int main() {
    using namespace backend::host;
#ifdef _WIN32
    _setmode(0, _O_BINARY);
    _setmode(1, _O_BINARY);
#endif
    std::string payload;
    if (readFrame(readInput, payload) != FrameStatus::Complete)
        return 2;
    send(encode(Reply(Loaded{0xFFFF})));
    if (readFrame(readInput, payload) != FrameStatus::Complete)
        return 2;
    const char* how = std::getenv("ROGUE_HOST_REPLY");
    const std::string reply = how ? how : "";
    if (reply == "truncated") {
        send(encode(Reply(Answer{"000000|08000|cut"})).substr(0, 9));
        return 0;
    }
    if (reply == "oversize")
        send(std::string("\xFF\xFF\xFF\x7F", 4));
    else if (reply == "garbage")
        send(std::string("\x03\x00\x00\x00Zzz", 7));
    else if (reply == "load-reply")
        send(encode(Reply(Loaded{1})));
    while (readFrame(readInput, payload) == FrameStatus::Complete) {
    }
    return 0;
}
