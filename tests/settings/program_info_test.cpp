#include "settings/program_info.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgramInfo, TitleShowsTheWidthOfTheBuild) {
    EXPECT_EQ(settings::baseTitle("2.0.0.0", 64), "Tarvik VEXOR (64 bits) - Versão 2.0.0.0");
    EXPECT_EQ(settings::baseTitle("2.0.0.0", 32), "Tarvik VEXOR (32 bits) - Versão 2.0.0.0");
    EXPECT_EQ(settings::baseTitle("1.0"), settings::baseTitle("1.0", sizeof(void*) == 8 ? 64 : 32));
}

TEST(ProgramInfo, IniPathReplacesOrAppendsTheExtension) {
    EXPECT_EQ(settings::iniPathFor("/opt/tarvik/tarvikplus"), "/opt/tarvik/tarvikplus.ini");
    EXPECT_EQ(settings::iniPathFor("/opt/tarvik/tarvikplus.exe"), "/opt/tarvik/tarvikplus.ini");
}

} // namespace
