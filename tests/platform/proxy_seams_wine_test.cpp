// What the proxy settings need of the platform, under Wine: long exclusion
// lists read whole through the ANSI registry calls, and the file seam.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "proxy/file_seam.h"
#include "store/registry_access.h"

namespace {

constexpr const char kScratch[] = "Software\\QeltrinTests\\Proxy";

class WholeReadWineTest : public ::testing::Test {
  protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kScratch); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kScratch); }

    ReadOutcome Read(const char* name, std::uint32_t cap) {
        return TheRegistry().ReadWholeString(root, kScratch, name, &text, cap);
    }
    RegKey root = reinterpret_cast<RegKey>(HKEY_CURRENT_USER);
    std::string text;
};

TEST_F(WholeReadWineTest, LongListsComeBackWholeAndByteForByte) {
    std::string ascii;
    while (ascii.size() < 5000) {
        ascii += "*.host" + std::to_string(ascii.size()) + ".example;";
    }
    std::string japanese;  // code page 932: each character is two bytes
    for (int i = 0; i < 1500; ++i) {
        japanese += "\x82\xA0\x83\x76;";
    }
    for (const std::string& list : {ascii, japanese}) {
        ASSERT_EQ(TheRegistry().WriteString(root, kScratch, "ProxyOverride", list.c_str()), 1);
        ASSERT_EQ(Read("ProxyOverride", 64 * 1024), ReadOutcome::kRead);
        EXPECT_EQ(text, list);
    }
}

TEST_F(WholeReadWineTest, OverTheCapIsUnreadableAndMissingIsMissing) {
    EXPECT_EQ(Read("ProxyOverride", 1000), ReadOutcome::kMissing);
    const std::string list(1000, 'x');
    ASSERT_EQ(TheRegistry().WriteString(root, kScratch, "ProxyOverride", list.c_str()), 1);
    EXPECT_EQ(Read("ProxyOverride", 1000), ReadOutcome::kUnreadable);
    EXPECT_EQ(Read("ProxyOverride", 1001), ReadOutcome::kRead);
    EXPECT_EQ(Read("Other", 1000), ReadOutcome::kMissing);
}

TEST(FilesWineTest, ReadsTheCurrentDirectoryAndBoundedBytes) {
    char expected[MAX_PATH] = {};
    ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, expected), 0u);
    char directory[MAX_PATH] = {};
    EXPECT_EQ(TheFiles().CurrentDirectory(directory, MAX_PATH), std::strlen(expected));
    EXPECT_STREQ(directory, expected);
    char tiny[2];
    EXPECT_EQ(TheFiles().CurrentDirectory(tiny, sizeof tiny), std::strlen(expected) + 1);

    char temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    const std::string path = std::string(temp) + "qeltrin-seam-test.pxy";
    const std::string bytes("a:1\r\n\x1A\0b\n", 9);
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);

    std::string read;
    EXPECT_TRUE(TheFiles().ReadBytes(path.c_str(), 1024, &read));
    EXPECT_EQ(read, bytes);  // binary: no text-mode translation
    EXPECT_TRUE(TheFiles().ReadBytes(path.c_str(), 3, &read));
    EXPECT_EQ(read, "a:1");
    DeleteFileA(path.c_str());
    EXPECT_FALSE(TheFiles().ReadBytes(path.c_str(), 1024, &read));
}

// Only a file on disk is read. A name that leads to a pipe (a link planted
// under the list's name, say) would hold the start-up until the other end
// wrote, which it need never do.
TEST(FilesWineTest, RefusesWhatIsNotAFileOnDisk) {
    const char* pipe = "\\\\.\\pipe\\qeltrin-files-test";
    const HANDLE server = CreateNamedPipeA(pipe, PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                           4096, 4096, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    std::string read = "stale";
    EXPECT_FALSE(TheFiles().ReadBytes(pipe, 1024, &read));
    EXPECT_EQ(read, "");
    CloseHandle(server);
}

}  // namespace
