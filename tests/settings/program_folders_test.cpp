#include "settings/program_folders.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/settings_error.h"
#include "support/temp_dir.h"

namespace orvella::settings {
namespace {

TEST(ProgramFolders, CreatesTheFourFoldersUnderTheHome) {
  test::TempDir dir;
  CreateApplicationFolders(dir.Path());
  for (const char* name : {"INI", "ERROR", "TEMP", "LOG"}) {
    EXPECT_TRUE(std::filesystem::is_directory(dir / name)) << name;
  }
  EXPECT_EQ(ProgramPath(dir.Path(), "/INI/INPUT.INI"), dir / "INI/INPUT.INI");
  EXPECT_EQ(TempFolder(dir.Path()), dir / "TEMP");
  EXPECT_THROW(ProgramPath({}, "/INI/INPUT.INI"), SettingsError);
}

TEST(ProgramFolders, ChoiceRules) {
  struct Case {
    const char* name;
    ProgramFolderInputs in;
    const char* folder;
    const char* reasonStart;
  };
  const Case cases[] = {
      {"--home wins", {"/opt/h", "/env", "/usr/bin", true, "/x", "/home/u"}, "/opt/h", "--home"},
      {"then the variable", {"", "/env", "/usr/bin", true, "/x", "/home/u"}, "/env", "$ORVELLA_HOME"},
      {"then a usable executable folder",
       {"", "", "/build/bin", true, "/x", "/home/u"},
       "/build/bin",
       "the executable's folder"},
      {"installed: XDG_DATA_HOME",
       {"", "", "/usr/bin", false, "/x", "/home/u"},
       "/x/orvella",
       "$XDG_DATA_HOME"},
      {"installed, no XDG_DATA_HOME",
       {"", "", "/usr/bin", false, "", "/home/u"},
       "/home/u/.local/share/orvella",
       "~/.local/share/orvella"},
      {"a relative XDG_DATA_HOME is ignored",
       {"", "", "/usr/bin", false, "rel", "/home/u"},
       "/home/u/.local/share/orvella",
       "~/.local/share/orvella"},
      {"executable unknown", {"", "", "", true, "/x", "/home/u"}, "/x/orvella", "$XDG_DATA_HOME"},
      {"nothing to go by", {"", "", "/usr/bin", false, "", ""}, "", ""},
  };
  for (const auto& c : cases) {
    const auto choice = ChooseProgramFolder(c.in);
    EXPECT_EQ(choice.folder, std::filesystem::path(c.folder)) << c.name;
    EXPECT_TRUE(choice.reason.starts_with(c.reasonStart)) << c.name << ": " << choice.reason;
    EXPECT_EQ(choice.userDataFolder, std::string(c.folder).ends_with("/orvella")) << c.name;
  }
}

TEST(ProgramFolders, DataFilesComeFromTheProgramFolderFirst) {
  test::TempDir home, data;
  EXPECT_EQ(FindDataFile(home.Path(), data.Path(), "/Halftone/1.TIF"), data / "Halftone/1.TIF");
  // Without a data folder the program folder's path stands.
  EXPECT_EQ(FindDataFile(home.Path(), {}, "/Halftone/1.TIF"), home / "Halftone/1.TIF");
  std::filesystem::create_directories(home / "Halftone");
  test::WriteFileBytes(home / "Halftone/1.TIF", "own copy");
  EXPECT_EQ(FindDataFile(home.Path(), data.Path(), "/Halftone/1.TIF"), home / "Halftone/1.TIF");
}

}  // namespace
}  // namespace orvella::settings
