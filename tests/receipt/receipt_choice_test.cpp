// What the user chooses around a receipt: a file to print it from (a CF-e, a CFeCanc, or neither,
// said plainly) and the preview's paper width and "Resumido" kept in the INI file.

#include "receipt/chosen_document.h"
#include "receipt/receipt_preferences.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace {

namespace fs = std::filesystem;
using namespace receipt;

const std::string saleKey = "35261211111111111111591234567890001234567890";
const std::string sale = "<CFe><infCFe Id=\"CFe" + saleKey + "\"><ide/></infCFe></CFe>";
const std::string cancellation =
    "<CFeCanc><infCFe Id=\"CFe35261211111111111111591234567890001234567891\" chCanc=\"CFe" +
    saleKey + "\"><ide/></infCFe></CFeCanc>";

class ReceiptChoiceTest : public ::testing::Test {
protected:
    fs::path folder = fs::temp_directory_path() /
                      ("tarvik-receipt-choice-" + std::to_string(std::random_device()()));
    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override { fs::remove_all(folder); }
    fs::path write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return folder / name;
    }
};

TEST_F(ReceiptChoiceTest, AChosenFileIsASaleACancellationOrNeitherSaidPlainly) {
    struct Case {
        const char* name;
        std::string bytes;
        bool document;
        bool cancellation;
        std::string error; // after "<file>: "
    };
    const Case cases[] = {
        {"venda.xml", sale, true, false, ""},
        {"canc.xml", cancellation, true, true, ""},
        {"texto.xml", "não é XML", false, false, "o arquivo não é um XML legível"},
        {"outro.xml", "<envCFe/>", false, false,
         "o arquivo não é um CF-e de venda (elemento raiz envCFe)"},
        {"semchave.xml", "<CFeCanc><infCFe Id=\"CFe" + saleKey + "\"><ide/></infCFe></CFeCanc>",
         false, false, "o CF-e de cancelamento não traz a chave do CF-e cancelado (chCanc)"},
    };
    for (const Case& c : cases) {
        const fs::path file = write(c.name, c.bytes);
        const ChosenDocument chosen = chosenDocument(file);
        EXPECT_EQ(chosen.document.has_value(), c.document) << c.name;
        EXPECT_EQ(chosen.cancellation, c.cancellation) << c.name;
        if (c.document) {
            EXPECT_EQ(chosen.document->bytes, c.bytes);
            EXPECT_EQ(chosen.document->origin, file.string());
        } else {
            EXPECT_EQ(chosen.error.rfind(file.string() + ": " + c.error, 0), 0u) << chosen.error;
        }
    }
    const ChosenDocument missing = chosenDocument(folder / "sumiu.xml");
    EXPECT_FALSE(missing.document);
    EXPECT_EQ(missing.error.rfind((folder / "sumiu.xml").string() + ": ", 0), 0u);
}

TEST_F(ReceiptChoiceTest, ACancellationsSaleIsLookedForAmongTheXmlFilesBesideIt) {
    const fs::path canc = write("Resp_Canc.xml", cancellation);
    write("Resp_venda.XML", sale);
    write("notas.txt", sale);
    fs::create_directories(folder / "sub.xml");
    EXPECT_EQ(xmlFilesBeside(canc), std::vector<fs::path>{folder / "Resp_venda.XML"});
}

TEST_F(ReceiptChoiceTest, PreviewChoicesAreKeptInTheirOwnSection) {
    const std::string ini = (folder / "tarvik.ini").string();
    EXPECT_EQ(readReceiptPreferences(ini), ReceiptPreferences{});

    std::ofstream(ini, std::ios::binary) << "[DEFAULT]\r\nACESSO=DLL\r\n";
    const ReceiptPreferences narrow{Paper::mm58, true};
    ASSERT_TRUE(writeReceiptPreferences(ini, narrow));
    EXPECT_EQ(readReceiptPreferences(ini), narrow);
    ASSERT_TRUE(writeReceiptPreferences(ini, ReceiptPreferences{}));
    EXPECT_EQ(readReceiptPreferences(ini), ReceiptPreferences{});

    std::ifstream in(ini, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(text, "[DEFAULT]\r\nACESSO=DLL\r\n\r\n[EXTRATO]\r\nLARGURA=80\r\nRESUMIDO=0\r\n");

    // Values the program did not write leave the defaults.
    std::ofstream(ini, std::ios::binary) << "[extrato]\r\nlargura=57\r\nresumido=sim\r\n";
    EXPECT_EQ(readReceiptPreferences(ini), ReceiptPreferences{});
    EXPECT_FALSE(writeReceiptPreferences((folder / "sem-pasta" / "x.ini").string(), narrow));
}

} // namespace
