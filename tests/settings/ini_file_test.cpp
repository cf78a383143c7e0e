#include "settings/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <cstring>

#include "settings/settings_error.h"
#include "support/temp_dir.h"

namespace orvella::settings {
namespace {

class IniFileTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  IniFile ini = IniFile::AtPath(dir / "TEST.INI");
};

TEST_F(IniFileTest, HandWrittenFileWithOddSpacingAndMixedCase) {
  test::WriteFileBytes(dir / "TEST.INI",
                       "; comment\r\n"
                       "  [Global] \r\n"
                       "  num_Inputs =  \"3\"  \r\n"
                       "Name=  plain value \n"
                       "QUOTED=\"  keeps inner blanks  \"\r\n"
                       "HALF=\"only one side\r\n"
                       "EMPTY=\r\n"
                       "NUM_INPUTS=\"9\"\r\n"
                       "[GLOBAL]\r\n"
                       "OTHER=\"second section of the same name is not read\"\r\n"
                       "[input_0]\r\n"
                       "Flag=true\r\n");
  EXPECT_EQ(ini.ReadInt("GLOBAL", "NUM_INPUTS", -1), 3);  // first occurrence wins
  EXPECT_EQ(ini.ReadString("global", "NAME", "x"), "plain value");
  EXPECT_EQ(ini.ReadString("GLOBAL", "QUOTED", ""), "  keeps inner blanks  ");
  EXPECT_EQ(ini.ReadString("GLOBAL", "HALF", ""), "\"only one side");
  EXPECT_EQ(ini.ReadString("GLOBAL", "OTHER", "default"), "default");
  EXPECT_EQ(ini.ReadInt("GLOBAL", "EMPTY", 7), 0);  // present but empty is 0, not the default
  EXPECT_EQ(ini.ReadInt("GLOBAL", "MISSING", 7), 7);
  EXPECT_EQ(ini.ReadBool("INPUT_0", "FLAG", 0), 1);
  EXPECT_EQ(ini.ReadString("NOSECTION", "NAME", "d"), "d");

  // Replacement happens at the first occurrence, in place; the rest is untouched.
  ini.WriteInt("GLOBAL", "NUM_INPUTS", 4);
  const std::string after = test::ReadFileBytes(dir / "TEST.INI");
  EXPECT_NE(after.find("NUM_INPUTS=\"4\"\r\nName="), std::string::npos) << after;
  EXPECT_NE(after.find("NUM_INPUTS=\"9\""), std::string::npos);
}

TEST_F(IniFileTest, WritesReplaceInPlaceAppendToSectionAndAddSections) {
  ini.WriteString("A", "K1", "one");
  ini.WriteString("B", "K1", "b");
  ini.WriteString("A", "K2", "two");
  ini.WriteString("a", "k1", "uno");
  EXPECT_EQ(test::ReadFileBytes(dir / "TEST.INI"), "[A]\r\nk1=\"uno\"\r\nK2=\"two\"\r\n[B]\r\nK1=\"b\"\r\n");
}

TEST_F(IniFileTest, MissingFileGivesDefaultsAndIsCreatedOnWrite) {
  EXPECT_EQ(ini.ReadString("S", "K", "def"), "def");
  EXPECT_EQ(ini.ReadDouble("S", "K", 2.5), 2.5);
  EXPECT_EQ(ini.BinarySize("S", "K"), 0u);
  ini.WriteBool("S", "K", 1);
  EXPECT_TRUE(std::filesystem::exists(ini.Path()));
}

TEST_F(IniFileTest, TypedValues) {
  struct Case {
    std::string stored;
    int asInt;
    double asReal;
    int asBool;  // with default 5
  };
  const Case cases[] = {
      {"", 0, 0, 5},
      {"  -12abc", -12, -12, 5},
      {"+7", 7, 7, 5},
      {"TrUe", 0, 0, 1},
      {"false", 0, 0, 0},
      {"100.", 100, 100, 5},
      {"1.5e2x", 1, 150, 5},
      {"abc", 0, 0, 5},
      {"99999999999", 2147483647, 99999999999.0, 5},
      {"nan", 0, 0, 5},
      {"___DUMMY_NUMBER_STRING___", 42, 4.5, 5},
  };
  for (const auto& c : cases) {
    ini.WriteString("S", "K", c.stored);
    EXPECT_EQ(ini.ReadInt("S", "K", 42), c.asInt) << c.stored;
    EXPECT_EQ(ini.ReadDouble("S", "K", 4.5), c.asReal) << c.stored;
    EXPECT_EQ(ini.ReadBool("S", "K", 5), c.asBool) << c.stored;
  }
  ini.WriteBool("S", "B", 2);
  EXPECT_EQ(ini.ReadString("S", "B", ""), "FALSE");
}

TEST_F(IniFileTest, RealTextIsLocaleFreeAndRoundTrips) {
  // A comma-decimal locale must not leak into stored reals.
  const char* locales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "C.UTF-8"};
  std::string previous = std::setlocale(LC_ALL, nullptr);
  for (const char* l : locales)
    if (std::setlocale(LC_ALL, l)) break;
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {100, "100."}, {1.5, "1.5"},          {-2.25, "-2.25"},   {70.7, "70.700000000000003"},
      {0.5, "0.5"},  {0.0625, "6.25e-002"}, {1e100, "1.e+100"}, {0, "0."}};
  for (const auto& c : cases) {
    EXPECT_EQ(FormatIniReal(c.value), c.text);
    ini.WriteDouble("S", "R", c.value);
    EXPECT_EQ(ini.ReadDouble("S", "R", -1), c.value) << c.text;
  }
  std::setlocale(LC_ALL, previous.c_str());
}

TEST_F(IniFileTest, JapaneseTextIsCp932OnDiskAndUtf8InMemory) {
  ini.WriteString("STAMP_0", "NAME", "承認スタンプ　①");
  const std::string bytes = test::ReadFileBytes(ini.Path());
  // 承 = 8F B3, ① is a CP932 extension (87 40): the Windows code page, not plain Shift_JIS.
  EXPECT_EQ(bytes,
            "[STAMP_0]\r\nNAME=\"\x8F\xB3\x94\x46\x83\x58\x83\x5E\x83\x93\x83\x76\x81\x40\x87\x40\"\r\n");
  EXPECT_EQ(ini.ReadString("STAMP_0", "NAME", ""), "承認スタンプ　①");
}

TEST_F(IniFileTest, ValuesAreCutAt1023BytesNeverInsideACharacter) {
  ini.WriteString("S", "ASCII", std::string(1500, 'a'));
  EXPECT_EQ(ini.ReadString("S", "ASCII", "").size(), 1023u);
  // 'a' then 600 two-byte characters: byte 1023 would split a character.
  std::string text = "a";
  for (int i = 0; i < 600; ++i) text += "あ";
  ini.WriteString("S", "WIDE", text);
  const std::string back = ini.ReadString("S", "WIDE", "");
  EXPECT_EQ(back, "a" + text.substr(1, 511 * 3));
}

TEST_F(IniFileTest, UnstorableValuesRaiseTheKeyWriteError) {
  ini.WriteString("S", "K", "kept");
  for (const std::string& bad : {std::string("two\nlines"), std::string("emoji \xF0\x9F\x98\x80")}) {
    try {
      ini.WriteString("S", "K", bad);
      FAIL() << "no error for " << bad;
    } catch (const SettingsError& e) {
      EXPECT_EQ(std::string(e.what()), "INIファイルのキー書き込みに失敗しました。[file_name]" +
                                           ini.Path().string() + "[section]S[key]K");
    }
  }
  EXPECT_EQ(ini.ReadString("S", "K", ""), "kept");
}

TEST_F(IniFileTest, BinaryAndStructForms) {
  const uint8_t bytes[] = {0x00, 0x1F, 0xA0, 0xFF};
  ini.WriteBinary("S", "BIN", bytes, sizeof bytes);
  EXPECT_EQ(ini.ReadString("S", "BIN", ""), "001FA0FF");
  ASSERT_EQ(ini.BinarySize("S", "BIN"), 4u);
  uint8_t back[4] = {};
  ini.ReadBinary("S", "BIN", back);
  EXPECT_EQ(0, std::memcmp(back, bytes, 4));

  ini.WriteString("S", "ODD", "ABCDEFG");
  EXPECT_EQ(ini.BinarySize("S", "ODD"), 0u);
  uint8_t untouched[4] = {9, 9, 9, 9};
  ini.ReadBinary("S", "ODD", untouched);
  EXPECT_EQ(untouched[0], 9);

  ini.WriteStruct("S", "FONT", bytes, sizeof bytes);
  EXPECT_EQ(ini.ReadString("S", "FONT", ""), "001FA0FFBE");  // checksum 0x1BE mod 256
  uint8_t s[4] = {};
  EXPECT_TRUE(ini.ReadStruct("S", "FONT", s, 4));
  EXPECT_EQ(0, std::memcmp(s, bytes, 4));
  uint8_t other[5] = {};
  EXPECT_FALSE(ini.ReadStruct("S", "FONT", other, 5));  // another size
  ini.WriteString("S", "FONT", "001FA0FFBF");
  EXPECT_FALSE(ini.ReadStruct("S", "FONT", s, 4));  // bad checksum
}

TEST_F(IniFileTest, SaveWritesExactlyTheKeysInOrderAndFailsWithoutHarm) {
  ini.WriteString("OLD", "GONE", "x");
  {
    IniSave save(ini);
    save.WriteInt("GLOBAL", "NUM_THINGS", 0);
    save.Commit();
  }
  EXPECT_EQ(test::ReadFileBytes(ini.Path()), "[GLOBAL]\r\nNUM_THINGS=\"0\"\r\n");

  // A key that cannot be stored stops the save; the previous file stays whole.
  {
    IniSave failing(ini);
    failing.WriteInt("GLOBAL", "NUM_THINGS", 2);
    EXPECT_THROW(failing.WriteString("THING_0", "NAME", "bad\nname"), SettingsError);
  }
  EXPECT_EQ(test::ReadFileBytes(ini.Path()), "[GLOBAL]\r\nNUM_THINGS=\"0\"\r\n");

  // A file that cannot be written reports the key write error.
  IniFile nowhere = IniFile::AtPath(dir / "no-such-folder" / "X.INI");
  IniSave save(nowhere);
  save.WriteInt("GLOBAL", "NUM_THINGS", 1);
  EXPECT_THROW(save.Commit(), SettingsError);
  EXPECT_THROW(nowhere.WriteInt("GLOBAL", "NUM_THINGS", 1), SettingsError);
}

TEST_F(IniFileTest, CreateModeAppliesToNewFilesAndExistingModeIsKept) {
  ini.SetCreateMode(0600);
  ini.WriteString("S", "PASSWORD", "x");
  struct stat st {};
  ASSERT_EQ(::stat(ini.Path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  IniFile other = IniFile::AtPath(ini.Path());  // default mode, existing file
  other.WriteString("S", "K", "y");
  ASSERT_EQ(::stat(ini.Path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  // No stray temporary files are left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

}  // namespace
}  // namespace orvella::settings
