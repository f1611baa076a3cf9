#include "bench/literal_integrador_loop.h"

#include "access/integrador_answer.h"
#include "access/integrador_request.h"
#include "core/text.h"
#include "core/whole_file.h"
#include "xml/xml_security.h"

#include <fstream>
#include <stdexcept>
#include <thread>

namespace bench {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Pass {
    fs::path output;
    Clock::time_point deadline;
    std::string& answerDocument;
    std::string answer;

    int LeRespostaIntegrador(int identifier) {
        if (Clock::now() >= deadline)
            return 2;
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(output))
            if (entry.path().extension() == ".xml")
                files.push_back(entry.path());
        for (const auto& file : files) {
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            std::string error;
            const auto bytes = core::readFileWithin(file, xml::kMaxXmlBytes, error);
            const auto parsed = bytes ? backend::parseAnswerFile(*bytes, error) : std::nullopt;
            if (!parsed)
                throw std::runtime_error(error);
            int i = -1;
            try {
                i = core::toInt(parsed->identificador);
            } catch (const std::invalid_argument&) {
            }
            if (i != identifier && parsed->erro.empty())
                continue;
            if (!parsed->erro.empty()) {
                answer = parsed->erro;
            } else {
                answer = parsed->retorno;
                answerDocument = *bytes;
            }
            if (!answer.empty()) {
                fs::remove(file);
                return 1;
            }
        }
        return 0;
    }
};

} // namespace

std::string literalChamaIntegrador(const backend::IntegradorFolders& folders,
                                   const core::Operation& operation,
                                   const core::Arguments& arguments, std::string_view identificador,
                                   std::chrono::milliseconds waitLimit,
                                   std::string& answerDocument) {
    {
        std::ofstream request(folders.input / backend::requestFileName(operation, identificador),
                              std::ios::binary);
        request << backend::requestDocument(operation, identificador, arguments);
        if (!request)
            return backend::integradorWriteFailure();
    }
    Pass pass{folders.output, Clock::now() + waitLimit, answerDocument, {}};
    int result = 0;
    while ((result = pass.LeRespostaIntegrador(core::toInt(identificador))) == 0) {
    }
    return result == 1 ? pass.answer : backend::busyAnswer(operation, arguments.at(0).number);
}

} // namespace bench
