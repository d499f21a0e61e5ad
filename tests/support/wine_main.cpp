// Entry of the programs that test under Wine:
//   <program> <path of Vormet.exe> [gtest flags]
#include <gtest/gtest.h>

#include "tests/support/wine_machine.h"

namespace {
std::wstring exe;
}  // namespace

const std::wstring& VormetExe() {
    return exe;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2 || argv[1][0] != '/') {
        std::fprintf(stderr, "usage: %s <Unix path of Vormet.exe> [gtest flags]\n", argv[0]);
        return 2;
    }
    exe = L"Z:";  // where Wine shows the Unix root
    for (const char* c = argv[1]; *c != '\0'; ++c) {
        exe += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    }
    return RUN_ALL_TESTS();
}
