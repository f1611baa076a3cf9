#pragma once
// A window test's program folder whose driver library is the module emulator, activated and
// associated in a state folder of the test's own, with the schemas the build installed.

#include "core/path_text.h"
#include "tests/emulator/emulator_library.h"
#include "tests/emulator/sale_documents.h"
#include "tests/support/test_program.h"

#include <QFile>

#include <filesystem>
#include <stdexcept>

namespace documents_test {

class EmulatedModule {
public:
    explicit EmulatedModule(testing_support::TestProgram& program) {
        program.installLibrary(MFE_LIBRARY);
        const std::filesystem::path schemas = std::filesystem::path(TARVIK_PROGRAM_DIR) / "Schemas";
        if (std::filesystem::exists(schemas / "CFeRecebido_7.xsd"))
            std::filesystem::copy(schemas,
                                  core::pathFromUtf8(program.path("Schemas").toStdString()),
                                  std::filesystem::copy_options::recursive);
        program.writeIni("[DEFAULT]\r\nACESSO=DLL\r\n");
        emulator_test::EmulatorLibrary lib;
        const std::string& code = emulator_test::activationCode;
        const std::string value = emulator_test::softwareHouseCnpj + emulator_test::taxpayerCnpj;
        const std::string activated =
            lib.call("AtivarSAT", 1, 1, code.c_str(), emulator_test::taxpayerCnpj.c_str(), 35);
        const std::string associated =
            lib.call("AssociarAssinatura", 2, code.c_str(), value.c_str(),
                     emulator_test::acSignature().c_str());
        if (activated.find("|04000|") == std::string::npos ||
            associated.find("|13000|") == std::string::npos)
            throw std::runtime_error("the emulator answered " + activated.substr(0, 60) + " and " +
                                     associated);
    }

    bool schemasInstalled(const testing_support::TestProgram& program) const {
        return QFile::exists(program.path("Schemas/CFeRecebido_7.xsd"));
    }

private:
    emulator_test::StateFolder state_;
};

} // namespace documents_test
