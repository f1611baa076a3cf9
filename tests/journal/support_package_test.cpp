// The support package opened with a standard unzip: every call as a JSON line, the files that
// still hold what the call wrote, and a summary naming the program, the system, the access and
// the module as last seen; a changed or missing file is left out and named.

#include "journal/sha256.h"
#include "journal/support_package.h"
#include "tests/journal/journal_fixture.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

using namespace journal_test;

std::string readWhole(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::string status = "5|10000|Resposta com Sucesso.|||900004019|DHCP|1|2|3|4|5|6|"
                           "CONECTADO|ALTO|4 GB|1 MB|20240315143005|01.00.00|00.07|CFe|||1|2|3|4|0";

TEST_F(JournalTest, APackageHoldsTheCallsTheirFilesAndASummary) {
    const fs::path kept = folder / "Retornos" / "Resp_venda.xml";
    const fs::path changed = folder / "Retornos" / "Resp_mudou.xml";
    const fs::path log = folder / "Retornos" / "log.txt";
    fs::create_directories(kept.parent_path());
    std::ofstream(kept, std::ios::binary) << "<CFe>vendido</CFe>";
    std::ofstream(log, std::ios::binary) << "rede: <config><senha>s3gr3d0</senha></config>";
    std::ofstream(changed, std::ios::binary) << "antes";

    journal::Journal journal(file);
    // A status answer kept in clear by an earlier version, its Wi-Fi key echoed.
    journal.record(
        call("ConsultarStatusOperacional", status + "|<config><codigo>w1f1</codigo>", 10));
    journal::CallEntry sale = call("EnviarDadosVenda", std::string("6|06000|ok\xe7||", 13), 5);
    sale.files = {{kept.string(), journal::fileSha256(kept)},
                  {changed.string(), journal::fileSha256(changed)},
                  {(folder / "sumiu.xml").string(), std::string(64, '0')},
                  {log.string(), journal::fileSha256(log)}};
    journal.record(sale);
    std::ofstream(changed, std::ios::binary) << "depois";

    const auto calls = journal.find({});
    const fs::path zip = folder / "pacote.zip";
    const auto contents = journal::writeSupportPackage(journal, calls, zip);
    EXPECT_EQ(contents.calls, 2u);
    EXPECT_EQ(contents.files, 2u);
    EXPECT_EQ(contents.leftOut.size(), 2u);

#ifdef _WIN32
    GTEST_SKIP() << "Windows has no standard unzip: the Linux pass opens the package";
#endif
    const fs::path out = folder / "aberto";
    const std::string command = "unzip -q -d '" + out.string() + "' '" + zip.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    std::istringstream lines(readWhole(out / "chamadas.jsonl"));
    std::vector<nlohmann::json> parsed;
    for (std::string line; std::getline(lines, line);)
        parsed.push_back(nlohmann::json::parse(line));
    ASSERT_EQ(parsed.size(), 2u);
    EXPECT_EQ(parsed[0]["operation"], "EnviarDadosVenda");
    EXPECT_EQ(parsed[0]["code"], "06000");
    EXPECT_EQ(parsed[0]["answer_base64"], "NnwwNjAwMHxva+d8fA=="); // the raw bytes, Latin-1 too
    EXPECT_EQ(parsed[1]["operation"], "ConsultarStatusOperacional");
    EXPECT_EQ(parsed[1]["answer"], status + "|<config><codigo>****</codigo>");
    const auto& files = parsed[0]["files"];
    ASSERT_EQ(files.size(), 4u);
    const std::string inPackage = files[0]["in_package"];
    EXPECT_EQ(readWhole(out / inPackage), "<CFe>vendido</CFe>");
    EXPECT_FALSE(files[0].contains("passwords_masked"));
    // A copy goes without the passwords it holds, and says it differs from the file's digest.
    const std::string logInPackage = files[3]["in_package"];
    EXPECT_EQ(readWhole(out / logInPackage), "rede: <config><senha>*******</senha></config>");
    EXPECT_EQ(files[3]["passwords_masked"], true);
    EXPECT_TRUE(files[1]["in_package"].is_null()); // changed since the call
    EXPECT_TRUE(files[2]["in_package"].is_null()); // gone

    const auto summary = nlohmann::json::parse(readWhole(out / "resumo.json"));
    EXPECT_EQ(summary["program_version"], TARVIK_VERSION);
    EXPECT_FALSE(summary["operating_system"].get<std::string>().empty());
    EXPECT_EQ(summary["access"], nlohmann::json::array({"DLL /lib/libmfe.so"}));
    EXPECT_EQ(summary["module"]["serial_number"], "900004019");
    EXPECT_EQ(summary["module"]["operation_state"], "DESBLOQUEADO"); // as the status report says
    EXPECT_EQ(summary["files_left_out"].size(), 2u);
}

#ifndef _WIN32
// What `command` prints.
std::string output(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

TEST_F(JournalTest, APackageAndItsEntriesAreTheOwnersAlone) {
    const fs::path written = folder / "Resp_venda.xml";
    std::ofstream(written, std::ios::binary) << "<CFe/>";
    journal::Journal journal(file);
    journal::CallEntry sale = call("EnviarDadosVenda", "6|06000|ok||");
    sale.files = {{written.string(), journal::fileSha256(written)}};
    journal.record(sale);

    // A package replacing one anyone could read, written under a permissive umask.
    const fs::path zip = folder / "pacote.zip";
    std::ofstream(zip) << "antigo";
    fs::permissions(zip, fs::perms(0666));
    const mode_t before = ::umask(0);
    journal::writeSupportPackage(journal, journal.find({}), zip);
    ::umask(before);

    struct stat info {};
    ASSERT_EQ(::stat(zip.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    // `unzip -Z` lists each entry's stored permissions first: every one, -rw-------.
    std::istringstream listing(output("unzip -Z '" + zip.string() + "'"));
    int entries = 0;
    for (std::string line; std::getline(listing, line);) {
        if (line.empty() || (line[0] != '-' && line[0] != 'd'))
            continue;
        EXPECT_EQ(line.substr(0, 10), "-rw-------") << line;
        EXPECT_NE(line.find(" unx "), std::string::npos) << line;
        ++entries;
    }
    EXPECT_EQ(entries, 3); // the file, chamadas.jsonl, resumo.json
}
#endif

TEST_F(JournalTest, APackageThatCannotBeWrittenSaysSo) {
    journal::Journal journal(file);
    journal.record(call("ConsultarSAT", "1|08000|ok||"));
    EXPECT_THROW(
        journal::writeSupportPackage(journal, journal.find({}), folder / "nao" / "existe.zip"),
        std::runtime_error);
}

} // namespace
