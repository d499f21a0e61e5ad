// The help file's path in the code page the viewer opens it by, under Wine's
// code page 932.
#include <gtest/gtest.h>

#include "app/window/win32_application.h"

namespace {

TEST(HelpFile, IsBesideTheExecutableUnlessTheCodePageCannotSpellItsPath) {
    EXPECT_EQ(HelpFileOf(L"C:\\Tools\\Vormet.exe"), "C:\\Tools\\Vormet.HLP");
    EXPECT_EQ(HelpFileOf(L"C:\\ツール\\.exe"), "C:\\\x83\x63\x81\x5B\x83\x8B\\.exe.HLP");
    // As "cafe" it would name another folder.
    EXPECT_EQ(HelpFileOf(L"C:\\café\\Vormet.exe"), std::nullopt);
    EXPECT_EQ(HelpFileOf(L"C:\\" + std::wstring(250, L'd') + L"\\Vormet.exe"), std::nullopt);
}

}  // namespace
