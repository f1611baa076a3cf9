#pragma once
// The module emulator, activated and associated in a state folder of the test's own, issuing
// CF-e and cancellations for the receipt's tests: the documents as the module returns them.

#include "tests/emulator/emulator_library.h"
#include "tests/emulator/issued_documents.h"
#include "tests/emulator/sale_documents.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <stdexcept>
#include <string>

namespace receipt_test {

class IssuingModule {
public:
    IssuingModule() {
        using namespace emulator_test;
        const std::string value = softwareHouseCnpj + taxpayerCnpj;
        expect(lib_.call("AtivarSAT", ++session_, 1, code(), taxpayerCnpj.c_str(), 35), "04000");
        expect(lib_.call("AssociarAssinatura", ++session_, code(), value.c_str(),
                         acSignature().c_str()),
               "13000");
    }

    // The issued CF-e of the sale document.
    std::string sell(const std::string& document) {
        const auto fields =
            expect(lib_.call("EnviarDadosVenda", ++session_, code(), document.c_str()), "06000");
        return emulator_test::decodeBase64(fields.at(6));
    }

    // The issued CFeCanc of the last sale, whose key ("CFe" + 44 digits) is given.
    std::string cancel(const std::string& key) {
        const std::string document = emulator_test::cancellationDocument(key);
        const auto fields = expect(
            lib_.call("CancelarUltimaVenda", ++session_, code(), key.c_str(), document.c_str()),
            "07000");
        return emulator_test::decodeBase64(fields.at(6));
    }

    // The module's certificate (PEM), which signs the QR codes.
    std::string certificate() const {
        std::ifstream in(state_.stateFile());
        return nlohmann::json::parse(in).at("certificado").get<std::string>();
    }

private:
    static const char* code() { return emulator_test::activationCode.c_str(); }

    static std::vector<std::string> expect(const std::string& answer, const std::string& status) {
        auto fields = emulator_test::answerFields(answer);
        if (fields.size() < 2 || fields[1] != status)
            throw std::runtime_error("the emulator answered " + answer.substr(0, 200));
        return fields;
    }

    emulator_test::StateFolder state_;
    emulator_test::EmulatorLibrary lib_;
    int session_ = 0;
};

} // namespace receipt_test
