// The resume record keeps any name the file system allows: in HIDDEN.INI when
// CP932 can hold it there, else in the record file beside it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "settings/app_data.h"
#include "settings/ini_file.h"
#include "settings/resume_record_file.h"
#include "settings_home.h"

namespace orvella::settings {
namespace {

struct NameCase {
  const char* what;
  std::string path;
  bool inHiddenIni;
};

std::vector<NameCase> Names() {
  return {
      {"ASCII", "/srv/hot/plan A-101.tif", true},
      {"Japanese", "/srv/hot/図面 第１版.tif", true},
      {"quotes and backslash", "/srv/hot/\"a\\x41\".tif\"", true},
      {"e acute", "/srv/hot/café.tif", false},
      {"emoji", "/srv/hot/plan😀.tif", false},
      {"line feed", "/srv/hot/a\nLASTPROCESSFILE_PAGE=\"9\".tif", false},
      {"carriage return", "/srv/hot/a\r.tif", false},
      {"invalid UTF-8", "/srv/hot/\xff\xfe\x80.tif", false},
      {"CP932 bytes on disk", "/srv/hot/\x90\x7d\x96\xca.tif", false},
      {"backslash escapes in a name HIDDEN.INI cannot hold", "/srv/hot/\\x41\\\\é\t.tif", false},
      {"longer than a value", "/srv/hot/" + std::string(1100, 'a') + ".tif", false},
  };
}

TEST(ResumeRecord, EveryNameRoundTripsThroughOneStore) {
  test::SettingsHome home;
  home.WriteIni("HIDDEN.INI", "[SETTING]\nMAX_MEM=\"7\"\n[APP_DATA]\nAUTORUN_ON_STARTUP=\"TRUE\"\n");
  const auto own = ResumeRecordFilePath(home.Path());
  int n = 0;
  for (const NameCase& name : Names()) {
    SCOPED_TRACE(name.what);
    ++n;
    const LastProcessFile record{name.path, 0x01D9A0B1C2D3E4F5 + static_cast<uint64_t>(n), n, n + 1};
    ASSERT_NO_THROW(WriteLastProcessFile(home.Path(), record));
    const LastProcessFile back = ReadLastProcessFile(home.Path());
    EXPECT_EQ(back.path, record.path);
    EXPECT_EQ(back.time, record.time);
    EXPECT_EQ(back.page, record.page);
    EXPECT_EQ(back.qty, record.qty);
    // One store at a time: the other holds no path.
    EXPECT_EQ(IniCanHold(name.path), name.inHiddenIni);
    EXPECT_EQ(std::filesystem::exists(own), !name.inHiddenIni);
    const std::string hiddenPath =
        IniFile::AtPath(home.Ini("HIDDEN.INI")).ReadString("APP_DATA", "LASTPROCESSFILE_PATH", "");
    EXPECT_EQ(hiddenPath, name.inHiddenIni ? name.path : "");
  }
  // The other keys of HIDDEN.INI are untouched by either store.
  EXPECT_EQ(IniFile::AtPath(home.Ini("HIDDEN.INI")).ReadBool("APP_DATA", "AUTORUN_ON_STARTUP", 0), 1);

  WriteLastProcessFile(home.Path(), {});
  EXPECT_EQ(ReadLastProcessFile(home.Path()).path, "");
  EXPECT_FALSE(std::filesystem::exists(own));
}

// A name HIDDEN.INI can hold is written there exactly as before, whatever the
// record file held until then.
TEST(ResumeRecord, AHiddenIniNameLeavesTheFileAsItAlwaysWas) {
  const LastProcessFile record{"/srv/hot/図面 A-101.tif", 0x01D9A0B1C2D3E4F5, 3, 1};
  test::SettingsHome plain, switched;
  WriteLastProcessFile(plain.Path(), record);
  WriteLastProcessFile(switched.Path(), {"/srv/hot/plan😀.tif", 5, 6, 7});
  WriteLastProcessFile(switched.Path(), record);
  EXPECT_EQ(test::ReadFileBytes(switched.Ini("HIDDEN.INI")), test::ReadFileBytes(plain.Ini("HIDDEN.INI")));
  EXPECT_EQ(plain.ReadIni("HIDDEN.INI"),
            "[APP_DATA]\nLASTPROCESSFILE_PATH=\"/srv/hot/図面 A-101.tif\"\nLASTPROCESSFILE_PAGE=\"3\"\n"
            "LASTPROCESSFILE_QTY=\"1\"\nLASTPROCESSFILE_TIME=\"01D9A0B1C2D3E4F5\"\n");
  EXPECT_FALSE(std::filesystem::exists(ResumeRecordFilePath(switched.Path())));
}

TEST(ResumeRecord, TheRecordFileIsReadableTextWithTheOddBytesEscaped) {
  test::SettingsHome home;
  WriteLastProcessFile(home.Path(), {"/in/a\nb\xff\\c😀.tif", 0x000001D200000000, 2, 1});
  const std::string text = test::ReadFileBytes(ResumeRecordFilePath(home.Path()));
  EXPECT_NE(text.find("\nPATH=/in/a\\x0Ab\\xFF\\\\c😀.tif\nPAGE=2\nQTY=1\nTIME=000001D200000000\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(UnescapeRecordPath("a\\x4"), std::nullopt);
  EXPECT_EQ(UnescapeRecordPath("a\\q"), std::nullopt);
}

// Written first and removed first, the record file is the newer record
// whenever both hold a path (a crash between the two steps); a damaged one
// is no record.
TEST(ResumeRecord, TheRecordFileWinsWhenBothHoldAPath) {
  test::SettingsHome home;
  home.WriteIni("HIDDEN.INI",
                "[APP_DATA]\nLASTPROCESSFILE_PATH=\"/srv/hot/old.tif\"\nLASTPROCESSFILE_QTY=\"4\"\n");
  const auto own = ResumeRecordFilePath(home.Path());
  ASSERT_TRUE(WriteResumeRecordFile(own, {"/srv/hot/new😀.tif", 9, 1, 2}));
  EXPECT_EQ(ReadLastProcessFile(home.Path()).path, "/srv/hot/new😀.tif");
  EXPECT_EQ(ReadLastProcessFile(home.Path()).qty, 2);

  test::WriteFileBytes(own, "PATH=/srv/hot/bad\\x\n");
  EXPECT_EQ(ReadLastProcessFile(home.Path()).path, "/srv/hot/old.tif");
  EXPECT_EQ(ReadLastProcessFile(home.Path()).qty, 4);
}

// The worker's resume writes and the exit command's key writes change
// HIDDEN.INI from two processes at once; neither loses the other's change.
TEST(ResumeRecord, WritesFromAnotherProcessAreNotLost) {
  test::SettingsHome home;
  constexpr int kKeys = 60;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    IniFile hidden = IniFile::AtPath(home.Ini("HIDDEN.INI"));
    for (int i = 0; i < kKeys; ++i) hidden.WriteInt("APP_DATA", "KEY_" + std::to_string(i), i);
    ::_exit(0);
  }
  LastProcessFile last;
  for (int i = 0; i < 2 * kKeys; ++i) {
    last = {i % 2 ? "/srv/hot/plan😀.tif" : "/srv/hot/図面.tif", static_cast<uint64_t>(i), i, i};
    WriteLastProcessFile(home.Path(), last);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  const IniSnapshot hidden(IniFile::AtPath(home.Ini("HIDDEN.INI")));
  for (int i = 0; i < kKeys; ++i) EXPECT_EQ(hidden.ReadInt("APP_DATA", "KEY_" + std::to_string(i), -1), i);
  EXPECT_EQ(ReadLastProcessFile(home.Path()).path, last.path);
  EXPECT_EQ(ReadLastProcessFile(home.Path()).page, last.page);
}

}  // namespace
}  // namespace orvella::settings
