// tarvik keeps every call in the journal beside it, secrets masked, and `tarvik historico`
// finds and exports them; a journal that cannot be written costs one warning, never the call.

#include "tests/cli/program_copy.h"
#include "tests/cli/run_program.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdlib>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

namespace fs = std::filesystem;
using cli_test::lines;
using cli_test::Ran;

const std::string okStatus = "000123|10000|Resposta com Sucesso.|||900004019|DHCP|1|2|3|4|5|6|"
                             "CONECTADO|ALTO|4 GB|1 MB|20240315143005|01.00.00|00.07|CFe|||1|2|3|"
                             "4|0";

class HistoricoTest : public ::testing::Test {
protected:
    cli_test::TemporaryFolder folder;
    fs::path program = folder / "tarvik";

    HistoricoTest() { cli_test::copyTarvik(program); }

    Ran tarvik(const std::vector<std::string>& args, const std::string& answer = "") {
        return cli_test::runProgram(
            program, args, folder.path(),
            {{"FAKE_MFE_ANSWER", answer}, {"FAKE_MFE_CALLS", (folder / "calls").string()}});
    }

    nlohmann::json historico(std::vector<std::string> filters) {
        filters.insert(filters.begin(), {"--json", "historico"});
        const Ran ran = tarvik(filters);
        EXPECT_EQ(ran.exit, 0) << ran.err;
        return nlohmann::json::parse(ran.out);
    }
};

// Opens a package with the standard unzip, as a help desk would; its exit status.
int unzip(const fs::path& zip, const fs::path& into) {
    const std::string command = "unzip -q -d '" + into.string() + "' '" + zip.string() + "'";
    return std::system(command.c_str());
}

std::vector<std::string> operations(const nlohmann::json& calls) {
    std::vector<std::string> names;
    for (const auto& c : calls)
        names.push_back(c["operation"]);
    return names;
}

TEST_F(HistoricoTest, EveryCallIsKeptMaskedAndFoundByTheFilters) {
    EXPECT_EQ(
        tarvik({"--dll", FAKE_LIBRARY, "ConsultarStatusOperacional", "--codigo", "segredo123"},
               okStatus)
            .exit,
        0);
    EXPECT_EQ(tarvik({"--dll", FAKE_LIBRARY, "ConsultarSAT"}, "000001|08098|ocupado||").exit, 1);
    EXPECT_EQ(tarvik({"--dll", (folder / "nada.so").string(), "ConsultarSAT"}).exit, 3);
    EXPECT_EQ(tarvik({"--dll", FAKE_LIBRARY, "--analisar", "ConsultarStatusOperacional"}).exit, 2);

    const auto all = historico({});
    ASSERT_EQ(operations(all), (std::vector<std::string>{"ConsultarSAT", "ConsultarSAT",
                                                         "ConsultarStatusOperacional"}));
    EXPECT_EQ(all[0]["outcome"], "sem acesso"); // the library is not there
    EXPECT_EQ(all[1]["outcome"], "ocupado");    // ConsultarSAT's busy code
    EXPECT_EQ(all[1]["code"], "08098");
    const auto& status = all[2];
    EXPECT_EQ(status["front_end"], "tarvik");
    EXPECT_EQ(status["access_mode"], "DLL");
    EXPECT_EQ(status["answer"], okStatus);
    EXPECT_NE(status["report"].get<std::string>().find("900004019"), std::string::npos);
    const std::string call = status["call"];
    EXPECT_EQ(call.find("segredo123"), std::string::npos) << call;
    EXPECT_NE(call.find(",**********)"), std::string::npos) << call;
    EXPECT_EQ(status["inputs"]["codigo"], "**********");

    struct Case {
        std::vector<std::string> filters;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {{"--operacao", "ConsultarStatusOperacional"}, {"ConsultarStatusOperacional"}},
        {{"--codigo-retorno", "08098"}, {"ConsultarSAT"}},
        {{"--texto", "CONECTADO"}, {"ConsultarStatusOperacional"}},
        {{"--texto", "conectado SUCÉSSO"}, {}},
        {{"--texto", "SUCÉSSO"}, {"ConsultarStatusOperacional"}}, // case and accents aside
        {{"--desde", "2099-01-01"}, {}},
        {{"--ate", "2000-01-01"}, {}},
        {{"--desde", "2000-01-01", "--operacao", "ConsultarSAT", "--codigo-retorno", "08098"},
         {"ConsultarSAT"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(operations(historico(c.filters)), c.expected) << c.filters[0];

    const Ran text = tarvik({"historico", "--operacao", "ConsultarSAT"});
    EXPECT_NE(text.out.find("  resposta: 000001|08098|ocupado||"), std::string::npos) << text.out;
    const Ran badDate = tarvik({"historico", "--desde", "31/12/2026"});
    EXPECT_EQ(badDate.exit, 2);
    EXPECT_NE(badDate.err.find("AAAA-MM-DD"), std::string::npos) << badDate.err;
#ifndef _WIN32
    struct stat info {};
    ASSERT_EQ(::stat((folder / "historico.sqlite").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
#endif
}

TEST_F(HistoricoTest, ExportWritesAPackageAStandardUnzipOpens) {
    tarvik({"--dll", FAKE_LIBRARY, "ConsultarStatusOperacional", "--codigo", "segredo123"},
           okStatus);
    tarvik({"--dll", FAKE_LIBRARY, "ConsultarSAT"}, "000001|08000|ok||");
    const fs::path zip = folder / "pacote.zip";
    const Ran ran =
        tarvik({"historico", "exportar", "--saida", zip.string(), "--operacao", "ConsultarSAT"});
    ASSERT_EQ(ran.exit, 0) << ran.err;
    EXPECT_NE(ran.out.find("1 chamada(s)"), std::string::npos) << ran.out;
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no standard unzip: the Linux pass opens the package";
#endif
    const fs::path out = folder / "aberto";
    ASSERT_EQ(unzip(zip, out), 0);
    const auto calls = lines(cli_test::readFile(out / "chamadas.jsonl"));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(nlohmann::json::parse(calls[0])["operation"], "ConsultarSAT");
    const auto summary = nlohmann::json::parse(cli_test::readFile(out / "resumo.json"));
    EXPECT_EQ(summary["module"]["serial_number"], "900004019"); // from the whole journal

    const Ran nothing =
        tarvik({"historico", "exportar", "--saida", zip.string(), "--operacao", "AtivarSAT"});
    EXPECT_EQ(nothing.exit, 2);
    EXPECT_EQ(tarvik({"historico", "exportar"}).exit, 2); // no --saida
}

// --operacao takes the operations tarvik knows, in any letter case; a name that is none is a
// mistake on the line, and a query that finds nothing says so.
TEST_F(HistoricoTest, OperationFilterKnowsTheOperationsAndAnEmptyResultIsSaid) {
    const Ran empty = tarvik({"historico"});
    EXPECT_EQ(empty.exit, 0) << empty.err;
    EXPECT_EQ(empty.out, "");
    EXPECT_NE(empty.err.find("o histórico não tem chamadas"), std::string::npos) << empty.err;

    tarvik({"--dll", FAKE_LIBRARY, "ConsultarSAT"}, "000001|08000|ok||");
    EXPECT_EQ(operations(historico({"--operacao", "consultarsat"})),
              std::vector<std::string>{"ConsultarSAT"});
    const Ran unknown = tarvik({"historico", "--operacao", "ConsultarSa"});
    EXPECT_EQ(unknown.exit, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_NE(unknown.err.find("operação desconhecida: ConsultarSa"), std::string::npos)
        << unknown.err;
    EXPECT_NE(unknown.err.find("tarvik --help"), std::string::npos) << unknown.err;

    for (const bool json : {false, true}) {
        std::vector<std::string> args{"historico", "--operacao", "AtivarSAT"};
        if (json)
            args.insert(args.begin(), "--json");
        const Ran none = tarvik(args);
        EXPECT_EQ(none.exit, 0) << none.err;
        EXPECT_EQ(none.out, json ? "[]\n" : "");
        EXPECT_NE(none.err.find("nenhuma chamada do histórico passa pelos filtros"),
                  std::string::npos)
            << none.err;
    }
}

// A reason of several lines stays under its call: every line of the listing either opens a call
// or is indented below one, the reason's further lines at the column of its first.
TEST_F(HistoricoTest, AReasonOfSeveralLinesIsIndentedUnderItsCall) {
    cli_test::writeFile(folder / "lixo.so", "not a library");
    EXPECT_EQ(tarvik({"--dll", (folder / "lixo.so").string(), "ConsultarSAT"}).exit, 3);
    tarvik({"--dll", FAKE_LIBRARY, "ConsultarSAT"}, "000001|08000|ok||");
    const Ran listed = tarvik({"historico"});
    ASSERT_EQ(listed.exit, 0) << listed.err;
    const auto all = lines(listed.out);
    const auto reason = std::find_if(all.begin(), all.end(), [](const std::string& line) {
        return line.starts_with("  motivo:   ");
    });
    ASSERT_NE(reason, all.end()) << listed.out;
    ASSERT_NE(reason + 1, all.end()) << listed.out;
    EXPECT_TRUE(reason[1].starts_with(std::string(12, ' ')) && reason[1][12] != ' ') << listed.out;
    for (const auto& line : all)
        EXPECT_TRUE(line.starts_with("#") || line.starts_with("  ")) << listed.out;
    EXPECT_EQ(std::count_if(all.begin(), all.end(),
                            [](const std::string& line) { return line.starts_with("#"); }),
              2);
    EXPECT_EQ(listed.out.find('\r'), std::string::npos);
}

// The MF-e status answer echoes the network configuration set before, passwords included: the
// run shows what the module sent, the journal and the package keep it masked.
TEST_F(HistoricoTest, APasswordTheModuleEchoesIsNeitherKeptNorExported) {
    std::string answer = "000123|10000|Resposta com Sucesso.|||";
    for (int n = 5; n <= 32; ++n)
        answer += (n == 27 ? "0" : n == 29 ? "23" : "1") + std::string("|");
    answer += R"(<?xml version=\"1.0\" encoding=\"UTF-8\"?><config><tipoInter>GPR1</tipoInter>)"
              "<senha>m0vel&amp;pw</senha><proxy>1</proxy><proxy_senha>Pr0xy9</proxy_senha>"
              "</config>|NA|NA|NA|";
    const Ran ran = tarvik(
        {"--dll", FAKE_LIBRARY, "ConsultarStatusOperacionalMFE", "--codigo", "segredo123"}, answer);
    ASSERT_EQ(ran.exit, 0) << ran.err;
    EXPECT_NE(ran.out.find("Pr0xy9"), std::string::npos) << ran.out;

    const auto kept = historico({})[0];
    const std::string keptAnswer = kept["answer"];
    EXPECT_EQ(keptAnswer.size(), answer.size());
    EXPECT_NE(keptAnswer.find("<proxy_senha>******</proxy_senha>"), std::string::npos);
    EXPECT_NE(kept["report"].get<std::string>().find("<senha>************</senha>"),
              std::string::npos)
        << kept["report"];
    EXPECT_TRUE(historico({"--texto", "Pr0xy9"}).empty());

    const fs::path zip = folder / "pacote.zip";
    ASSERT_EQ(tarvik({"historico", "exportar", "--saida", zip.string()}).exit, 0);
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no standard unzip: the Linux pass opens the package";
#endif
    const fs::path out = folder / "aberto";
    ASSERT_EQ(unzip(zip, out), 0);
    const std::string exported = cli_test::readFile(out / "chamadas.jsonl");
    const auto call = nlohmann::json::parse(exported);
    EXPECT_EQ(call["answer"], keptAnswer);
    for (const char* secret : {"segredo123", "m0vel", "Pr0xy9"})
        EXPECT_EQ(exported.find(secret), std::string::npos) << secret;
}

TEST_F(HistoricoTest, AJournalThatCannotBeWrittenCostsOneWarningNotTheCall) {
    fs::create_directories(folder / "historico.sqlite");
    const Ran ran = tarvik({"--dll", FAKE_LIBRARY, "ConsultarSAT"}, "000001|08000|ok||");
    EXPECT_EQ(ran.exit, 0);
    EXPECT_EQ(lines(ran.out).back(), "000001|08000|ok||");
    const auto warnings = lines(ran.err);
    ASSERT_EQ(warnings.size(), 1u) << ran.err;
    EXPECT_NE(warnings[0].find("histórico"), std::string::npos) << warnings[0];
}

// A library that crashes in its host is kept as such, with the message the answer box showed.
TEST_F(HistoricoTest, HostedLibraryThatCrashedIsKeptAsEnded) {
    const Ran crashed = cli_test::runProgram(program, {"--dll", FAKE_LIBRARY, "ConsultarSAT"},
                                             folder.path(), {{"FAKE_MFE_MISBEHAVE", "crash"}});
    EXPECT_EQ(crashed.exit, 3) << crashed.err;
    const auto all = historico({});
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0]["outcome"], "biblioteca encerrada");
    EXPECT_EQ(
        all[0]["answer"].get<std::string>().rfind("a biblioteca encerrou durante a chamada", 0), 0u)
        << all[0]["answer"];
}

} // namespace
