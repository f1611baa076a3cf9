// The cancellation chain against the module emulator: a sale made through the emulator library,
// its returned CF-e saved as the sale page saves it, the CFeCanc generated both ways (from the
// returned CF-e as the sale page's button does, and from the issued CF-e as the cancellation page
// does), sent by tarvik, and the returned cancellation CF-e saved in Retornos.

#include "documents/returned_document.h"
#include "tests/cli/program_copy.h"
#include "tests/cli/run_program.h"
#include "tests/emulator/emulator_library.h"
#include "tests/emulator/sale_documents.h"
#include "tests/support/wait_until.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>

namespace {

namespace fs = std::filesystem;
using cli_test::lines;
using cli_test::Ran;
using namespace emulator_test;

class CancellationChain : public ::testing::Test {
protected:
    void SetUp() override {
        program = folder / "tarvik";
        cli_test::copyTarvik(program);
        const std::string code = activationCode;
        ASSERT_EQ(lib.call("AtivarSAT", 1, 1, code.c_str(), taxpayerCnpj.c_str(), 35).substr(0, 13),
                  "000001|04000|");
        const std::string value = softwareHouseCnpj + taxpayerCnpj;
        ASSERT_EQ(
            lib.call("AssociarAssinatura", 2, code.c_str(), value.c_str(), acSignature().c_str()),
            "000002|13000|Assinatura do AC registrada||");
    }

    // A sale through the library; its returned CF-e saved as Retornos/<name>, as the sale page
    // saves it. Returns the access key.
    std::string sell(int session, const std::string& name) {
        const std::string answer =
            lib.call("EnviarDadosVenda", session, activationCode.c_str(), saleDocument(1).c_str());
        const auto fields = documents::documentFields(answer);
        EXPECT_EQ(fields.at(1), "06000") << answer;
        const auto document = documents::decodeReturnedDocument(fields.at(6));
        std::string error;
        EXPECT_TRUE(documents::saveReturnedDocument(folder / "Retornos" / name, *document, error))
            << error;
        return fields.at(8);
    }

    Ran tarvik(const std::vector<std::string>& args) {
        return cli_test::runProgram(program, args, folder.path(),
                                    {{"MFE_EMULADOR_ESTADO", state.stateFile().string()}});
    }

    // The CFeCanc generated from the test sale, with dest as given.
    static std::string cancellation(const std::string& key, const std::string& dest) {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><CFeCanc><infCFe chCanc=\"" + key +
               "\"><ide><CNPJ>" + softwareHouseCnpj + "</CNPJ><signAC>" + acSignature() +
               "</signAC><numeroCaixa>001</numeroCaixa></ide><emit></emit><dest>" + dest +
               "</dest><total></total><infAdic></infAdic></infCFe></CFeCanc>\r\n";
    }

    StateFolder state;
    EmulatorLibrary lib;
    cli_test::TemporaryFolder folder;
    fs::path program;
};

TEST_F(CancellationChain, FromTheReturnedCFeAndFromTheIssuedCFe) {
    // The sale page's way: the CFeCanc written into Para_Cancelar, then sent as a ready file.
    const std::string first = sell(10, "Resp_venda.xml");
    const Ran generated = tarvik({"gerar-cancelamento", "--cfe", "Retornos/Resp_venda.xml"});
    ASSERT_EQ(generated.exit, 0) << generated.err;
    // Named after the sale, as the sale page names it.
    const fs::path cFile = folder / "Para_Cancelar" / "C_venda.xml";
    EXPECT_EQ(lines(generated.out),
              (std::vector<std::string>{
                  "XML para cancelamento gerado na pasta Para_Cancelar com nome: C_venda.xml",
                  cFile.string()}));
    EXPECT_EQ(cli_test::readFile(cFile), cancellation(first, "")); // layout 0.07: no customer

    const Ran sent = tarvik({"--dll", MFE_LIBRARY, "CancelarUltimaVenda", "--codigo",
                             activationCode, "--arquivo", cFile.string()});
    EXPECT_EQ(sent.exit, 0) << sent.out << sent.err;
    const fs::path respCanc = folder / "Retornos" / "RespCanc_C_venda.xml";
    EXPECT_NE(sent.out.find("," + first + ",<?xml"), std::string::npos) << sent.out;
    EXPECT_NE(sent.err.find("tarvik: arquivo salvo: " + respCanc.string() + "\n"),
              std::string::npos)
        << sent.err;
    EXPECT_NE(cli_test::readFile(respCanc).find("chCanc=\"" + first + "\""), std::string::npos);

    // The cancellation page's way: the CFeCanc generated from the issued CF-e into Temp, and
    // sent; under layout 0.07 without the customer, as that layout's schema declares dest empty.
    const std::string second = sell(20, "Resp_venda2.xml");
    const Ran json = tarvik({"--dll", MFE_LIBRARY, "--json", "CancelarUltimaVenda", "--codigo",
                             activationCode, "--cfe", "Retornos/Resp_venda2.xml"});
    EXPECT_EQ(json.exit, 0) << json.out << json.err;
    const fs::path temp = folder / "Temp" / "Canc_Resp_venda2.xml";
    const fs::path respCanc2 = folder / "Retornos" / "RespCanc_Resp_venda2.xml";
    const auto record = nlohmann::json::parse(json.out);
    EXPECT_EQ(record["files"], nlohmann::json::array({temp.string(), respCanc2.string()}));
    EXPECT_EQ(cli_test::readFile(temp), cancellation(second, ""));
    const std::string returned = cli_test::readFile(respCanc2);
    EXPECT_NE(returned.find("chCanc=\"" + second + "\""), std::string::npos) << returned;
    EXPECT_EQ(returned.substr(returned.size() - 2), "\r\n");
    // The access key of the issued cancellation CF-e, not the sale's.
    const std::string cancelKey = record["accessKey"].get<std::string>();
    EXPECT_NE(cancelKey, second);
    EXPECT_NE(returned.find("Id=\"" + cancelKey + "\""), std::string::npos) << cancelKey;

    // Once cancelled, a second cancellation is refused: the raw line, no report, nothing saved.
    fs::remove(respCanc2);
    const Ran again = tarvik({"--dll", MFE_LIBRARY, "CancelarUltimaVenda", "--codigo",
                              activationCode, "--cfe", "Retornos/Resp_venda2.xml"});
    EXPECT_EQ(again.exit, 1) << again.err;
    const auto out = lines(again.out);
    ASSERT_EQ(out.size(), 2u) << again.out;
    EXPECT_TRUE(out[1].find("|07007|1218|") != std::string::npos) << out[1];
    EXPECT_EQ(again.err, "tarvik: arquivo salvo: " + temp.string() + "\n");
    EXPECT_FALSE(fs::exists(respCanc2));
}

// Through the Integrador stand-in, which answers through the emulator library: the document
// travels in the request file and the returned cancellation CF-e is saved the same way.
TEST_F(CancellationChain, ThroughTheIntegrador) {
    const std::string key = sell(30, "Resp_venda3.xml");
    const fs::path root = folder / "Integrador";
    const cli_test::Background standin(
        STANDIN, {"--dir", root.string(), "--library", MFE_LIBRARY, "--timeout", "30"},
        folder.path(), {{"MFE_EMULADOR_ESTADO", state.stateFile().string()}});
    EXPECT_TRUE(test_support::waitUntil([&] { return fs::exists(root / "Output"); }));
    const Ran sent = tarvik({"--integrador", root.string(), "CancelarUltimaVenda", "--codigo",
                             activationCode, "--cfe", "Retornos/Resp_venda3.xml"});
    EXPECT_EQ(sent.exit, 0) << sent.out << sent.err;
    EXPECT_NE(sent.out.find("<![CDATA[<?xml"), std::string::npos) << sent.out;
    const std::string returned =
        cli_test::readFile(folder / "Retornos" / "RespCanc_Resp_venda3.xml");
    EXPECT_NE(returned.find("chCanc=\"" + key + "\""), std::string::npos) << sent.out;
}

TEST_F(CancellationChain, BothFileOptionsOrNoCfeAreUsageErrors) {
    const Ran both = tarvik({"--dll", MFE_LIBRARY, "CancelarUltimaVenda", "--codigo",
                             activationCode, "--arquivo", "a.xml", "--cfe", "b.xml"});
    EXPECT_EQ(both.exit, 2);
    EXPECT_EQ(both.out, "");
    const Ran noCfe = tarvik({"gerar-cancelamento"});
    EXPECT_EQ(noCfe.exit, 2);
}

} // namespace
