// Additions to the INI layer: group writes, and unreadable files on load.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

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

// Each key write reads the file, changes it and renames the result into
// place; two writers in two threads of each of two processes lose none of
// each other's keys.
TEST(IniBatch, ConcurrentWritersLoseNoKey) {
  test::TempDir dir;
  const IniFile file = IniFile::AtPath(dir / "HIDDEN.INI");
  constexpr int kKeys = 80;
  auto writeKeys = [&file](const std::string& prefix) {
    IniFile own = file;
    for (int i = 0; i < kKeys; ++i) own.WriteInt("APP_DATA", prefix + std::to_string(i), i);
  };
  auto twoThreads = [&writeKeys](const std::string& process) {
    std::thread other(writeKeys, process + "B_");
    writeKeys(process + "A_");
    other.join();
  };
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    twoThreads("CHILD_");
    ::_exit(0);
  }
  twoThreads("PARENT_");
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  const IniSnapshot written(file);
  int lost = 0;
  for (const char* writer : {"CHILD_A_", "CHILD_B_", "PARENT_A_", "PARENT_B_"}) {
    for (int i = 0; i < kKeys; ++i) lost += written.ReadInt("APP_DATA", writer + std::to_string(i), -1) != i;
  }
  EXPECT_EQ(lost, 0);
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
