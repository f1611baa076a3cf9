// A sale and an end-to-end test from the user's file to the saved answer, through the module
// emulator: loaded as the driver library and behind the Integrador stand-in. Each test prepares
// a module of its own (activation and association) in a state folder of its own.

#include "tests/cli/run_program.h"
#include "tests/documents/base64_encoder.h"
#include "tests/emulator/emulator_library.h"
#include "tests/emulator/sale_documents.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <regex>
#include <thread>

namespace {

namespace fs = std::filesystem;
using cli_test::Ran;

const std::string code = emulator_test::activationCode;

// Three lines ended by CR LF, an accented product name in UTF-8.
std::string threeLineSale() {
    std::string item = emulator_test::saleItem(1);
    item = std::regex_replace(item, std::regex("Produto de teste 1"), "Caf\xc3\xa9 com p\xc3\xa3o");
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
           "<CFe><infCFe versaoDadosEnt=\"0.07\"><ide><CNPJ>" +
           emulator_test::softwareHouseCnpj + "</CNPJ><signAC>" + emulator_test::acSignature() +
           "</signAC><numeroCaixa>001</numeroCaixa></ide><emit><CNPJ>" +
           emulator_test::taxpayerCnpj +
           "</CNPJ><IE>111111111111</IE><indRatISSQN>N</indRatISSQN></emit><dest/>" + item +
           "<total/><pgto><MP><cMP>01</cMP><vMP>100.00</vMP></MP></pgto></infCFe>\r\n</CFe>\r\n";
}

std::string withoutCr(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

class FiscalChain : public ::testing::TestWithParam<bool> {
protected:
    emulator_test::StateFolder state;
    cli_test::TemporaryFolder folder;
    fs::path program = folder / "tarvik";
    fs::path root = folder / "Integrador";
    std::map<std::string, std::string> environment{
        {"MFE_EMULADOR_ESTADO", state.stateFile().string()}};
    std::unique_ptr<cli_test::Background> standin;

    bool integrador() const { return GetParam(); }

    void SetUp() override {
        emulator_test::EmulatorLibrary lib;
        const std::string value = emulator_test::softwareHouseCnpj + emulator_test::taxpayerCnpj;
        ASSERT_NE(lib.call("AtivarSAT", 1, 1, code.c_str(), emulator_test::taxpayerCnpj.c_str(), 35)
                      .find("|04000|"),
                  std::string::npos);
        ASSERT_NE(lib.call("AssociarAssinatura", 2, code.c_str(), value.c_str(),
                           emulator_test::acSignature().c_str())
                      .find("|13000|"),
                  std::string::npos);
        // The program folder (Retornos goes below it) is the test's own.
        fs::copy_file(TARVIK_EXE, program);
        if (integrador()) {
            standin = std::make_unique<cli_test::Background>(
                STANDIN,
                std::vector<std::string>{"--dir", root.string(), "--library", MFE_LIBRARY,
                                         "--timeout", "60"},
                folder.path(), environment);
            for (int i = 0; i < 500 && !fs::exists(root / "Output"); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    nlohmann::json run(std::vector<std::string> args) {
        if (integrador())
            args.insert(args.begin(), {"--integrador", root.string()});
        else
            args.insert(args.begin(), {"--dll", MFE_LIBRARY});
        args.push_back("--json");
        const Ran ran = cli_test::runProgram(program, args, folder.path(), environment);
        EXPECT_TRUE(ran.exit == 0 || ran.exit == 1) << ran.err;
        return nlohmann::json::parse(ran.out);
    }
};

TEST_P(FiscalChain, SaleFromFileToSavedAnswer) {
    cli_test::writeFile(folder / "venda.xml", threeLineSale());
    const auto j =
        run({"EnviarDadosVenda", "--codigo", code, "--arquivo", (folder / "venda.xml").string()});
    ASSERT_EQ(j["code"], "06000") << j.dump(1);
    const std::string key = j["accessKey"];
    EXPECT_TRUE(std::regex_match(key, std::regex("CFe\\d{44}"))) << key;
    const auto saved = folder / "Retornos" / "Resp_venda.xml";
    EXPECT_EQ(j["files"], nlohmann::json::array({saved.string()}));
    EXPECT_EQ(j["messages"],
              nlohmann::json::array({"CFe de retorno salvo na pasta Retornos com nome: "
                                     "Resp_venda.xml"}));
    const auto report = j["report"].get<std::vector<std::string>>();
    EXPECT_NE(std::find(report.begin(), report.end(), "Chave de Consulta: " + key), report.end());
    EXPECT_NE(std::find(report.begin(), report.end(),
                        "---- XML do CFe emitido -----------------------------"),
              report.end());

    // The saved file is the returned Base64 document, its lines ended by CR LF.
    const std::string file = cli_test::readFile(saved);
    const std::string returned = j["fields"][6];
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(file.substr(file.size() - 2), "\r\n");
    EXPECT_EQ(withoutCr(file).size() + std::count(file.begin(), file.end(), '\r'), file.size());
    const std::string lf = withoutCr(file);
    EXPECT_TRUE(documents_test::base64(lf) == returned ||
                documents_test::base64(lf.substr(0, lf.size() - 1)) == returned);
    EXPECT_NE(file.find("Id=\"" + key + "\""), std::string::npos);
    EXPECT_NE(file.find("<xProd>Caf\xc3\xa9 com p\xc3\xa3o</xProd>"), std::string::npos)
        << "the accents reach the module and come back as their UTF-8 bytes";
}

TEST_P(FiscalChain, EndToEndTestWithTheSampleSale) {
    const auto j = run({"TesteFimAFim", "--codigo", code});
    ASSERT_EQ(j["code"], "09000") << j.dump(1);
    const auto saved = folder / "Retornos" / "Resp_CFeFimAFim.xml";
    EXPECT_EQ(j["files"], nlohmann::json::array({saved.string()}));
    EXPECT_EQ(j["messages"],
              nlohmann::json::array({"Usando XML FimAFim Padrão", "Emitido com sucesso",
                                     "CFe de retorno salvo na pasta Retornos"}));
    const std::string file = cli_test::readFile(saved);
    EXPECT_NE(file.find("<xProd>MiniPc Vexor</xProd>"), std::string::npos);
    EXPECT_NE(file.find("Id=\"" + j["accessKey"].get<std::string>() + "\""), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(AccessModes, FiscalChain, ::testing::Values(false, true),
                         [](const auto& instance) {
                             return instance.param ? "Integrador" : "Library";
                         });

// What the library receives: the file's bytes, every line followed by LF then CR.
TEST(FiscalChainBytes, TheDocumentReachesTheLibraryWithLfCrAfterEveryLine) {
    cli_test::TemporaryFolder folder;
    cli_test::writeFile(folder / "venda.xml", "<CFe>\r\n<xProd>Caf\xc3\xa9</xProd>\r\n</CFe>\r\n");
    const Ran ran =
        cli_test::runProgram(TARVIK_EXE,
                             {"--dll", FAKE_LIBRARY, "EnviarDadosVenda", "--codigo", "12345678",
                              "--arquivo", (folder / "venda.xml").string()},
                             folder.path(),
                             {{"FAKE_MFE_CALLS", (folder / "calls").string()},
                              {"FAKE_MFE_ANSWER", "1|06001|0000|Código de ativação inválido||"}});
    EXPECT_EQ(ran.exit, 1) << ran.err;
    const std::string calls = cli_test::readFile(folder / "calls");
    const std::regex call("EnviarDadosVenda\\|\\d+\\|12345678\\|([\\s\\S]*)\n");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(calls, match, call)) << calls;
    EXPECT_EQ(match[1].str(), "<CFe>\n\r<xProd>Caf\xc3\xa9</xProd>\n\r</CFe>\n\r");
    EXPECT_EQ(ran.out.find("Informações do CFe"), std::string::npos) << "an error: raw line only";
}

} // namespace
