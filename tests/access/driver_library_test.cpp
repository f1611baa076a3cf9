#include "access/driver_library.h"

#include "access/dynamic_library.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <system_error>

namespace {

using core::Argument;

struct FakeControls {
    void (*setAnswer)(const char*);
    const char* (*lastCall)();
};

class DriverLibraryTest : public testing::Test {
protected:
    void SetUp() override {
        std::string error;
        library = backend::DriverLibrary::load(FAKE_LIBRARY_LINK, error);
        ASSERT_TRUE(library) << error;
        // The same file opened again shares the fake's state, giving the test its controls.
        controlLibrary = backend::DynamicLibrary::open(FAKE_LIBRARY_LINK, error);
        ASSERT_TRUE(controlLibrary) << error;
        fake.setAnswer =
            reinterpret_cast<void (*)(const char*)>(controlLibrary->symbol("fake_set_answer"));
        fake.lastCall =
            reinterpret_cast<const char* (*)()>(controlLibrary->symbol("fake_last_call"));
    }

    std::string lastCall() const {
        std::string call = fake.lastCall();
        std::replace(call.begin(), call.end(), '\x1f', '|');
        return call;
    }

    std::unique_ptr<backend::DriverLibrary> library;
    std::unique_ptr<backend::DynamicLibrary> controlLibrary;
    FakeControls fake{};
};

TEST_F(DriverLibraryTest, ArgumentsReachTheLibraryAsTheCatalogueTypesThem) {
    struct Case {
        const char* operation;
        core::Arguments arguments;
        std::string received;
    };
    const Case cases[] = {
        {"ConsultarSAT", {Argument::integer(815, "000815")}, "ConsultarSAT|815"},
        {"AtivarSAT",
         {Argument::integer(1, ""), Argument::integer(1, ""), Argument::typed("código1", ""),
          Argument::typed("11222333000181", ""), Argument::integer(35, "")},
         "AtivarSAT|1|1|c\xF3"
         "digo1|11222333000181|35"},
        {"TrocarCodigoDeAtivacao",
         {Argument::integer(2, ""), Argument::typed("a", ""), Argument::integer(2, ""),
          Argument::typed("b", ""), Argument::typed("c", "")},
         "TrocarCodigoDeAtivacao|2|a|2|b|c"},
        // Documents travel as read, with no code-page conversion.
        {"EnviarDadosVenda",
         {Argument::integer(3, ""), Argument::typed("x", ""),
          Argument::document("<CFe>ção</CFe>", "")},
         "EnviarDadosVenda|3|x|<CFe>ção</CFe>"},
        {"ConsultarNumeroSessao",
         {Argument::integer(4, ""), Argument::typed("x", ""), Argument::integer(-7, "")},
         "ConsultarNumeroSessao|4|x|-7"},
    };
    for (const auto& c : cases) {
        const auto* op = core::operationByName(c.operation);
        ASSERT_TRUE(op);
        library->call(*op, c.arguments);
        EXPECT_EQ(lastCall(), c.received);
    }
}

TEST_F(DriverLibraryTest, AnswerIsCopiedBeforeTheLibraryReusesItsBuffer) {
    const auto& op = *core::operationByName("ConsultarSAT");
    fake.setAnswer("first");
    const std::string a = library->call(op, {Argument::integer(1, "")});
    fake.setAnswer("second");
    const std::string b = library->call(op, {Argument::integer(2, "")});
    EXPECT_EQ(a, "first");
    EXPECT_EQ(b, "second");
}

TEST(DriverLibrary, MissingEntryPointIsNeverCalled) {
    std::string error;
    auto library = backend::DriverLibrary::load(FAKE_PARTIAL_LIBRARY, error);
    ASSERT_TRUE(library) << error;
    EXPECT_FALSE(library->has(*core::operationByName("ConsultarSAT")));
    EXPECT_TRUE(library->has(*core::operationByName("BloquearSAT")));
    EXPECT_EQ(library->call(*core::operationByName("ConsultarSAT"), {Argument::integer(1, "")}),
              "Função ConsultarSAT não encontrada na biblioteca.");
    EXPECT_EQ(library->call(*core::operationByName("BloquearSAT"),
                            {Argument::integer(1, ""), Argument::typed("x", "")}),
              "000000|08000|SAT em operação||");
}

TEST(DriverLibrary, FileThatIsNotALibraryFailsToLoad) {
    const auto path = std::filesystem::temp_directory_path() / "not_a_library.so";
    std::ofstream(path) << "plain text";
    std::string error;
    EXPECT_FALSE(backend::DriverLibrary::load(path.string(), error));
    EXPECT_FALSE(error.empty());
    std::filesystem::remove(path);
}

#ifdef _WIN32
// The version resource's FileVersion; a DLL without one is the system's error, with its code.
TEST(DriverLibrary, VersionComesFromTheVersionResource) {
    EXPECT_EQ(backend::libraryFileVersion(FAKE_LIBRARY_LINK), "3.2.1");
    try {
        backend::libraryFileVersion(FAKE_PARTIAL_LIBRARY);
        ADD_FAILURE() << "a DLL without a version resource has no version";
    } catch (const std::system_error& e) {
        EXPECT_THAT(e.what(), ::testing::StartsWith("System Error.  Code: 18")) << e.what();
    }
}
#else
TEST(DriverLibrary, VersionComesFromTheRealFileNameBehindTheLink) {
    EXPECT_EQ(backend::libraryFileVersion(FAKE_LIBRARY_LINK), "3.2.1");
    EXPECT_EQ(backend::libraryFileVersion(FAKE_PARTIAL_LIBRARY), "");
}
#endif

} // namespace
