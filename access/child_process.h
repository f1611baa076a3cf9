#pragma once
// A program started with its standard input and output connected to this process, its standard
// error left on ours: what the library host runs in. It can be ended from any thread while
// another one is reading from it.

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace backend {

class ChildProcess {
public:
    // Starts `program`; nullptr with `error` set when it cannot be started.
    static std::unique_ptr<ChildProcess> start(const std::filesystem::path& program,
                                               std::string& error);
    // Ends the program if it still runs, and waits for it.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Writes all of `bytes` to the program's input; false when it no longer reads.
    bool write(std::string_view bytes);
    // Reads up to `size` bytes of the program's output; 0 once it has ended or closed it.
    std::size_t read(char* buffer, std::size_t size);

    // Ends the program at once (safe from any thread, and after it has ended).
    void kill();
    // Waits for the program to end and says how it ended: "sinal 11 (SIGSEGV)",
    // "código de saída 3", "exceção 0xC0000005".
    std::string waitForEnd();

private:
    struct Handles;
    explicit ChildProcess(std::unique_ptr<Handles> handles);

    std::unique_ptr<Handles> handles_;
    std::mutex mutex_; // guards ending the program against waiting for it
    bool ended_ = false;
    std::string howEnded_;
};

} // namespace backend
