// What a run killed in the middle of a settings save leaves beside the INI
// files, and what the next start removes of it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "base/file_io.h"
#include "settings/program_folders.h"
#include "support/temp_dir.h"

namespace orvella::settings {
namespace {

namespace fs = std::filesystem;

std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

TEST(InterruptedSave, StartRemovesOnlyTheSavesWhoseWriterDied) {
  test::TempDir home;
  CreateApplicationFolders(home.Path());
  const fs::path ini = home.Path() / "INI";
  ASSERT_TRUE(base::ReplaceFileAtomically(ini / "HIDDEN.INI", "[SETTING]\r\n", 0644));
  EXPECT_EQ(Names(ini), std::set<std::string>{"HIDDEN.INI"});

  test::WriteFileBytes(ini / "HIDDEN.INI.save-a1B2c3", "[SETTING]\r\nCHECK_RE");  // its writer was killed
  test::WriteFileBytes(ini / "PRINTER.INI.save-Z9y8x7", "[GLOBAL]\r\n");          // a save under way
  const int writer = ::open((ini / "PRINTER.INI.save-Z9y8x7").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(writer, LOCK_EX), 0);
  // The operator's own files, however alike.
  for (const char* name :
       {"INPUT.INI.backup", "INPUT.INI.save-1234567", ".save-abcdef", "INPUT.INI.save-12345"})
    test::WriteFileBytes(ini / name, "mine");

  EXPECT_EQ(RemoveInterruptedSaves(home.Path()), 1);
  EXPECT_EQ(Names(ini),
            (std::set<std::string>{"HIDDEN.INI", "PRINTER.INI.save-Z9y8x7", "INPUT.INI.backup",
                                   "INPUT.INI.save-1234567", ".save-abcdef", "INPUT.INI.save-12345"}));
  ::close(writer);
  EXPECT_EQ(RemoveInterruptedSaves(home.Path()), 1);  // that writer has gone too
  EXPECT_FALSE(fs::exists(ini / "PRINTER.INI.save-Z9y8x7"));
}

}  // namespace
}  // namespace orvella::settings
