// The registry over the settings file: round trips of every value kind, buffer rules, atomic
// replacement, and corrupt or unreadable files.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/registry.h"
#include "test_support.h"
#include "tests/support/files.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using testing::Session;
using namespace std::string_literals;

constexpr const char* kKey = "Software\\Pellicon\\IntelliCAD Armavo\\Data\\";

std::string ReadFile(const fs::path& p) {
    return testkit::ReadFile(p.string());
}
void WriteFile(const fs::path& p, const std::string& text) {
    testkit::WriteFile(p.string(), text);
}

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::path(::testing::TempDir()) /
               ("armavo-reg-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        file_ = dir_ / "conf" / "settings";
        SetSettingsFile(file_.string());
    }
    void TearDown() override {
        SetSettingsFile("");
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir_, ec);
    }
    fs::path dir_;
    fs::path file_;
};

TEST_F(RegistryTest, MissingFileMeansMissingKeyCreateMakesTheFolderAndBufferRulesHold) {
    Session s;
    RegKey key;
    EXPECT_EQ(RegOpenKey(kKey, RegAccess::ReadWrite, key), RegResult::NotFound);
    EXPECT_FALSE(key.open);
    ASSERT_EQ(RegCreateKey(kKey, key), RegResult::Ok);
    ASSERT_EQ(RegSetValue(key, "Round", "1"), RegResult::Ok);
    EXPECT_TRUE(fs::exists(file_));
    EXPECT_EQ(RegCloseKey(key), RegResult::Ok);
    EXPECT_EQ(RegCloseKey(key), RegResult::AccessDenied);
    // Key paths ignore case and a trailing separator.
    EXPECT_EQ(RegOpenKey("software\\pellicon\\intellicad armavo\\data", RegAccess::Read, key),
              RegResult::Ok);
    std::string value;
    EXPECT_EQ(RegGetString(key, "ROUND", value), RegResult::Ok);
    EXPECT_EQ(value, "1");
    EXPECT_EQ(s.Output(), "");
    // Buffer rules, replacement in place, and keys that refuse writes.
    ASSERT_EQ(RegCreateKey(kKey, key), RegResult::Ok);
    ASSERT_EQ(RegSetValue(key, "Letter", "12345"), RegResult::Ok);
    ASSERT_EQ(RegSetValueRaw(key, "Raw", REG_SZ, "abc"), RegResult::Ok);
    char buffer[6];
    size_t size = 5;
    EXPECT_EQ(RegQueryValue(key, "Letter", nullptr, buffer, &size), RegResult::MoreData);
    EXPECT_EQ(size, 6u);
    size = 6;
    EXPECT_EQ(RegQueryValue(key, "Letter", nullptr, buffer, &size), RegResult::Ok);
    EXPECT_STREQ(buffer, "12345");
    size = 6;
    EXPECT_EQ(RegQueryValue(key, "Raw", nullptr, buffer, &size), RegResult::NotTerminated);
    size = 0;
    EXPECT_EQ(RegQueryValue(key, "Raw", nullptr, nullptr, &size), RegResult::Ok);
    EXPECT_EQ(size, 3u);
    size = 6;
    EXPECT_EQ(RegQueryValue(key, "Missing", nullptr, buffer, &size), RegResult::NotFound);
    std::string text;
    EXPECT_EQ(RegGetString(key, "Raw", text), RegResult::NotTerminated);
    // Values are replaced in place.
    ASSERT_EQ(RegSetValue(key, "letter", "7"), RegResult::Ok);
    EXPECT_EQ(RegGetString(key, "Letter", text), RegResult::Ok);
    EXPECT_EQ(text, "7");
    // A key opened for reading, or not open at all, refuses writes.
    ASSERT_EQ(RegSetValue(key, "X", "10"), RegResult::Ok);
    RegKey reader;
    RegKey closed;
    ASSERT_EQ(RegOpenKey(kKey, RegAccess::Read, reader), RegResult::Ok);
    EXPECT_EQ(RegSetValue(reader, "X", "20"), RegResult::AccessDenied);
    EXPECT_EQ(RegSetValue(closed, "X", "20"), RegResult::AccessDenied);
    EXPECT_EQ(RegGetString(reader, "X", text), RegResult::Ok);
    EXPECT_EQ(text, "10");
}

TEST_F(RegistryTest, EveryKindOfValueRoundTrips) {
    Session s;
    struct Case {
        std::string name;
        unsigned type;
        std::string bytes;
    } cases[] = {
        {"Rozstaw", REG_SZ, "20\0"s},
        {"Empty", REG_SZ, "\0"s},
        {"Nothing", REG_BINARY, ""},
        {"Zażółć gęślą jaźń", REG_SZ, "Średnica ⌀ 12\0"s},
        {"Lines", REG_SZ, "a\nb\r\nc\td\\e f\\n\0"s},
        {"with space", REG_EXPAND_SZ, "%HOME%\\x\0"s},
        {"Binary", REG_BINARY, "\0\x01\x7f\xff\x1b \\e"s},
        {"Count", REG_DWORD, "\x2a\0\0\0"s},
        {"Multi", REG_MULTI_SZ, "a\0b\0\0"s},
        {"Odd", 11, "q"},
        {"", REG_SZ, "default\0"s},
        {"\\e", REG_SZ, "\\e\0"s},
    };
    RegKey key;
    ASSERT_EQ(RegCreateKey(kKey, key), RegResult::Ok);
    for (const Case& c : cases) {
        ASSERT_EQ(RegSetValueRaw(key, c.name, c.type, c.bytes), RegResult::Ok) << c.name;
    }
    RegKey reader;
    ASSERT_EQ(RegOpenKey(kKey, RegAccess::Read, reader), RegResult::Ok);
    for (const Case& c : cases) {
        char buffer[260] = {};
        size_t size = sizeof buffer;
        unsigned type = 0;
        EXPECT_EQ(RegQueryValue(reader, c.name, &type, buffer, &size), RegResult::Ok) << c.name;
        EXPECT_EQ(type, c.type) << c.name;
        EXPECT_EQ(std::string(buffer, size), c.bytes) << c.name;
    }
    // The file's round trip through its parser is the settings fuzzer's; here, what it holds.
    const std::string text = ReadFile(file_);
    EXPECT_NE(text.find("Zażółć"), std::string::npos);      // Polish text stays readable
    EXPECT_NE(text.find("\\x7F\\xFF"), std::string::npos);  // bytes that are not UTF-8 escaped
}

// A write that fails leaves the old file; an unreadable one cannot be opened.
TEST_F(RegistryTest, FailedWriteLeavesTheOldFile) {
    Session s;
    RegKey key;
    ASSERT_EQ(RegCreateKey(kKey, key), RegResult::Ok);
    ASSERT_EQ(RegSetValue(key, "Steel", "3"), RegResult::Ok);
    std::string before = ReadFile(file_);
    // The temporary file's name is taken by a folder, so the new file cannot be written.
    fs::create_directories(file_.string() + ".tmp");
    EXPECT_EQ(RegSetValue(key, "Steel", "5"), RegResult::WriteFailed);
    EXPECT_TRUE(s.Printed("Ustawienia nie zostały zapisane"));
    EXPECT_EQ(ReadFile(file_), before);
    fs::remove_all(file_.string() + ".tmp");
    ASSERT_EQ(RegSetValue(key, "Steel", "5"), RegResult::Ok);
    EXPECT_FALSE(fs::exists(file_.string() + ".tmp"));
    std::string text;
    ASSERT_EQ(RegGetString(key, "Steel", text), RegResult::Ok);
    EXPECT_EQ(text, "5");
    // A folder where the file should be can be neither read nor written.
    fs::remove(file_);
    fs::create_directories(file_);
    EXPECT_EQ(RegOpenKey(kKey, RegAccess::Read, key), RegResult::CannotOpen);
    EXPECT_TRUE(s.Printed("Nie można odczytać pliku ustawień"));
    ASSERT_EQ(RegCreateKey(kKey, key), RegResult::Ok);
    EXPECT_EQ(RegSetValue(key, "X", "1"), RegResult::WriteFailed);
    EXPECT_TRUE(fs::is_directory(file_));
}

// One damaged line in the middle costs only its own value: the lines before and after it are
// read, the damage is told once, and the next write keeps the old file beside the new one,
// which holds every good value.
TEST_F(RegistryTest, DamagedLineLosesOnlyItsOwnValue) {
    const std::pair<const char*, std::string> damaged[] = {
        {"bad escape", "value sz B 2\\q"},
        {"missing data", "value sz B"},
        {"extra token", "value sz B 1 2"},
        {"unknown type", "value zz B 2\\0"},
        {"short hex escape", "value sz B \\x4"},
        {"invalid UTF-8", "value sz B \xc5\\0"},
        {"binary junk", "\x01\x02\xfe\xff\0junk\x1b[2J"s},
        {"escape cut short", "value sz B 2\\"},
    };
    for (const auto& [name, line] : damaged) {
        SCOPED_TRACE(name);
        fs::remove_all(dir_);
        fs::create_directories(file_.parent_path());
        const std::string text =
            "armavo-settings 1\nkey K\nvalue sz A 1\\0\n" + line + "\nvalue sz C 3\\0\n";
        WriteFile(file_, text);
        Session s;
        RegKey key;
        ASSERT_EQ(RegOpenKey("K", RegAccess::ReadWrite, key), RegResult::Ok);
        std::string value;
        for (const char* good : {"A", "C", "A"}) {
            EXPECT_EQ(RegGetString(key, good, value), RegResult::Ok) << good;
        }
        EXPECT_EQ(RegGetString(key, "B", value), RegResult::NotFound);
        const std::string told =
            "settings ma nieczytelny wiersz 4; pozostałe ustawienia odczytano.\n";
        EXPECT_EQ(s.Output().find(told), s.Output().rfind(told)) << s.Output();
        EXPECT_TRUE(s.Printed(told)) << s.Output();
        ASSERT_EQ(RegSetValue(key, "D", "4"), RegResult::Ok);
        EXPECT_EQ(ReadFile(file_.string() + ".bad"), text);
        EXPECT_TRUE(
            s.Printed("Uszkodzony plik ustawień zachowano jako " + file_.string() + ".bad"));
        for (const auto& [good, expected] : {std::pair{"A", "1"}, {"C", "3"}, {"D", "4"}}) {
            EXPECT_EQ(RegGetString(key, good, value), RegResult::Ok) << good;
            EXPECT_EQ(value, expected);
        }
    }
    // The values after a damaged key line belong to no key that can be named.
    fs::remove_all(dir_);
    fs::create_directories(file_.parent_path());
    WriteFile(file_, "armavo-settings 1\nkey K\nvalue sz A 1\\0\nkey L\\q\nvalue sz C 3\\0\n");
    Session s;
    RegKey key;
    std::string value;
    ASSERT_EQ(RegOpenKey("K", RegAccess::ReadWrite, key), RegResult::Ok);
    EXPECT_EQ(RegGetString(key, "A", value), RegResult::Ok);
    EXPECT_EQ(RegGetString(key, "C", value), RegResult::NotFound);
}

// A file that is no settings file of this version at all cannot be opened; each write over
// one keeps it under a name of its own.
TEST_F(RegistryTest, ForeignFileIsKeptAtEveryWrite) {
    fs::create_directories(file_.parent_path());
    const std::string corrupt[] = {
        "not a settings file\n", "armavo-settings 2\nkey K\n",
        "armavo-settings 1\nvalue sz X 1\\0\n",  // nothing but a value without a key
    };
    for (size_t i = 0; i < std::size(corrupt); ++i) {
        const std::string& text = corrupt[i];
        WriteFile(file_, text);
        Session s;
        RegKey key;
        EXPECT_EQ(RegOpenKey("K", RegAccess::ReadWrite, key), RegResult::CannotOpen) << text;
        EXPECT_TRUE(s.Printed("jest uszkodzony")) << text;
        EXPECT_EQ(ReadFile(file_), text);
        ASSERT_EQ(RegCreateKey("K", key), RegResult::Ok);
        ASSERT_EQ(RegSetValue(key, "X", "2"), RegResult::Ok);
        // The first copy is ".bad", the later ones ".bad2", ".bad3": none replaces another.
        EXPECT_EQ(ReadFile(file_.string() + ".bad" + (i == 0 ? "" : std::to_string(i + 1))), text);
        std::string value;
        ASSERT_EQ(RegOpenKey("K", RegAccess::Read, key), RegResult::Ok);
        EXPECT_EQ(RegGetString(key, "X", value), RegResult::Ok);
        EXPECT_EQ(value, "2");
    }
}

TEST(SettingsPathTest, DefaultFollowsTheConfigurationFolder) {
    std::string saved = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
    EXPECT_EQ(DefaultSettingsFile(), "/tmp/cfg/armavo/settings");
    setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored, as the rule says
    EXPECT_NE(DefaultSettingsFile(), "relative/armavo/settings");
    if (saved.empty()) {
        unsetenv("XDG_CONFIG_HOME");
    } else {
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    }
    SetSettingsFile("/x/y");
    EXPECT_EQ(GetSettingsFile(), "/x/y");
    SetSettingsFile("");
    EXPECT_EQ(GetSettingsFile(), DefaultSettingsFile());
}

}  // namespace
}  // namespace platform
