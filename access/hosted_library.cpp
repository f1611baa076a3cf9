#include "access/hosted_library.h"

#include "access/driver_library.h"
#include "access/host_protocol.h"
#include "access/library_ended.h"

namespace backend {
namespace {

host::FrameStatus readReply(ChildProcess& process, std::string& payload) {
    return host::readFrame(
        [&process](char* buffer, std::size_t size) { return process.read(buffer, size); }, payload);
}

} // namespace

HostedLibrary::HostedLibrary(std::filesystem::path host, std::string path)
    : host_(std::move(host)), path_(std::move(path)) {}

std::unique_ptr<HostedLibrary> HostedLibrary::load(const std::filesystem::path& host,
                                                   const std::string& path, std::string& error) {
    std::unique_ptr<HostedLibrary> library(new HostedLibrary(host, path));
    if (!library->start(error))
        return nullptr;
    return library;
}

bool HostedLibrary::start(std::string& error) {
    auto process = ChildProcess::start(host_, error);
    if (!process)
        return false;
    std::string payload;
    if (process->write(host::encode(host::LoadRequest{path_})) &&
        readReply(*process, payload) == host::FrameStatus::Complete) {
        const auto reply = host::decodeReply(payload);
        if (const auto* loaded = reply ? std::get_if<host::Loaded>(&*reply) : nullptr) {
            entryPoints_ = loaded->entryPoints;
            std::lock_guard lock(mutex_);
            process_ = std::move(process);
            return true;
        }
        if (const auto* failed = reply ? std::get_if<host::LoadFailed>(&*reply) : nullptr) {
            error = failed->error;
            return false;
        }
    }
    process->kill();
    error = "a biblioteca encerrou ao ser carregada (" + process->waitForEnd() + ")";
    return false;
}

bool HostedLibrary::has(const core::Operation& operation) const {
    const std::size_t index = entryPointIndex(operation);
    return index < 16 && (entryPoints_ >> index & 1u);
}

std::string HostedLibrary::call(const core::Operation& operation,
                                const core::Arguments& arguments) {
    if (!has(operation))
        return missingFunctionMessage(operation.name);
    const std::string request = host::encode(host::CallRequest{
        std::uint8_t(entryPointIndex(operation)), passedArguments(operation, arguments)});
    if (!process_) {
        std::string error;
        if (!start(error))
            throw LibraryEnded(LibraryEnded::Cause::Crashed,
                               "a biblioteca não pôde ser carregada de novo: " + error);
    }
    {
        std::lock_guard lock(mutex_);
        calling_ = true;
        cancelled_ = false;
    }
    std::string payload;
    const auto status =
        process_->write(request) ? readReply(*process_, payload) : host::FrameStatus::Closed;
    std::optional<host::Reply> reply;
    if (status == host::FrameStatus::Complete)
        reply = host::decodeReply(payload);
    if (auto* answer = reply ? std::get_if<host::Answer>(&*reply) : nullptr) {
        std::lock_guard lock(mutex_);
        calling_ = false;
        return std::move(answer->bytes);
    }
    if (status == host::FrameStatus::TooLarge)
        ended("resposta maior que o limite de 64 MiB");
    if (status == host::FrameStatus::Complete)
        ended("resposta malformada");
    ended("");
}

void HostedLibrary::ended(const std::string& reason) {
    // A host that sent something else than an answer is not trusted with another call.
    process_->kill();
    const std::string how = process_->waitForEnd();
    bool cancelled = false;
    {
        std::lock_guard lock(mutex_);
        cancelled = cancelled_;
        calling_ = false;
        process_.reset();
    }
    if (cancelled)
        throw LibraryEnded(LibraryEnded::Cause::Cancelled, "chamada à biblioteca cancelada");
    throw LibraryEnded(LibraryEnded::Cause::Crashed, "a biblioteca encerrou durante a chamada (" +
                                                         (reason.empty() ? how : reason) + ")");
}

void HostedLibrary::cancel() {
    std::lock_guard lock(mutex_);
    if (!calling_ || !process_)
        return;
    cancelled_ = true;
    process_->kill();
}

} // namespace backend
