#pragma once
// The driver library loaded in the library host, a process of its own spoken to over its
// standard input and output. A crash or a hang in the library ends only the host: the call
// throws LibraryEnded, and the next call starts a new host and loads the library again.

#include "access/child_process.h"
#include "access/library_backend.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

namespace backend {

class HostedLibrary : public LibraryBackend {
public:
    // Starts `host` and has it load the library at `path` (UTF-8); nullptr with `error` set when
    // the host cannot start or the library cannot be loaded.
    static std::unique_ptr<HostedLibrary> load(const std::filesystem::path& host,
                                               const std::string& path, std::string& error);

    bool has(const core::Operation& operation) const override;
    // The answer's bytes as the library returned them. Throws LibraryEnded when the host ended
    // during the call or sent anything but a well-formed answer.
    std::string call(const core::Operation& operation, const core::Arguments& arguments) override;
    bool canCancel() const override { return true; }
    void cancel() override;

private:
    HostedLibrary(std::filesystem::path host, std::string path);
    // Starts the host and loads the library in it.
    bool start(std::string& error);
    [[noreturn]] void ended(const std::string& reason);

    std::filesystem::path host_;
    std::string path_;
    std::uint16_t entryPoints_ = 0;
    std::mutex mutex_; // guards process_ and the flags against cancel() from another thread
    std::unique_ptr<ChildProcess> process_;
    bool calling_ = false;
    bool cancelled_ = false;
};

} // namespace backend
