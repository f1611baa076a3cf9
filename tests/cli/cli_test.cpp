// The command line run as a user runs it: the built program against the fake driver library,
// which answers what FAKE_MFE_ANSWER says and writes every call it receives to FAKE_MFE_CALLS.

#include "core/workflow.h"
#include "tests/cli/program_copy.h"
#include "tests/cli/run_program.h"
#include "tests/cli/terminal_program.h"
#include "tests/documents/base64_encoder.h"
#include "tests/support/wait_until.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <csignal>
#include <regex>

namespace {

namespace fs = std::filesystem;
using cli_test::lines;
using cli_test::Ran;

const std::string okSat = "000000|08000|SAT em operação||";

// A successful status answer: fields 0 to 27, field 27 the state 0.
const std::string okStatus =
    "000123|10000|Resposta com Sucesso.|||900004019|DHCP|010.000.000.108|00:0C:29:4F:8A:11|"
    "255.255.255.000|010.000.000.001|008.008.008.008|008.008.004.004|CONECTADO|ALTO|4 GB|"
    "260 MB|20240315143005|01.00.00|00.07|CFe35240361099008000141599000040190000011234|||"
    "20240315140000|20240315143000|20230101|20280101|0";

bool contains(const std::vector<std::string>& all, const std::string& line) {
    return std::find(all.begin(), all.end(), line) != all.end();
}

class CommandLineTest : public ::testing::Test {
protected:
    cli_test::TemporaryFolder folder;

    std::map<std::string, std::string> environment{{"FAKE_MFE_CALLS", (folder / "calls").string()}};

    Ran tarvik(const std::vector<std::string>& args, const std::string& answer = okSat,
               const fs::path& program = TARVIK_EXE, bool terminal = false) {
        auto env = environment;
        env["FAKE_MFE_ANSWER"] = answer;
        return cli_test::runProgram(program, args, folder.path(), env, terminal);
    }

    // The calls the fake library received, one per line: name and arguments separated by "|".
    std::vector<std::string> received() const {
        return lines(cli_test::readFile(folder / "calls"));
    }

    // The session number of a call text, as the integer the library receives.
    static std::string sentSession(const std::string& callText) {
        std::smatch match;
        EXPECT_TRUE(std::regex_search(callText, match, std::regex(R"(\((\d{6})[,)])"))) << callText;
        return match.empty() ? "" : std::to_string(std::stoi(match[1].str()));
    }
};

TEST_F(CommandLineTest, ConsultarSatPrintsTheCallItMakesThenTheAnswer) {
    const Ran ran = tarvik({"--dll", FAKE_LIBRARY, "ConsultarSAT"});
    EXPECT_EQ(ran.exit, 0) << ran.err;
    const auto out = lines(ran.out);
    ASSERT_EQ(out.size(), 2u) << ran.out;
    EXPECT_TRUE(std::regex_match(out[0], std::regex(R"(ConsultarSAT\(\d{6}\))"))) << out[0];
    EXPECT_EQ(out[1], okSat);
    EXPECT_EQ(received(), std::vector<std::string>{"ConsultarSAT|" + sentSession(out[0])});
    EXPECT_EQ(ran.err, "");
}

TEST_F(CommandLineTest, StatusQueriesSendTheTrimmedCodeAndPrintTheReport) {
    const Ran ran = tarvik(
        {"--dll", FAKE_LIBRARY, "ConsultarStatusOperacional", "--codigo", "  12345678 "}, okStatus);
    EXPECT_EQ(ran.exit, 0) << ran.err;
    const auto out = lines(ran.out);
    ASSERT_GE(out.size(), 4u) << ran.out;
    EXPECT_TRUE(
        std::regex_match(out[0], std::regex(R"(ConsultarStatusOperacional\(\d{6},12345678\))")))
        << out[0];
    EXPECT_EQ(out[1], okStatus);
    EXPECT_EQ(out[2], "");
    EXPECT_EQ(out[3], "---- Status ----------------------------------");
    EXPECT_TRUE(contains(out, " NSERIE ........... 900004019"));
    EXPECT_TRUE(contains(out, " ESTADO_OPERACAO .. DESBLOQUEADO"));
    EXPECT_EQ(out.back(), "----------------------------------------------");
    EXPECT_EQ(received(), std::vector<std::string>{"ConsultarStatusOperacional|" +
                                                   sentSession(out[0]) + "|12345678"});
}

TEST_F(CommandLineTest, JsonCarriesTheRunAndParsesBack) {
    const Ran ran =
        tarvik({"--json", "--dll", FAKE_LIBRARY, "ConsultarStatusOperacional", "--codigo=12345678"},
               okStatus);
    EXPECT_EQ(ran.exit, 0) << ran.err;
    const auto j = nlohmann::json::parse(ran.out);
    EXPECT_EQ(j["operation"], "ConsultarStatusOperacional");
    EXPECT_EQ(j["access"], "DLL");
    const std::string session = j["session"];
    EXPECT_EQ(j["call"], "ConsultarStatusOperacional(" + session + ",12345678)");
    EXPECT_EQ(received(),
              std::vector<std::string>{"ConsultarStatusOperacional|" +
                                       std::to_string(std::stoi(session)) + "|12345678"});
    EXPECT_EQ(j["answer"], okStatus);
    EXPECT_EQ(j["code"], "10000");
    ASSERT_EQ(j["fields"].size(), 28u);
    EXPECT_EQ(j["fields"][2], "Resposta com Sucesso.");
    EXPECT_EQ(j["report"].size(), 26u); // empty line, heading, fields 5 to 27, closing line
    EXPECT_EQ(j["report"][2], " NSERIE ........... 900004019");
    EXPECT_TRUE(j["request"].is_null());
    EXPECT_TRUE(j["integrador_answer"].is_null());
    EXPECT_EQ(j["files"], nlohmann::json::array());
    EXPECT_EQ(j["exit"], 0);
    EXPECT_TRUE(j["error"].is_null());
}

TEST_F(CommandLineTest, ExitStatusTellsSuccessModuleErrorBadUsageAndUnreachable) {
    cli_test::writeFile(folder / "not-a-library.so", "just text");
    // A bare file name is the file in the current folder, not one the loader would search for.
    fs::copy_file(FAKE_LIBRARY, folder / "libmfe-copy.so");
    const std::string error = "000000|10001|Código de ativação inválido||";
    // The library's full path, with the system's own separator ("\\" on Windows).
    const std::string absent =
        std::string(1, char(fs::path::preferred_separator)) + "absent.so\" Não encontrada";
    struct Case {
        std::vector<std::string> args;
        std::string answer;
        int exit;
        std::string stderrHas;
    };
    const Case cases[] = {
        {{"--dll", FAKE_LIBRARY, "consultarsat"}, okSat, 0, ""},
        {{"--dll", "libmfe-copy.so", "ConsultarSAT"}, okSat, 0, ""},
        {{"--dll", FAKE_LIBRARY, "ConsultarStatusOperacional", "--codigo", "12345678"},
         error,
         1,
         ""},
        // A status answer is no success of ConsultarSAT.
        {{"--dll", FAKE_LIBRARY, "ConsultarSAT"}, okStatus, 1, ""},
        {{"--dll", "absent.so", "ConsultarSAT"}, okSat, 3, absent},
        {{"--dll", "not-a-library.so", "ConsultarSAT"}, okSat, 3, "Erro na carga da DLL."},
        {{"--dll", FAKE_PARTIAL_LIBRARY, "ConsultarSAT"},
         okSat,
         3,
         "Função ConsultarSAT não encontrada na biblioteca."},
        {{"--dll", FAKE_LIBRARY, "ConsultarSATs"},
         okSat,
         2,
         "operação desconhecida: ConsultarSATs"},
        {{"--dll", FAKE_LIBRARY, "ConsultarSAT", "--codigo", "12345678"},
         okSat,
         2,
         "opção desconhecida: --codigo"},
        {{"--dll", FAKE_LIBRARY, "ConsultarStatusOperacional", "--codigo"},
         okSat,
         2,
         "falta o valor da opção --codigo"},
        {{"--dll", FAKE_LIBRARY, "ConsultarSAT", "extra"}, okSat, 2, "palavra a mais: extra"},
        {{"--dll", FAKE_LIBRARY, "--layout", "7", "ConsultarSAT"},
         okSat,
         2,
         "layout desconhecido: 7"},
        {{"--dll", FAKE_LIBRARY, "--integrador", ".", "ConsultarSAT"},
         okSat,
         2,
         "escolha --dll ou --integrador"},
        {{}, okSat, 2, "Uso: tarvik"},
    };
    for (const Case& c : cases) {
        const Ran ran = tarvik(c.args, c.answer);
        std::string line;
        for (const auto& a : c.args)
            line += a + " ";
        EXPECT_EQ(ran.exit, c.exit) << line << "\n" << ran.err;
        EXPECT_NE(ran.err.find(c.stderrHas), std::string::npos) << line << "\n" << ran.err;
        if (c.exit == 0 || c.exit == 1) {
            EXPECT_EQ(ran.err, "") << line;
        }
    }
}

TEST_F(CommandLineTest, FailuresStillGiveOneJsonObject) {
    const Ran ran = tarvik({"--json", "--dll", "absent.so", "ConsultarSAT"});
    EXPECT_EQ(ran.exit, 3);
    const auto j = nlohmann::json::parse(ran.out);
    EXPECT_EQ(j["operation"], "ConsultarSAT");
    EXPECT_EQ(j["exit"], 3);
    // The file looked for: the name given, in the folder the program ran in.
    EXPECT_EQ(j["error"], "DLL: \"" + (fs::canonical(folder.path()) / "absent.so").string() +
                              "\" Não encontrada");
    EXPECT_TRUE(j["answer"].is_null());
    EXPECT_TRUE(received().empty());
}

TEST_F(CommandLineTest, AnalysisOnlyChecksAndCallsNothing) {
    struct Case {
        std::string codigo;
        int exit;
        std::vector<std::string> out;
    };
    const Case cases[] = {
        {"12345678", 0, {"Análise OK."}},
        {"  123456", 0, {"Análise OK."}}, // 6 characters after trimming, 8 as typed
        {"1234567", 2, {"Código de ativação deve ter entre 8 e 32 caracteres"}},
        {"",
         2,
         {"Código de ativação não pode ser nulo",
          "Código de ativação deve ter entre 8 e 32 caracteres"}},
    };
    for (const Case& c : cases) {
        // No access mode is needed to analyse.
        const Ran ran = tarvik({"ConsultarStatusOperacional", "--analisar", "--codigo", c.codigo});
        EXPECT_EQ(ran.exit, c.exit) << c.codigo << ran.err;
        EXPECT_EQ(lines(ran.out), c.out) << c.codigo;
    }
    EXPECT_EQ(tarvik({"ConsultarSAT", "--analisar"}).exit, 2); // page 0 has no "Analisar"
    EXPECT_TRUE(received().empty());
}

TEST_F(CommandLineTest, WithoutAnAccessOptionTheWindowsIniAndTheLibraryBesideTheProgramServe) {
    const fs::path program = folder / "tarvik";
    cli_test::copyTarvik(program);
    const Ran unchosen = tarvik({"ConsultarSAT"}, okSat, program);
    EXPECT_EQ(unchosen.exit, 2);
    EXPECT_NE(unchosen.err.find("forma de acesso não escolhida"), std::string::npos);

    cli_test::writeFile(folder / "tarvikplus.ini", "[Default]\r\nacesso=DLL\r\n");
    const Ran missing = tarvik({"ConsultarSAT"}, okSat, program);
    EXPECT_EQ(missing.exit, 3);
    EXPECT_NE(missing.err.find("DLL: \""), std::string::npos) << missing.err;

    fs::copy_file(FAKE_LIBRARY, folder / TARVIK_LIBRARY_NAME);
    const Ran ran = tarvik({"ConsultarSAT"}, okSat, program);
    EXPECT_EQ(ran.exit, 0) << ran.err;
    EXPECT_EQ(lines(ran.out).back(), okSat);
    EXPECT_EQ(received().size(), 1u);

    // The library chosen in the window, as the window loads it; a choice whose file has gone
    // is named with where it is kept, and the fixed name is not taken instead.
    const fs::path chosen = folder / "fabricante" / "libfabricante.so";
    fs::create_directories(chosen.parent_path());
    fs::copy_file(FAKE_LIBRARY, chosen);
    cli_test::writeFile(folder / "tarvikplus.ini",
                        "[DEFAULT]\r\nACESSO=DLL\r\nBIBLIOTECA=" + chosen.string() + "\r\n");
    const Ran fromChosen = tarvik({"ConsultarSAT"}, okSat, program);
    EXPECT_EQ(fromChosen.exit, 0) << fromChosen.err;
    EXPECT_EQ(received().size(), 2u);
    fs::remove(chosen);
    const Ran chosenGone = tarvik({"ConsultarSAT"}, okSat, program);
    EXPECT_EQ(chosenGone.exit, 3);
    EXPECT_NE(chosenGone.err.find("DLL: \"" + chosen.string() + "\" Não encontrada"),
              std::string::npos)
        << chosenGone.err;
    EXPECT_NE(chosenGone.err.find("BIBLIOTECA em " + (folder / "tarvikplus.ini").string()),
              std::string::npos)
        << chosenGone.err;

    // In Integrador mode the window's folders: those below TARVIK_INTEGRADOR_DIR here.
    cli_test::writeFile(folder / "tarvikplus.ini", "[DEFAULT]\r\nACESSO=INTEGRADOR\r\n");
    environment["TARVIK_INTEGRADOR_DIR"] = (folder / "elsewhere").string();
    const Ran integrador = tarvik({"ConsultarSAT"}, okSat, program);
    EXPECT_EQ(integrador.exit, 3);
    EXPECT_NE(integrador.err.find((folder / "elsewhere" / "Input").string()), std::string::npos)
        << integrador.err;
}

TEST_F(CommandLineTest, ValidarWritesWhatThePagesButtonWritesWithTheSchemaBesideTheProgram) {
    const fs::path program = folder / "tarvik";
    cli_test::copyTarvik(program);
    fs::create_directory(folder / "Schemas");
    const std::string schema = R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema">
  <xs:element name="CFe"><xs:complexType><xs:sequence>
    <xs:element name="infCFe" type="xs:string"/>
  </xs:sequence></xs:complexType></xs:element>
</xs:schema>)";
    cli_test::writeFile(folder / "Schemas" / "CFeRecebido_7.xsd", schema);
    cli_test::writeFile(folder / "valid.xml", "<CFe><infCFe>1</infCFe></CFe>");
    cli_test::writeFile(folder / "invalid.xml", "<CFe><outro>1</outro></CFe>");
    cli_test::writeFile(folder / "broken.xml", "<CFe><infCFe>1</CFe>");
    struct Case {
        std::vector<std::string> args;
        int exit;
        std::string first;  // the first line written
        std::string second; // how the second line starts; empty when there is none
    };
    const std::string progress = "Submetendo ao XSD do layout 0.07 ...";
    const Case cases[] = {
        {{"validar", "--cfe", "valid.xml"}, 0, progress, "Validação do XML do CFe OK."},
        {{"validar", "--cfe", "invalid.xml"}, 1, progress, "Element 'outro'"},
        {{"validar", "--cfe", "broken.xml"}, 1, progress, "Código de Erro: "},
        {{"validar", "--cfe", "absent.xml"}, 2, "Arquivo: absent.xml não existe.", ""},
        {{"--layout", "0.08", "validar", "--canc", "valid.xml"},
         2,
         "Arquivo XSD para validação do CFeCanc não foi encontrado.",
         ""},
    };
    for (const Case& c : cases) {
        const Ran ran = tarvik(c.args, okSat, program);
        const auto out = lines(ran.out);
        EXPECT_EQ(ran.exit, c.exit) << c.args.back() << ran.err;
        ASSERT_EQ(out.size(), c.second.empty() ? 1u : 2u) << ran.out;
        EXPECT_EQ(out[0], c.first);
        if (!c.second.empty()) {
            EXPECT_EQ(out[1].substr(0, c.second.size()), c.second) << out[1];
        }
    }

    const Ran json = tarvik({"validar", "--json", "--cfe", "invalid.xml"}, okSat, program);
    const auto j = nlohmann::json::parse(json.out);
    EXPECT_EQ(j["validation"], "CFe");
    EXPECT_EQ(j["layout"], "0.07");
    EXPECT_EQ(j["valid"], false);
    EXPECT_EQ(j["exit"], 1);
    EXPECT_EQ(j["lines"][0], progress);

    for (const auto& args : std::vector<std::vector<std::string>>{
             {"validar", "valid.xml"},
             {"validar", "--cfe", "--canc", "valid.xml"},
             {"validar", "--cfe"},
             {"--layout", "0.09", "validar", "--cfe", "valid.xml"}})
        EXPECT_EQ(tarvik(args, okSat, program).exit, 2) << args.back();
}

TEST_F(CommandLineTest, ASlowCallShowsItsProgressOnATerminalOnly) {
#ifdef _WIN32
    GTEST_SKIP() << "the terminal comes from script(1), which Windows does not have";
#endif
    environment["FAKE_MFE_DELAY_MS"] = "900";
    const Ran terminal = tarvik({"--dll", FAKE_LIBRARY, "ConsultarSAT"}, okSat, TARVIK_EXE, true);
    EXPECT_EQ(terminal.exit, 0);
    EXPECT_NE(terminal.out.find("Executando ConsultarSAT... Tempo decorrido: 00:00"),
              std::string::npos)
        << terminal.out;
    EXPECT_NE(terminal.out.find(okSat), std::string::npos) << terminal.out;

    const Ran piped = tarvik({"--dll", FAKE_LIBRARY, "ConsultarSAT"});
    EXPECT_EQ(piped.exit, 0);
    EXPECT_EQ(piped.err, "");
}

// The Integrador mode: requests go to ROOT/Input, answers come from ROOT/Output.
class IntegradorModeTest : public CommandLineTest {
protected:
    fs::path root = folder / "Integrador";

    // The stand-in answering through the fake library with `answer`.
    std::unique_ptr<cli_test::Background> startStandin(const std::string& answer) {
        auto env = environment;
        env["FAKE_MFE_ANSWER"] = answer;
        auto standin = std::make_unique<cli_test::Background>(
            STANDIN,
            std::vector<std::string>{"--dir", root.string(), "--library", FAKE_LIBRARY, "--timeout",
                                     "30"},
            folder.path(), env);
        EXPECT_TRUE(test_support::waitUntil([&] { return fs::exists(root / "Output"); }));
        return standin;
    }
};

TEST_F(IntegradorModeTest, ShowsTheRequestThenTheAnswerBlockRawLineAndReport) {
    const auto standin = startStandin(okStatus);
    struct Case {
        std::string operation;
        std::string method;
        std::string reportLine; // a line the page's report writes
    };
    const Case cases[] = {
        {"ConsultarSAT", "ConsultarMFe", ""},
        {"ConsultarStatusOperacional", "ConsultarStatusOperacional",
         " NSERIE ........... 900004019"},
        {"ConsultarStatusOperacionalMFE", "ConsultarStatusOperacionalMFE",
         " Número de Série ............ 900004019"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--integrador", root.string(), c.operation};
        if (c.operation != "ConsultarSAT")
            args.insert(args.end(), {"--codigo", "12345678"});
        const Ran ran = tarvik(args, okStatus);
        const auto out = lines(ran.out);
        // ConsultarSAT answers 10000, which is not its success.
        EXPECT_EQ(ran.exit, c.operation == "ConsultarSAT" ? 1 : 0) << c.operation << ran.err;
        ASSERT_GE(out.size(), 3u) << ran.out;
        EXPECT_TRUE(contains(out, "------------  XML Integrador  ------------------------------"));
        EXPECT_TRUE(contains(out, "    <Metodo Nome=\"" + c.method + "\">")) << ran.out;
        const std::string session = out[0].substr(c.operation.size() + 1, 6);
        EXPECT_NE(ran.out.find("<Valor>" + session + "</Valor>"), std::string::npos)
            << "the preview shows the session of the call text\n"
            << ran.out;
        const auto block = std::find(out.begin(), out.end(),
                                     "---- Resposta XML Integrador -------------------------");
        ASSERT_NE(block, out.end()) << ran.out;
        EXPECT_TRUE(contains(out, "    <retorno>" + okStatus + "</retorno>")) << ran.out;
        const auto footer =
            std::find(block, out.end(), "------------------------------------------------------");
        ASSERT_NE(footer, out.end());
        ASSERT_NE(footer + 1, out.end());
        EXPECT_EQ(*(footer + 1), okStatus);
        if (!c.reportLine.empty()) {
            EXPECT_TRUE(contains(out, c.reportLine)) << ran.out;
        }
    }
    // Each call reached the module with the session its call text showed.
    EXPECT_EQ(received().size(), 3u);
}

TEST_F(IntegradorModeTest, JsonCarriesTheRequestDocumentAndTheAnswerDocument) {
    const auto standin = startStandin(okSat);
    const Ran ran = tarvik({"--json", "--integrador", root.string(), "ConsultarSAT"});
    EXPECT_EQ(ran.exit, 0) << ran.err;
    const auto j = nlohmann::json::parse(ran.out);
    EXPECT_EQ(j["access"], "INTEGRADOR");
    const std::string identifier = j["identifier"];
    EXPECT_TRUE(std::regex_match(identifier, std::regex(R"(\d{8})"))) << identifier;
    const std::string request = j["request"];
    const std::string session = sentSession(j["call"]);
    EXPECT_NE(request.find("<Valor>" + identifier + "</Valor>"), std::string::npos) << request;
    // The file carries the session number as an integer, where the preview shows six digits.
    EXPECT_NE(request.find("<Valor>" + session + "</Valor>\r\n"), std::string::npos) << request;
    EXPECT_EQ(j["answer"], okSat);
    EXPECT_EQ(j["code"], "08000");
    EXPECT_NE(std::string(j["integrador_answer"]).find("<Valor>" + identifier + "</Valor>"),
              std::string::npos);
    EXPECT_EQ(received(), std::vector<std::string>{"ConsultarSAT|" + session});
}

TEST_F(IntegradorModeTest, NoFoldersATimeOutAndCtrlCEndWithStatusThree) {
    const Ran noFolders = tarvik({"--integrador", root.string(), "ConsultarSAT"});
    EXPECT_EQ(noFolders.exit, 3);
    EXPECT_NE(noFolders.out.find("Diretórios do Integrador não estão presentes."),
              std::string::npos);
    EXPECT_NE(noFolders.err.find("a requisição não pôde ser escrita"), std::string::npos)
        << noFolders.err;

    fs::create_directories(root / "Input");
    fs::create_directories(root / "Output");
    const Ran late = tarvik({"--integrador", root.string(), "--espera", "1",
                             "ConsultarStatusOperacional", "--codigo", "12345678"});
    EXPECT_EQ(late.exit, 3);
    EXPECT_NE(late.out.find("|10098|SAT em processamento. Tente novamente.||"), std::string::npos)
        << late.out;
    EXPECT_NE(late.err.find("o Integrador não respondeu em 1 s"), std::string::npos) << late.err;

#ifndef _WIN32 // a console's Ctrl-C cannot be sent to a process in a test there
    // Ctrl-C during the wait of ConsultarMFe (14 s) ends it at once, as "Cancelar" does: the run
    // is over before the wait alone would be, however slowly the machine starts it.
    fs::remove_all(root / "Input");
    fs::create_directories(root / "Input");
    const auto launched = std::chrono::steady_clock::now();
    cli_test::Background waiting(TARVIK_EXE, {"--integrador", root.string(), "ConsultarSAT"},
                                 folder.path(), environment);
    // Waiting once its request is written.
    EXPECT_TRUE(test_support::waitUntil([&] { return !fs::is_empty(root / "Input"); }));
    waiting.signal(SIGINT);
    const Ran cancelled = waiting.finish();
    EXPECT_LT(std::chrono::steady_clock::now() - launched, std::chrono::seconds(14));
    EXPECT_EQ(cancelled.exit, 3);
    EXPECT_NE(cancelled.out.find("|08098|SAT em processamento. Tente novamente.||\n" +
                                 std::string(core::cancelledCallLine)),
              std::string::npos)
        << cancelled.out;
    EXPECT_NE(cancelled.err.find("cancelada"), std::string::npos) << cancelled.err;
    EXPECT_TRUE(received().empty());
#endif
}

TEST_F(CommandLineTest, HelpListsTheOperationsInThePanelsOrder) {
    const Ran ran = tarvik({"--help"});
    EXPECT_EQ(ran.exit, 0);
    const std::vector<std::string> panel = {"ConsultarSAT",
                                            "ConfigurarInterfaceDeRede",
                                            "ConfigurarInterfaceDeRedeMFE",
                                            "AtivarSAT",
                                            "AssociarAssinatura",
                                            "TesteFimAFim",
                                            "ConsultarStatusOperacional",
                                            "ConsultarStatusOperacionalMFE",
                                            "TrocarCodigoDeAtivacao",
                                            "ExtrairLogs",
                                            "EnviarDadosVenda",
                                            "CancelarUltimaVenda",
                                            "ConsultarNumeroSessao",
                                            "BloquearSAT",
                                            "DesbloquearSAT",
                                            "AtualizarSoftwareSAT"};
    std::size_t at = 0;
    for (const auto& name : panel) {
        const auto found = ran.out.find("\n  " + name, at);
        ASSERT_NE(found, std::string::npos) << name;
        at = found + 1;
    }

    const Ran operation = tarvik({"ConsultarStatusOperacional", "--help"});
    EXPECT_EQ(operation.exit, 0);
    EXPECT_NE(operation.out.find("--codigo CODIGO"), std::string::npos) << operation.out;
}

TEST_F(CommandLineTest, NetworkPagesSendTheFormsConfigurationOrAPreparedOne) {
    const std::string ok = "000001|12000|Rede configurada com sucesso||";
    const std::string code = "--codigo=12345678";
    const Ran fixed =
        tarvik({"--dll", FAKE_LIBRARY, "ConfigurarInterfaceDeRede", code, "--tipo-lan", "IPFIX",
                "--ip", "192.168.001.010", "--mascara", "255.255.255.000", "--gateway",
                "192.168.001.001", "--proxy", "transparente"},
               ok);
    EXPECT_EQ(fixed.exit, 0) << fixed.err;
    const std::string document =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><config><tipoInter>ETHE</tipoInter>"
        "<tipoLan>IPFIX</tipoLan><lanIP>192.168.001.010</lanIP><lanMask>255.255.255.000</lanMask>"
        "<lanGW>192.168.001.001</lanGW><lanDNS1/><lanDNS2/><proxy>2</proxy></config>";
    ASSERT_EQ(received().size(), 1u);
    EXPECT_EQ(received()[0],
              "ConfigurarInterfaceDeRede|" + sentSession(fixed.out) + "|12345678|" + document);

    const Ran mobile = tarvik({"--dll", FAKE_LIBRARY, "ConfigurarInterfaceDeRedeMFE", code,
                               "--operadora", "VIVO", "--prioridade", "movel"},
                              "000002|12002|dados fora do padrão||");
    EXPECT_EQ(mobile.exit, 1) << mobile.err;
    ASSERT_EQ(received().size(), 2u);
    EXPECT_NE(received()[1].find("<prioridade>0</prioridade><usuario>vivo</usuario>"),
              std::string::npos)
        << received()[1];
    EXPECT_TRUE(received()[1].ends_with("<APN>zap.vivo.com.br</APN></config>||")) << received()[1];

    // A prepared document goes out as its bytes; the form's options are not looked at.
    const std::string prepared = "<config><tipoInter>ETHE</tipoInter></config>|||";
    cli_test::writeFile(folder / "rede.txt", prepared);
    const Ran file = tarvik({"--dll", FAKE_LIBRARY, "ConfigurarInterfaceDeRedeMFE", code, "--xml",
                             (folder / "rede.txt").string(), "--proxy", "socks"},
                            ok);
    EXPECT_EQ(file.exit, 0) << file.err;
    ASSERT_EQ(received().size(), 3u);
    EXPECT_TRUE(received()[2].ends_with("|12345678|" + prepared)) << received()[2];

    const Ran skipped = tarvik(
        {"ConfigurarInterfaceDeRede", "--analisar", code, "--xml", (folder / "rede.txt").string()});
    EXPECT_EQ(skipped.exit, 2);
    EXPECT_NE(skipped.out.find("a análise não se aplica"), std::string::npos) << skipped.out;

    const Ran wrong =
        tarvik({"--dll", FAKE_LIBRARY, "ConfigurarInterfaceDeRede", code, "--proxy", "socks"});
    EXPECT_EQ(wrong.exit, 2);
    EXPECT_NE(wrong.err.find("--proxy \"socks\""), std::string::npos) << wrong.err;
    EXPECT_EQ(received().size(), 3u);
}

// An --xml file that is empty or cannot be read is refused: the form's defaults (DHCP, no proxy)
// never go out in its place.
TEST_F(CommandLineTest, AnEmptyOrUnreadablePreparedDocumentIsRefused) {
    const std::string ok = "000001|12000|Rede configurada com sucesso||";
    cli_test::writeFile(folder / "vazio.xml", "");
    fs::create_directory(folder / "pasta.xml");
    const std::string empty =
        "O documento preparado (--xml) está vazio: nada é enviado, e o formulário não o substitui.";
    struct Case {
        std::string file;
        std::string message; // in standard error
    };
    const Case cases[] = {
        {"vazio.xml", empty},
        {"ausente.xml", "não foi possível ler ausente.xml"},
        {"pasta.xml", "não foi possível ler pasta.xml"},
    };
    for (const char* operation : {"ConfigurarInterfaceDeRede", "ConfigurarInterfaceDeRedeMFE"}) {
        for (const Case& c : cases) {
            const Ran ran = tarvik(
                {"--dll", FAKE_LIBRARY, operation, "--codigo", "12345678", "--xml", c.file}, ok);
            EXPECT_EQ(ran.exit, 2) << operation << " " << c.file;
            EXPECT_NE(ran.err.find(c.message), std::string::npos) << ran.err;
        }
        const Ran analysed =
            tarvik({operation, "--analisar", "--codigo", "12345678", "--xml", "vazio.xml"});
        EXPECT_EQ(analysed.exit, 2);
        EXPECT_EQ(lines(analysed.out),
                  (std::vector<std::string>{"Documento preparado (--xml): a análise não se aplica, "
                                            "o documento é enviado como está.",
                                            empty}));
    }
    EXPECT_EQ(received(), std::vector<std::string>{});
}

// The module's success code with a document that could not be saved has an exit status of its
// own, and --json says whether the document was saved and, when not, why.
TEST_F(CommandLineTest, ASuccessWhoseDocumentIsNotSavedExitsWithFour) {
    const fs::path program = folder / "tarvik";
    cli_test::copyTarvik(program);
    cli_test::writeFile(folder / "venda.xml", "<CFe/>");
    const auto sale = [](const std::string& document) {
        return "000001|06000|0000|Emitido com sucesso|||" + document +
               "|20261210133000|CFe35261212345678000195597966232000000014916358|20.61||qr";
    };
    const std::string issued = sale(documents_test::base64("<CFe>emitido</CFe>"));
    struct Case {
        const char* name;
        std::string answer;
        bool retornosIsAFile;
        int exit;
        nlohmann::json saved;
        std::string reason; // in "error" and standard error
    };
    const Case cases[] = {
        {"saved", issued, false, 0, true, ""},
        {"Retornos cannot be made", issued, true, 4, false, "Retornos"},
        {"not Base64", sale("%%%"), false, 4, false, "não está em Base64 válido"},
        {"without field 6", "000001|06000|0000|Emitido||", false, 4, false,
         "Resposta com 5 campos, menos que os 12 esperados (faltam: mensagemSEFAZ, "
         "arquivoCFeSAT, "},
        {"another code", "000001|06001|0000|Código de ativação inválido||", false, 1, nullptr, ""},
    };
    const std::vector<std::string> args = {"--dll",    FAKE_LIBRARY, "EnviarDadosVenda", "--codigo",
                                           "12345678", "--arquivo",  "venda.xml"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.retornosIsAFile) {
            fs::remove_all(folder / "Retornos");
            cli_test::writeFile(folder / "Retornos", "um arquivo no lugar da pasta");
        }
        std::vector<std::string> json = args;
        json.insert(json.begin(), "--json");
        const Ran ran = tarvik(json, c.answer, program);
        EXPECT_EQ(ran.exit, c.exit) << ran.err;
        const auto j = nlohmann::json::parse(ran.out);
        EXPECT_EQ(j["exit"], c.exit);
        EXPECT_EQ(j["saved"], c.saved);
        if (c.reason.empty()) {
            EXPECT_TRUE(j["error"].is_null()) << j["error"];
        } else {
            EXPECT_NE(j["error"].get<std::string>().find(c.reason), std::string::npos)
                << j["error"];
            const Ran text = tarvik(args, c.answer, program);
            EXPECT_EQ(text.exit, 4);
            EXPECT_NE(text.err.find("o documento de retorno não foi salvo: "), std::string::npos)
                << text.err;
        }
        if (c.retornosIsAFile)
            fs::remove(folder / "Retornos");
    }
}

// Installed, the help and validar name the folders the program really uses, not the one of its
// executable.
TEST_F(CommandLineTest, InstalledTheHelpAndValidarNameTheRealFolders) {
#ifdef _WIN32
    GTEST_SKIP() << "the installed layout is Linux's";
#else
    const fs::path program = folder / "prefixo" / "bin" / "tarvik";
    fs::create_directories(program.parent_path());
    fs::create_directories(folder / "prefixo" / "share" / "tarvikplus");
    cli_test::copyTarvik(program, folder / "prefixo" / "lib" / "tarvikplus");
    environment["XDG_DATA_HOME"] = (folder / "dados").string();
    environment["XDG_CONFIG_HOME"] = (folder / "config").string();
    const fs::path data = folder / "dados" / "tarvikplus";

    const Ran help = tarvik({"--help"}, okSat, program);
    EXPECT_EQ(help.exit, 0);
    for (const fs::path& place : {folder / "config" / "tarvikplus" / "tarvikplus.ini",
                                  folder / "prefixo" / "lib" / "tarvikplus" / "libmfe.so", data})
        EXPECT_NE(help.out.find("\n  " + place.string() + "\n"), std::string::npos) << place << "\n"
                                                                                    << help.out;
    EXPECT_EQ(help.out.find("ao lado do programa"), std::string::npos) << help.out;
    const Ran validarHelp = tarvik({"validar", "--help"}, okSat, program);
    EXPECT_NE(validarHelp.out.find((data / "Schemas").string()), std::string::npos)
        << validarHelp.out;
    const Ran gerarHelp = tarvik({"gerar-cancelamento", "--help"}, okSat, program);
    EXPECT_NE(gerarHelp.out.find((data / "Para_Cancelar").string()), std::string::npos)
        << gerarHelp.out;

    cli_test::writeFile(folder / "venda.xml", "<CFe/>");
    const Ran validar = tarvik({"validar", "--cfe", "venda.xml"}, okSat, program);
    EXPECT_EQ(validar.exit, 2);
    EXPECT_NE(validar.err.find("Arquivo XSD para validação do CFe não foi encontrado. Procurado "
                               "em: " +
                               (data / "Schemas" / "CFeRecebido_7.xsd").string() + ", " +
                               (data / "Schemas" / "emissao_cfe_0007.xsd").string()),
              std::string::npos)
        << validar.err;
#endif
}

} // namespace

// Through the library host, tarvik's default: a library that crashes leaves tarvik reporting it
// with exit status 3, and what a library prints never mixes with the answer.
TEST_F(CommandLineTest, HostedLibraryThatCrashesOrPrintsLeavesTarvikReporting) {
    environment["FAKE_MFE_MISBEHAVE"] = "crash";
    const Ran crashed = tarvik({"--dll", FAKE_LIBRARY, "ConsultarSAT"});
    EXPECT_EQ(crashed.exit, 3) << crashed.err;
    EXPECT_NE(crashed.err.find("tarvik: a biblioteca encerrou durante a chamada ("),
              std::string::npos)
        << crashed.err;
    const Ran crashedJson = tarvik({"--dll", FAKE_LIBRARY, "--json", "ConsultarSAT"});
    const auto j = nlohmann::json::parse(crashedJson.out);
    EXPECT_EQ(j["exit"], 3);
    EXPECT_EQ(j["error"].get<std::string>().rfind("a biblioteca encerrou durante a chamada", 0), 0u)
        << j["error"];

    environment["FAKE_MFE_MISBEHAVE"] = "stdout";
    const Ran printed = tarvik({"--dll", FAKE_LIBRARY, "ConsultarSAT"});
    EXPECT_EQ(printed.exit, 0) << printed.err;
    EXPECT_EQ(lines(printed.out).back(), okSat);
    EXPECT_EQ(printed.out.find("printed by the library"), std::string::npos) << printed.out;
    EXPECT_NE(printed.err.find("printed by the library"), std::string::npos) << printed.err;

    const Ran badWay = tarvik({"--processo-dll", "outro", "--dll", FAKE_LIBRARY, "ConsultarSAT"});
    EXPECT_EQ(badWay.exit, 2);
    EXPECT_NE(badWay.err.find("--processo-dll pede separado ou mesmo: outro"), std::string::npos)
        << badWay.err;
}

#ifndef _WIN32 // a console's Ctrl-C cannot be sent to a process in a test there
// Ctrl-C during a hung library call ends the library host, so the call really stops.
TEST_F(CommandLineTest, HostedLibraryThatHangsIsStoppedByCtrlC) {
    auto env = environment;
    env["FAKE_MFE_MISBEHAVE"] = "hang";
    env["FAKE_MFE_ANSWER"] = okSat;
    cli_test::Background waiting(
        TARVIK_EXE, {"--dll", FAKE_LIBRARY, "BloquearSAT", "--codigo", "x"}, folder.path(), env);
    // The fake records the call before it hangs.
    EXPECT_TRUE(test_support::waitUntil([&] { return !received().empty(); }));
    waiting.signal(SIGINT);
    const Ran cancelled = waiting.finish();
    EXPECT_EQ(cancelled.exit, 3) << cancelled.err;
    EXPECT_NE(cancelled.err.find("chamada à biblioteca cancelada"), std::string::npos)
        << cancelled.err;
    EXPECT_NE(cancelled.out.find("|16098|SAT em processamento. Tente novamente.||\n" +
                                 std::string(core::cancelledCallLine)),
              std::string::npos)
        << cancelled.out;
}

// At a prompt, the terminal's Ctrl-C reaches the whole foreground process group, the library
// host as much as tarvik: the call is still cancelled (not taken for a library that ended),
// the answer says no answer came from the module, and the journal keeps it as cancelled.
TEST_F(CommandLineTest, HostedLibraryThatHangsIsCancelledByTheTerminalsCtrlC) {
    const fs::path program = folder / "tarvik";
    cli_test::copyTarvik(program);
    auto env = environment;
    env["FAKE_MFE_MISBEHAVE"] = "hang";
    cli_test::TerminalProgram waiting(
        program, {"--dll", FAKE_LIBRARY, "BloquearSAT", "--codigo", "x"}, folder.path(), env);
    EXPECT_TRUE(test_support::waitUntil([&] { return !received().empty(); }));
    waiting.type("\x03");
    const Ran cancelled = waiting.finish();
    EXPECT_EQ(cancelled.exit, 3) << cancelled.out;
    EXPECT_NE(cancelled.out.find("chamada à biblioteca cancelada"), std::string::npos)
        << cancelled.out;
    EXPECT_EQ(cancelled.out.find("encerrou durante a chamada"), std::string::npos) << cancelled.out;
    EXPECT_NE(cancelled.out.find("|16098|SAT em processamento. Tente novamente.||\r\n" +
                                 std::string(core::cancelledCallLine)),
              std::string::npos)
        << cancelled.out;

    const Ran history = tarvik({"--json", "historico"}, okSat, program);
    ASSERT_EQ(history.exit, 0) << history.err;
    const auto calls = nlohmann::json::parse(history.out);
    ASSERT_EQ(calls.size(), 1u) << history.out;
    EXPECT_EQ(calls[0]["outcome"], "cancelada");
}
#endif

// A tarvik copied alone, without the library host, says how to do without it.
TEST_F(CommandLineTest, HostedLibraryWithoutItsHostSaysHowToRunInProcess) {
    const fs::path program = folder / "tarvik";
    fs::copy_file(TARVIK_EXE, program);
    const Ran alone = tarvik({"--dll", FAKE_LIBRARY, "ConsultarSAT"}, okSat, program);
    EXPECT_EQ(alone.exit, 3);
    EXPECT_NE(alone.err.find("O programa que carrega a biblioteca não foi encontrado"),
              std::string::npos)
        << alone.err;
    EXPECT_NE(alone.err.find("--processo-dll mesmo"), std::string::npos) << alone.err;
    const Ran inProcess =
        tarvik({"--processo-dll", "mesmo", "--dll", FAKE_LIBRARY, "ConsultarSAT"}, okSat, program);
    EXPECT_EQ(inProcess.exit, 0) << inProcess.err;
    EXPECT_EQ(lines(inProcess.out).back(), okSat);
}
