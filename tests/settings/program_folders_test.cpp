#include "settings/program_folders.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
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

// Sets or clears ORVELLA_HOME for one scope.
class HomeVariable {
 public:
  explicit HomeVariable(const char* value) {
    if (const char* old = std::getenv("ORVELLA_HOME")) old_ = old;
    value ? setenv("ORVELLA_HOME", value, 1) : unsetenv("ORVELLA_HOME");
  }
  ~HomeVariable() { old_ ? setenv("ORVELLA_HOME", old_->c_str(), 1) : unsetenv("ORVELLA_HOME"); }

 private:
  std::optional<std::string> old_;
};

TEST(ProgramFolders, HomeOptionThenEnvironmentThenExecutableFolder) {
  test::TempDir option, env;
  {
    const HomeVariable set(env.Path().c_str());
    EXPECT_EQ(ResolveProgramFolder(option.Path()), option.Path());
    EXPECT_EQ(ResolveProgramFolder(), env.Path());
  }
  {
    const HomeVariable empty("");
    EXPECT_EQ(ResolveProgramFolder(), ExecutableFolder());
  }
  {
    const HomeVariable unset(nullptr);
    EXPECT_EQ(ResolveProgramFolder(), ExecutableFolder());
    EXPECT_FALSE(ExecutableFolder().empty());
  }
  // A relative --home is taken from the working folder, once, at start.
  EXPECT_EQ(ResolveProgramFolder("some/where/.."), std::filesystem::current_path() / "some");
}

}  // namespace
}  // namespace orvella::settings
