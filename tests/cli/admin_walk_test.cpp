// The administration operations through tarvik against the module emulator, one module state
// walked from activation to the session query; and the typed-text refusal on the command line.

#include "core/answer_cuts.h"
#include "tests/cli/run_program.h"
#include "tests/emulator/emulator_library.h"
#include "tests/portable.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>

namespace {

namespace fs = std::filesystem;
using cli_test::Ran;

const std::string cnpjContribuinte = "12345678000195";
const std::string cnpjSoftwareHouse = "11222333000181";

class AdminWalk : public ::testing::Test {
protected:
    cli_test::TemporaryFolder folder;
    fs::path stateFile = folder / "estado.json";

    // One run of tarvik against the emulator, its --json record.
    nlohmann::json tarvik(std::vector<std::string> args, int expectedExit) {
        args.insert(args.begin(), {"--json", "--dll", MFE_LIBRARY});
        const Ran ran = cli_test::runProgram(TARVIK_EXE, args, folder.path(),
                                             {{"MFE_EMULADOR_ESTADO", stateFile.string()}});
        EXPECT_EQ(ran.exit, expectedExit) << args[3] << "\n" << ran.out << ran.err;
        return nlohmann::json::parse(ran.out);
    }

    std::string code(std::vector<std::string> args, int expectedExit) {
        return tarvik(std::move(args), expectedExit)["code"];
    }

    // A sale, through the emulator library itself: the program's sale entry is not needed to
    // see the module refuse it.
    std::string sale(const std::string& codigo) {
        portable::setVariable("MFE_EMULADOR_ESTADO", stateFile.string());
        return emulator_test::EmulatorLibrary().call("EnviarDadosVenda", 4242, codigo.c_str(),
                                                     "<CFe/>");
    }
};

TEST_F(AdminWalk, FromActivationToTheSessionQuery) {
    const std::vector<std::string> ativar = {"AtivarSAT",      "--codigo", "codigoA1", "--cnpj",
                                             cnpjContribuinte, "--uf",     "SP"};
    const auto activated = tarvik(ativar, 0);
    EXPECT_EQ(activated["code"], "04000");
    EXPECT_EQ(activated["call"], "AtivarSAT(" + std::string(activated["session"]) + ",1,codigoA1," +
                                     cnpjContribuinte + ",35)");
    EXPECT_EQ(code(ativar, 1), "04003");

    // A signature file as an editor saves it: 344 Base64 characters and a line break.
    cli_test::writeFile(folder / "assinatura.txt", std::string(340, 'Q') + "QQ==\r\n");
    EXPECT_EQ(
        code({"AssociarAssinatura", "--codigo", "codigoA1", "--cnpj-sh", cnpjSoftwareHouse,
              "--cnpj-contribuinte", cnpjContribuinte, "--assinatura-arquivo", "assinatura.txt"},
             0),
        "13000");
    EXPECT_EQ(code({"ConsultarStatusOperacional", "--codigo", "codigoA1"}, 0), "10000");

    EXPECT_EQ(code({"TrocarCodigoDeAtivacao", "--codigo", "codigoA1", "--novo", "codigoB2",
                    "--confirmacao", "codigoB2"},
                   0),
              "18000");
    EXPECT_EQ(code({"ConsultarStatusOperacional", "--codigo", "codigoA1"}, 1), "10001");
    EXPECT_EQ(code({"ConsultarStatusOperacional", "--codigo", "codigoB2"}, 0), "10000");

    const auto emergency = tarvik({"TrocarCodigoDeAtivacao", "--emergencia", "--codigo",
                                   "EMERGENCIA", "--novo", "codigoC3", "--confirmacao", "codigoC3"},
                                  0);
    EXPECT_EQ(emergency["code"], "18000");
    EXPECT_EQ(emergency["call"], "TrocarCodigoDeAtivacao(" + std::string(emergency["session"]) +
                                     ",EMERGENCIA,2,codigoC3,codigoC3)");

    const auto blocked = tarvik({"BloquearSAT", "--codigo", "codigoC3"}, 0);
    EXPECT_EQ(blocked["code"], "16000");
    EXPECT_EQ(core::answerCode(sale("codigoC3")), "06006");

    EXPECT_EQ(code({"DesbloquearSAT", "--codigo", "codigoC3"}, 0), "17000");
    EXPECT_EQ(code({"DesbloquearSAT", "--codigo", "codigoC3"}, 1), "17005");
    EXPECT_EQ(code({"AtualizarSoftwareSAT", "--codigo", "codigoC3"}, 0), "14000");

    const auto logs = tarvik({"ExtrairLogs", "--codigo", "codigoC3", "--saida", "log.txt"}, 0);
    EXPECT_EQ(logs["code"], "15000");
    ASSERT_GE(logs["report"].size(), 4u);
    EXPECT_EQ(logs["report"][1], "---- Log Decodificado --------------------------------");
    EXPECT_EQ(logs["files"], nlohmann::json::array({"log.txt"}));
    const std::string log = cli_test::readFile(folder / "log.txt");
    EXPECT_NE(log.find(";BloquearSAT;"), std::string::npos) << log;
    bool reported = false;
    for (const auto& line : logs["report"])
        reported = reported || std::string(line).find(";BloquearSAT;") != std::string::npos;
    EXPECT_TRUE(reported);

    // The block's answer, asked for by its session, word for word.
    const auto asked = tarvik({"ConsultarNumeroSessao", "--codigo", "codigoC3", "--sessao",
                               blocked["session"].get<std::string>()},
                              0);
    EXPECT_EQ(asked["answer"], blocked["answer"]);
}

TEST_F(AdminWalk, OptionsTheOperationLacksAndTextTheCodePageCannotHold) {
    const Ran unknown = cli_test::runProgram(
        TARVIK_EXE, {"--dll", MFE_LIBRARY, "AtivarSAT", "--cnpj-sh", "1"}, folder.path());
    EXPECT_EQ(unknown.exit, 2);
    EXPECT_NE(unknown.err.find("opção desconhecida: --cnpj-sh (aceitas: --codigo, --cnpj, --uf,"),
              std::string::npos)
        << unknown.err;

    const Ran refused =
        cli_test::runProgram(TARVIK_EXE,
                             {"--dll", MFE_LIBRARY, "BloquearSAT", "--codigo",
                              "c\xC3\xB3"
                              "digo\xE2\x9C\x93"},
                             folder.path(), {{"MFE_EMULADOR_ESTADO", stateFile.string()}});
    EXPECT_EQ(refused.exit, 2);
    EXPECT_NE(refused.err.find("O caractere \"\xE2\x9C\x93\""), std::string::npos) << refused.err;
    EXPECT_EQ(refused.out, "");
    EXPECT_FALSE(fs::exists(stateFile)) << "the emulator was called";
}

} // namespace
