// A sale and an end-to-end test from the user's file to the saved answer, through the module
// emulator: loaded as the driver library and behind the Integrador stand-in. Each test prepares
// a module of its own (activation and association) in a state folder of its own.

#include "core/path_text.h"
#include "tests/cli/program_copy.h"
#include "tests/cli/run_program.h"
#include "tests/documents/base64_encoder.h"
#include "tests/emulator/emulator_library.h"
#include "tests/emulator/sale_documents.h"
#include "tests/support/wait_until.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <regex>

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
        cli_test::copyTarvik(program);
        if (integrador()) {
            standin = std::make_unique<cli_test::Background>(
                STANDIN,
                std::vector<std::string>{"--dir", root.string(), "--library", MFE_LIBRARY,
                                         "--timeout", "60"},
                folder.path(), environment);
            EXPECT_TRUE(test_support::waitUntil([&] { return fs::exists(root / "Output"); }));
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

// A folder whose name the ANSI code page cannot hold ("Ω") holding the program, the module
// library, the Integrador's folders, the documents and the module's state: every file is found
// and written there, and every path the program prints is that name in UTF-8.
TEST(FiscalChainFolders, AFolderOfAnyNameHoldsEverythingAndIsPrintedInUtf8) {
    cli_test::TemporaryFolder temporary;
    const auto utf8 = [](const fs::path& path) { return core::utf8FromPath(path); };
    const auto named = [](std::string_view name) { return core::pathFromUtf8(name); };
    const fs::path base = temporary.path() / named("Área de Trabalho ç Ω");
    const fs::path library = base / fs::path(MFE_LIBRARY).filename();
    const fs::path root = base / "Integrador";
    fs::create_directories(base);
    cli_test::copyTarvik(base / "tarvik");
    fs::copy_file(MFE_LIBRARY, library);
    const std::map<std::string, std::string> environment{
        {"MFE_EMULADOR_ESTADO", utf8(base / "estado.json")}};
    const auto tarvik = [&](const std::vector<std::string>& args) {
        return cli_test::runProgram(base / "tarvik", args, base, environment);
    };
    const fs::path signature = base / named("assinatura ç.txt");
    cli_test::writeFile(signature, emulator_test::acSignature());
    const Ran activated = tarvik({"--dll", utf8(library), "AtivarSAT", "--codigo", code, "--cnpj",
                                  emulator_test::taxpayerCnpj, "--uf", "SP"});
    ASSERT_EQ(activated.exit, 0) << activated.out << activated.err;
    EXPECT_TRUE(fs::exists(base / "estado.json"));
    const Ran associated =
        tarvik({"--dll", utf8(library), "AssociarAssinatura", "--codigo", code, "--cnpj-sh",
                emulator_test::softwareHouseCnpj, "--cnpj-contribuinte",
                emulator_test::taxpayerCnpj, "--assinatura-arquivo", utf8(signature)});
    ASSERT_EQ(associated.exit, 0) << associated.out << associated.err;

    cli_test::Background standin(
        STANDIN, {"--dir", utf8(root), "--library", utf8(library), "--timeout", "60"}, base,
        environment);
    EXPECT_TRUE(test_support::waitUntil([&] { return fs::exists(root / "Output"); }));
    const fs::path log = base / named("log Á.txt");
    struct Case {
        std::vector<std::string> args;
        fs::path written; // the file the run writes and names
    };
    const Case cases[] = {
        {{"--dll", utf8(library), "EnviarDadosVenda", "--arquivo",
          utf8(base / named("venda Ω 1.xml"))},
         base / "Retornos" / named("Resp_venda Ω 1.xml")},
        {{"--integrador", utf8(root), "EnviarDadosVenda", "--arquivo",
          utf8(base / named("venda Ω 2.xml"))},
         base / "Retornos" / named("Resp_venda Ω 2.xml")},
        {{"--dll", utf8(library), "ExtrairLogs", "--saida", utf8(log)}, log},
    };
    cli_test::writeFile(base / named("venda Ω 1.xml"), threeLineSale());
    cli_test::writeFile(base / named("venda Ω 2.xml"), threeLineSale());
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--codigo", code});
        const Ran ran = tarvik(args);
        EXPECT_EQ(ran.exit, 0) << args[2] << "\n" << ran.out << ran.err;
        EXPECT_TRUE(fs::exists(c.written)) << utf8(c.written);
        EXPECT_NE(ran.err.find("arquivo salvo: " + utf8(c.written)), std::string::npos) << ran.err;
    }

    const Ran generated = tarvik(
        {"gerar-cancelamento", "--cfe", utf8(base / "Retornos" / named("Resp_venda Ω 1.xml"))});
    EXPECT_EQ(generated.exit, 0) << generated.err;
    EXPECT_NE(generated.out.find(utf8(base / "Para_Cancelar" / named("C_venda Ω 1.xml"))),
              std::string::npos)
        << generated.out;

    // Where the module cannot be reached, the message names the place as it was given.
    const std::pair<std::vector<std::string>, std::string> unreachable[] = {
        {{"--dll", utf8(base / named("ausente Ω.dll")), "ConsultarSAT"},
         "DLL: \"" + utf8(base / named("ausente Ω.dll")) + "\" Não encontrada"},
        {{"--integrador", utf8(base / named("Parado Ω")), "ConsultarSAT"},
         "a requisição não pôde ser escrita em " + utf8(base / named("Parado Ω") / "Input")},
        {{"ConsultarSAT"}, "(" + utf8(base / "tarvikplus.ini") + ")"},
    };
    for (const auto& [args, message] : unreachable) {
        const Ran ran = tarvik(args);
        EXPECT_NE(ran.exit, 0);
        EXPECT_NE(ran.err.find(message), std::string::npos) << message << "\n" << ran.err;
    }
}

} // namespace
