// HKEY_CURRENT_USER read from a user.reg written by the test, in Wine's format.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/Registry.h"
#include "platform/vcl/Registry.h"
#include "tests/support/TempFolder.h"

namespace {

constexpr char kRecentFiles[] = "\\Software\\LDS Church\\FamilySearch\\Personal Ancestral File 5\\Recent File List";

// The hive: the wanted key follows a key whose path starts with it, and is followed by another
// key with a value of the same name; hex data runs over a continuation line.
const std::string kUserReg =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n"
    "\n"
    "#arch=win32\n"
    "\n"
    "[Software\\\\LDS Church\\\\FamilySearch\\\\Personal Ancestral File 5\\\\Recent File List\\\\Settings] 1700000000\n"
    "#time=1da0a0a0a0a0a0a\n"
    "\"File2\"=\"C:\\\\Wrong\\\\settings.paf\"\n"
    "\n"
    "[Software\\\\LDS Church\\\\FamilySearch\\\\Personal Ancestral File 5\\\\Recent File List] 1700000001\n"
    "#time=1da0a0a0a0a0a0b\n"
    "\"File1\"=\"C:\\\\Family\\\\smith.paf\"\n"
    "\"file3\"=\"C:\\\\Familie\\\\M\\x00fcller \\\"Hof\\\".paf\"\n"
    "\"File4\"=str(2):\"%USERPROFILE%\\\\tree.paf\"\n"
    "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\n"
    "  17,18,19\n"
    "\"Count\"=dword:00000004\n"
    "\"Raw\"=\"C:\\\\Caf\xC3\xA9\\\\x.paf\"\r\n"
    "\"Escapes\"=\"a\\tb\\101\\\\n\\x41z\\xg\"\n"
    "\"Greek\"=\"\\x03a9\"\n"
    "\"Cut\"=\"ab\\0cd\"\n"
    "\"Open\"=\"no end\n"
    "@=\"default\"\n"
    "\n"
    "[Software\\\\Other] 1700000002\n"
    "\"File2\"=\"C:\\\\Other\\\\x.paf\"\n";

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("WINEPREFIX");
    if (old != nullptr) oldPrefix_ = old;
    prefix_.writeFile("user.reg", kUserReg);
    usePrefix(prefix_.path().string());
  }
  void TearDown() override {
    if (oldPrefix_) {
      setenv("WINEPREFIX", oldPrefix_->c_str(), 1);
    } else {
      unsetenv("WINEPREFIX");
    }
  }
  static void usePrefix(const std::string& folder) { setenv("WINEPREFIX", folder.c_str(), 1); }

  corvane::testing::TempFolder prefix_;
  std::optional<std::string> oldPrefix_;
};

TEST_F(RegistryTest, ReadsEachValueKindAsWineWritesIt) {
  const std::optional<platform::RegistryKey> key = platform::RegistryKey::openCurrentUser(kRecentFiles);
  ASSERT_TRUE(key);
  struct Case {
    const char* name;
    std::optional<std::string> text;
    bool exists;
  };
  const Case cases[] = {
      {"File1", "C:\\Family\\smith.paf", true},
      {"FILE3", "C:\\Familie\\M\xFCller \"Hof\".paf", true},  // names ignore case; \x00fc is u-umlaut
      {"File2", std::nullopt, false},                          // only in the keys around ours
      {"File4", "%USERPROFILE%\\tree.paf", true},              // expandable text is text
      {"Blob", std::nullopt, true},                            // not text
      {"Count", std::nullopt, true},
      {"Raw", "C:\\Caf\xE9\\x.paf", true},   // UTF-8 outside escapes, CR LF line end
      {"Escapes", "a\tbA\\nAzxg", true},     // \t, octal, \\, \x41, \x without digits
      {"Greek", std::nullopt, true},         // omega: no code page 1252 form
      {"Cut", "ab", true},                   // text ends at a NUL
      {"Open", std::nullopt, true},          // the quote never closes
      {"", "default", true},                 // the unnamed value
  };
  for (const Case& c : cases) {
    EXPECT_EQ(key->readText(c.name), c.text) << c.name;
    EXPECT_EQ(key->hasValue(c.name), c.exists) << c.name;
  }
}

TEST_F(RegistryTest, FindsAKeyByItsWholePathIgnoringCase) {
  struct Case {
    std::string path;
    bool found;
  };
  const Case cases[] = {
      {kRecentFiles, true},
      {std::string(kRecentFiles).substr(1), true},  // without the leading backslash
      {"\\software\\lds church\\familysearch\\personal ancestral file 5\\RECENT FILE LIST", true},
      {"\\Software\\LDS Church\\FamilySearch\\Personal Ancestral File 5\\Recent File", false},
      {"\\Software\\LDS Church", false},  // a key with no section of its own
      {"\\Software\\Nothing", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::RegistryKey::openCurrentUser(c.path).has_value(), c.found) << c.path;
  }
  EXPECT_EQ(platform::RegistryKey::openCurrentUser("Software\\Other")->readText("File2"), "C:\\Other\\x.paf");
}

TEST_F(RegistryTest, WithoutPrefixOrUserRegEveryKeyIsMissing) {
  for (const std::string& folder : {prefix_.path().string() + "/nowhere", std::string(prefix_.makeFolder("empty"))}) {
    usePrefix(folder);
    EXPECT_FALSE(platform::RegistryKey::openCurrentUser(kRecentFiles)) << folder;
    vcl::TRegistry registry;
    EXPECT_FALSE(registry.openKey(kRecentFiles, false));
    EXPECT_EQ(registry.readString("File1"), "");
  }
}

TEST_F(RegistryTest, RegistryClassOpensWithoutCreatingAndReadsAbsentValuesAsEmpty) {
  vcl::TRegistry registry;
  EXPECT_EQ(registry.rootKey(), vcl::HKEY_CURRENT_USER);
  ASSERT_TRUE(registry.openKey(kRecentFiles, false));
  EXPECT_EQ(registry.readString("File1"), "C:\\Family\\smith.paf");
  EXPECT_EQ(registry.readString("File2"), "");
  EXPECT_EQ(registry.readString("Count"), "") << "a value that is not text";
  EXPECT_TRUE(registry.valueExists("Count"));

  ASSERT_TRUE(registry.openKey("Settings", false)) << "relative to the open key";
  EXPECT_EQ(registry.readString("File2"), "C:\\Wrong\\settings.paf");

  EXPECT_FALSE(registry.openKey("\\Software\\Corvane", true)) << "nothing is ever created";
  EXPECT_EQ(registry.readString("File1"), "") << "after a failed open no key is open";

  registry.setRootKey(vcl::HKEY_LOCAL_MACHINE);
  EXPECT_FALSE(registry.openKey(kRecentFiles, false));
}

}  // namespace
