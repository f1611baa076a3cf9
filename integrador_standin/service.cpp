#include "integrador_standin/service.h"

#include "core/whole_file.h"
#include "integrador_standin/answer.h"
#include "integrador_standin/request.h"
#include "xml/xml_security.h"

#include <iostream>
#include <thread>

namespace standin {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

bool settled(const fs::path& file) {
    std::error_code ec;
    const auto modified = fs::last_write_time(file, ec);
    return !ec && fs::file_time_type::clock::now() - modified >= 1s;
}

// The answer to a request that cannot be read as one; its identifier is not known.
std::string invalidRequest(const std::string& why) {
    return errorDocument({}, "Requisição inválida: " + why);
}

} // namespace

Service::Service(Settings settings, std::unique_ptr<backend::DriverLibrary> library,
                 std::string libraryError, std::unique_ptr<ExtraFunctions> extras)
    : settings_(std::move(settings)), library_(std::move(library)),
      libraryError_(std::move(libraryError)), extras_(std::move(extras)) {}

int Service::answerPending() {
    int answered = 0;
    std::error_code ec;
    for (fs::directory_iterator it(settings_.folders.input, ec), end; !ec && it != end;
         it.increment(ec)) {
        const fs::path request = it->path();
        if (request.extension() != ".xml" || !it->is_regular_file(ec))
            continue;
        std::string error;
        const auto bytes = core::readFileWithin(request, xml::kMaxXmlBytes, error);
        if ((!bytes || !parseRequest(*bytes, error)) && !settled(request))
            continue; // gone, or perhaps still being written
        const std::string answer = bytes ? answerFor(*bytes) : invalidRequest(error);
        std::this_thread::sleep_for(settings_.delay);
        if (!core::writeFileWhole(settings_.folders.output / request.filename(), answer, error,
                                  core::FlushToDisk::No)) {
            std::cerr << "integrador_standin: " << error << "\n";
            continue;
        }
        fs::remove(request, ec);
        ++answered;
    }
    return answered;
}

std::string Service::answerFor(std::string_view bytes) {
    std::string error;
    const auto request = parseRequest(bytes, error);
    if (!request)
        return invalidRequest(error);
    const std::string& id = request->identificador;
    if (settings_.forcedError)
        return errorDocument(id, *settings_.forcedError);
    if (ExtraFunctions::knows(request->method)) {
        if (!extras_)
            return errorDocument(id, library_ ? backend::missingFunctionMessage(request->method)
                                              : libraryError_);
        const auto answer = extras_->call(*request, error);
        return answer ? answerDocument(id, *answer) : errorDocument(id, error);
    }
    const auto* operation = core::operationByIntegradorMethod(request->method);
    if (!operation)
        return errorDocument(id, "Método desconhecido: " + request->method);
    const auto arguments = argumentsFor(*operation, *request, error);
    if (!arguments)
        return errorDocument(id, error);
    if (!library_)
        return errorDocument(id, libraryError_);
    return answerDocument(id, library_->call(*operation, *arguments));
}

} // namespace standin
