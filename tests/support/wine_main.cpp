// Entry of the programs that test under Wine:
//   <program> <Vormet.exe> <vormet-cli.exe> [gtest flags], Unix paths
#include <gtest/gtest.h>

#include "tests/support/wine_machine.h"

namespace {
std::wstring exes[2];  // Windows paths
}  // namespace

const std::wstring& VormetExe() {
    return exes[0];
}

const std::wstring& CliExe() {
    return exes[1];
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 3 || argv[1][0] != '/' || argv[2][0] != '/') {
        std::fprintf(stderr, "usage: %s <Vormet.exe> <vormet-cli.exe> [gtest flags]\n", argv[0]);
        return 2;
    }
    for (int i = 0; i < 2; ++i) {
        exes[i] = L"Z:";  // where Wine shows the Unix root
        for (const char* c = argv[i + 1]; *c != '\0'; ++c) {
            exes[i] += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
        }
    }
    return RUN_ALL_TESTS();
}
