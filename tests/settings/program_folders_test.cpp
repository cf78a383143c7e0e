#include "settings/program_folders.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace orvella::settings {
namespace {

TEST(ProgramFolders, CreatesTheFourFoldersUnderTheHome) {
  test::TempDir dir;
  SetProgramHome(dir.Path());
  CreateApplicationFolders();
  for (const char* name : {"INI", "ERROR", "TEMP", "LOG"}) {
    EXPECT_TRUE(std::filesystem::is_directory(dir / name)) << name;
  }
  EXPECT_EQ(GetExecutableDirectory("/INI/INPUT.INI"), dir / "INI/INPUT.INI");
  EXPECT_EQ(TempFolder(), dir / "TEMP");
}

}  // namespace
}  // namespace orvella::settings
