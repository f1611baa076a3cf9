#include "access/driver_library.h"
#include "access/integrador_answer.h"
#include "access/integrador_backend.h"
#include "access/integrador_request.h"
#include "core/path_text.h"
#include "integrador_standin/answer.h"
#include "integrador_standin/extra_functions.h"
#include "integrador_standin/request.h"
#include "integrador_standin/service.h"
#include "tests/access/integrador_test_folders.h"
#include "tests/cli/run_program.h"
#include "tests/portable.h"
#include "tests/support/wait_until.h"
#include "xml/xml_security.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using core::Argument;

// What the program writes comes back, value for value, as the stand-in reads it.
TEST(StandinRequest, EveryRequestTheProgramWritesReadsBackToItsArguments) {
    const std::string hostile = "a&b<c>\"d' ]]> ção ]]]>";
    for (const auto& operation : core::catalogue()) {
        core::Arguments sent;
        for (std::size_t i = 0; i < operation.params.size(); ++i) {
            const bool document =
                std::any_of(operation.integradorParams.begin(), operation.integradorParams.end(),
                            [&](const auto& p) { return p.argument == int(i) && p.cdata; });
            if (operation.params[i].type == core::ParamType::Int)
                sent.push_back(Argument::integer(-int(i) - 1, ""));
            else
                sent.push_back(document ? Argument::document(hostile + "<doc/>", "")
                                        : Argument::typed(hostile, ""));
        }
        std::string error;
        const auto request =
            standin::parseRequest(backend::requestDocument(operation, "00000042", sent), error);
        ASSERT_TRUE(request) << operation.name << ": " << error;
        EXPECT_EQ(request->identificador, "00000042");
        EXPECT_EQ(request->method, operation.integradorMethod);
        const auto received = standin::argumentsFor(operation, *request, error);
        ASSERT_TRUE(received) << operation.name << ": " << error;
        ASSERT_EQ(received->size(), sent.size());
        for (std::size_t i = 0; i < sent.size(); ++i) {
            EXPECT_EQ((*received)[i].kind, sent[i].kind) << operation.name << " " << i;
            EXPECT_EQ((*received)[i].number, sent[i].number) << operation.name << " " << i;
            EXPECT_EQ((*received)[i].text, sent[i].text) << operation.name << " " << i;
        }
    }
}

TEST(StandinRequest, MissingOrNonNumericParametersAreNamed) {
    const auto& op = *core::operationByName("ConsultarNumeroSessao");
    struct Case {
        standin::Request request;
        std::string error;
    };
    const Case cases[] = {
        {{"1", "ConsultarNumeroSessao", {{"numeroSessao", "1"}, {"codigoDeAtivacao", "x"}}},
         "Parâmetro cNumeroDeSessao ausente"},
        {{"1",
          "ConsultarNumeroSessao",
          {{"numeroSessao", "1"}, {"codigoDeAtivacao", "x"}, {"cNumeroDeSessao", "doze"}}},
         "Parâmetro cNumeroDeSessao não é um inteiro: doze"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(standin::argumentsFor(op, c.request, error));
        EXPECT_EQ(error, c.error);
    }
}

TEST(StandinAnswer, IsShapedAsARealAnswerAndReadsBackUnchanged) {
    const std::string retorno = "000001|08000|SAT em operação & <ok>||\r\nlinha 2";
    const std::string file = standin::answerDocument("00000042", retorno);
    EXPECT_TRUE(file.starts_with("\xEF\xBB\xBF<?xml"));
    EXPECT_TRUE(file.ends_with("</Integrador>\r\n"));
    EXPECT_EQ(file.find("\n"), file.find("\r\n") + 1); // CR LF line ends
    std::string error;
    auto answer = backend::parseAnswerFile(file, error);
    ASSERT_TRUE(answer) << error;
    EXPECT_EQ(answer->identificador, "00000042");
    EXPECT_EQ(answer->retorno, retorno);
    EXPECT_EQ(answer->erro, "");

    // Bytes a parser would refuse become U+FFFD instead of spoiling the whole file.
    answer = backend::parseAnswerFile(standin::errorDocument("", "a\x01z\xE3"), error);
    ASSERT_TRUE(answer) << error;
    EXPECT_EQ(answer->erro, "a\uFFFDz\uFFFD");
    EXPECT_EQ(answer->identificador, "");
}

// A request of an Integrador method with its parameters, as clients write one.
std::string requestOf(const std::string& method,
                      const std::vector<std::pair<std::string, std::string>>& parameters) {
    std::string xml = "<Integrador><Identificador><Valor>7</Valor></Identificador>"
                      "<Componente Nome=\"MF-e\"><Metodo Nome=\"" +
                      method + "\"><Parametros>";
    for (const auto& [name, value] : parameters)
        xml += "<Parametro><Nome>" + name + "</Nome><Valor>" + value + "</Valor></Parametro>";
    return xml + "</Parametros></Metodo></Componente></Integrador>";
}

// The two methods beyond the program's sixteen reach the module library under their own names;
// a library without them, or a request without a parameter, gets an error answer.
TEST(StandinExtraMethods, ReachTheModuleLibraryUnderTheirOwnNames) {
    const fs::path folder =
        fs::temp_directory_path() / ("standin-extras-" + std::to_string(portable::processId()));
    fs::remove_all(folder);
    portable::setVariable("MFE_EMULADOR_ESTADO", (folder / "estado.json").string());
    const auto serviceFor = [](const char* path) {
        std::string error;
        auto library = backend::DriverLibrary::load(path, error);
        EXPECT_TRUE(library) << error;
        return std::make_unique<standin::Service>(standin::Settings{}, std::move(library), error,
                                                  standin::ExtraFunctions::load(path, error));
    };
    const auto emulator = serviceFor(MFE_LIBRARY);
    const auto fake = serviceFor(FAKE_LIBRARY);
    const struct {
        standin::Service& service;
        std::string request;
        const char* retorno;
        const char* erro;
    } cases[] = {
        {*emulator,
         requestOf("ConsultarUltimaSessaoFiscal",
                   {{"numeroSessao", "12"}, {"codigoDeAtivacao", "codigo-123"}}),
         "000012|19002|SAT ainda não ativado||", ""},
        {*emulator,
         requestOf(
             "ComunicarCertificadoICPBRASIL",
             {{"numeroSessao", "13"}, {"codigoDeAtivacao", "codigo-123"}, {"certificado", "MIIB"}}),
         "000013|05099|Erro desconhecido||Não existe ativação nem renovação aguardando certificado",
         ""},
        {*emulator,
         requestOf("ComunicarCertificadoICPBRASIL",
                   {{"numeroSessao", "14"}, {"codigoDeAtivacao", "codigo-123"}}),
         "", "Parâmetro certificado ausente"},
        {*emulator,
         requestOf("ConsultarUltimaSessaoFiscal",
                   {{"numeroSessao", "x"}, {"codigoDeAtivacao", "codigo-123"}}),
         "", "Parâmetro numeroSessao não é um inteiro: x"},
        {*fake,
         requestOf("ConsultarUltimaSessaoFiscal",
                   {{"numeroSessao", "15"}, {"codigoDeAtivacao", "codigo-123"}}),
         "", "Função ConsultarUltimaSessaoFiscal não encontrada na biblioteca."},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto answer = backend::parseAnswerFile(c.service.answerFor(c.request), error);
        ASSERT_TRUE(answer) << error;
        EXPECT_EQ(answer->identificador, "7");
        EXPECT_EQ(answer->retorno, c.retorno) << c.request;
        EXPECT_EQ(answer->erro, c.erro) << c.request;
    }
    portable::unsetVariable("MFE_EMULADOR_ESTADO");
    fs::remove_all(folder);
}

using StandinService = IntegradorFolderTest;

// A request too big to read is answered with an error once it has stopped changing, instead of
// lying unanswered in Input and being read again on every pass.
TEST_F(StandinService, ARequestThatCannotBeReadIsAnsweredWithAnError) {
    fs::create_directories(folders.input);
    fs::create_directories(folders.output);
    const auto request = folders.input / "ConsultarMFe00000001.xml";
    std::ofstream(request, std::ios::binary) << std::string(xml::kMaxXmlBytes + 1, ' ');
    fs::last_write_time(request, fs::file_time_type::clock::now() - 1h);
    standin::Service service({folders, {}, {}}, nullptr, "sem biblioteca");
    EXPECT_EQ(service.answerPending(), 1);
    EXPECT_FALSE(fs::exists(request));
    std::ifstream in(folders.output / request.filename(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    std::string error;
    const auto answer = backend::parseAnswerFile(bytes, error);
    ASSERT_TRUE(answer) << error;
    EXPECT_TRUE(answer->erro.starts_with("Requisição inválida: O arquivo excede o limite"))
        << answer->erro;
}

// The stand-in executable on a temporary folder with the fake module library.
class Standin : public IntegradorFolderTest {
protected:
    void TearDown() override {
        standin.reset();
        IntegradorFolderTest::TearDown();
    }

    void start(std::vector<std::string> extra) {
        std::vector<std::string> args = {"--dir",      root.string(), "--library",
                                         FAKE_LIBRARY, "--timeout",   "20"};
        args.insert(args.end(), extra.begin(), extra.end());
        fs::create_directories(root); // the stand-in's output files go there
        standin = std::make_unique<cli_test::Background>(STANDIN, args, root);
        EXPECT_TRUE(test_support::waitUntil([&] { return fs::exists(folders.output); }));
    }

    std::string call(const char* operation) {
        backend::IntegradorBackend integrador(folders, state, 20s); // the stand-in's own life
        const auto* op = core::operationByName(operation);
        core::Arguments arguments;
        for (const auto& p : op->params)
            arguments.push_back(p.type == core::ParamType::Int ? Argument::integer(7, "000007")
                                                               : Argument::typed("x", "x"));
        return integrador.call(*op, arguments);
    }

    std::unique_ptr<cli_test::Background> standin;
};

TEST_F(Standin, AnswersThroughTheModuleLibraryAndCleansUp) {
    start({"--once"});
    EXPECT_EQ(call("ConsultarSAT"), "000000|08000|SAT em operação||");
    EXPECT_NE(state.answerDocument.find("<Codigo>AP</Codigo>"), std::string::npos);
    EXPECT_EQ(standin->finish().exit, 0); // --once: done after one answer
    standin.reset();
    EXPECT_TRUE(fs::is_empty(folders.input));
    EXPECT_TRUE(fs::is_empty(folders.output));
}

TEST_F(Standin, ErrorAnswersForUnknownMethodsMalformedRequestsAndOnRequest) {
    start({});
    const auto erroOf = [&](const std::string& name, const std::string& request) {
        std::ofstream(root / name, std::ios::binary) << request;
        fs::rename(root / name, folders.input / name);
        EXPECT_TRUE(test_support::waitUntil([&] { return fs::exists(folders.output / name); }));
        std::ifstream in(folders.output / name, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        std::string error;
        const auto answer = backend::parseAnswerFile(bytes, error);
        return answer ? answer->erro : error;
    };
    EXPECT_EQ(erroOf("a.xml", "<Integrador><Identificador><Valor>1</Valor></Identificador>"
                              "<Componente Nome=\"MF-e\"><Metodo Nome=\"Inexistente\"/>"
                              "</Componente></Integrador>"),
              "Método desconhecido: Inexistente");
    const std::string malformed = erroOf("b.xml", "<Integrador><Identificador>");
    EXPECT_TRUE(malformed.starts_with("Requisição inválida")) << malformed;
    EXPECT_FALSE(fs::exists(folders.input / "a.xml"));
}

TEST_F(Standin, ForcedErrorAndDelayOptions) {
    start({"--once", "--error", "Integrador indisponível", "--delay", "300"});
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(call("ConsultarStatusOperacional"), "Integrador indisponível");
    EXPECT_GE(std::chrono::steady_clock::now() - begin, 300ms);
}

// A root, the module emulator and its state in a folder whose name the ANSI code page cannot
// hold: the stand-in watches and loads them there, and names them in UTF-8.
TEST_F(Standin, FoldersAndALibraryOfAnyNameAreUsedAndNamedInUtf8) {
    const auto utf8 = [](const fs::path& path) { return core::utf8FromPath(path); };
    const fs::path base = root / core::pathFromUtf8("Área de Trabalho ç Ω");
    const fs::path library = base / fs::path(MFE_LIBRARY).filename();
    const fs::path missing = base / core::pathFromUtf8("ausente Ω.dll");
    fs::create_directories(base);
    fs::copy_file(MFE_LIBRARY, library);
    folders = backend::integradorFoldersUnder(base / "Integrador");
    const std::pair<fs::path, std::string> cases[] = {
        {library, "000007|08000|"},
        {missing, "Biblioteca " + utf8(missing) + " não carregada: "},
    };
    for (const auto& [used, answer] : cases) {
        standin = std::make_unique<cli_test::Background>(
            STANDIN,
            std::vector<std::string>{"--dir", utf8(base / "Integrador"), "--library", utf8(used),
                                     "--once", "--timeout", "20"},
            base,
            std::map<std::string, std::string>{
                {"MFE_EMULADOR_ESTADO", utf8(base / "estado.json")}});
        EXPECT_TRUE(test_support::waitUntil([&] { return fs::exists(folders.output); }));
        const std::string answered = call("ConsultarSAT");
        EXPECT_TRUE(answered.starts_with(answer)) << answered;
        const cli_test::Ran ran = standin->finish();
        standin.reset();
        EXPECT_EQ(ran.out,
                  "integrador_standin: answering requests in " + utf8(folders.input) + "\n");
    }
    EXPECT_TRUE(fs::exists(base / "estado.json"));
}

} // namespace
