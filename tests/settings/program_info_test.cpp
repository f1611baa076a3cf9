#include "settings/program_info.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgramInfo, TitleShowsTheRealWidthOfTheBuild) {
    const std::string width = sizeof(void*) == 8 ? "(64 bits)" : "(32 bits)";
    EXPECT_EQ(settings::baseTitle("2.0.0.0"), "Tarvik VEXOR " + width + " - Versão 2.0.0.0");
}

TEST(ProgramInfo, IniPathReplacesOrAppendsTheExtension) {
    EXPECT_EQ(settings::iniPathFor("/opt/tarvik/tarvikplus"), "/opt/tarvik/tarvikplus.ini");
    EXPECT_EQ(settings::iniPathFor("/opt/tarvik/tarvikplus.exe"), "/opt/tarvik/tarvikplus.ini");
}

} // namespace
