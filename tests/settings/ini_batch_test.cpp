// Additions to the INI layer: group writes, and unreadable files on load.
#include <gtest/gtest.h>

#include "settings/ini_file.h"
#include "settings/settings_error.h"
#include "support/temp_dir.h"

namespace orvella::settings {
namespace {

TEST(IniBatch, AppliesEveryKeyToTheCurrentContentInOneWrite) {
  test::TempDir dir;
  IniFile file = IniFile::AtPath(dir / "A.INI");
  file.WriteString("S", "KEEP", "1");
  file.WriteString("S", "B", "old");
  IniBatch batch(file);
  batch.WriteString("S", "B", "new");
  batch.WriteInt("T", "C", 5);
  EXPECT_EQ(file.ReadString("S", "B", ""), "old");  // nothing before Commit
  batch.Commit();
  EXPECT_EQ(test::ReadFileBytes(file.Path()), "[S]\r\nKEEP=\"1\"\r\nB=\"new\"\r\n[T]\r\nC=\"5\"\r\n");
}

TEST(IniBatch, RefusesUnstorableTextAndUnreadableFiles) {
  test::TempDir dir;
  IniFile file = IniFile::AtPath(dir / "A.INI");
  IniBatch batch(file);
  EXPECT_THROW(batch.WriteString("S", "K", "a\nB=forged"), SettingsError);

  std::filesystem::create_directory(file.Path());  // exists but is no readable file
  batch.WriteString("S", "K", "v");
  try {
    batch.Commit();
    FAIL();
  } catch (const SettingsError& e) {
    EXPECT_NE(std::string(e.what()).find("[section]S[key]K"), std::string::npos) << e.what();
  }
}

TEST(IniSnapshot, MissingFileIsEmptyButUnreadableFileIsAnError) {
  test::TempDir dir;
  EXPECT_EQ(IniSnapshot(IniFile::AtPath(dir / "NONE.INI")).ReadInt("S", "K", 7), 7);
  std::filesystem::create_directory(dir / "DIR.INI");
  try {
    IniSnapshot snapshot(IniFile::AtPath(dir / "DIR.INI"));
    FAIL();
  } catch (const SettingsError& e) {
    EXPECT_EQ(std::string(e.what()),
              "INIファイルの読み込みに失敗しました。[file_name]" + (dir / "DIR.INI").string());
  }
}

}  // namespace
}  // namespace orvella::settings
