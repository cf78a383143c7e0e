#include "app/setup/process_setup.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace orvella::cli {
namespace {

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
  std::filesystem::create_directories(option / "some/where");
  const auto workingFolder = std::filesystem::current_path();
  std::filesystem::current_path(option.Path());
  EXPECT_EQ(ResolveProgramFolder("some/where/.."), option / "some");
  std::filesystem::current_path(workingFolder);
}

TEST(ProcessSetUp, TheShippedDataOfABuildTreeLiesBesideTheExecutable) {
  EXPECT_EQ(DataFolder(ExecutableFolder()), ExecutableFolder());
  EXPECT_EQ(CurrentProcessFolders().data, ExecutableFolder());
  // An installation's bin/ has its data in share/orvella beside it.
  test::TempDir prefix;
  std::filesystem::create_directories(prefix / "bin");
  EXPECT_EQ(DataFolder(prefix / "bin"), prefix / "bin");
  std::filesystem::create_directories(prefix / "share/orvella");
  EXPECT_EQ(DataFolder(prefix / "bin"), prefix / "share/orvella");
  EXPECT_EQ(DataFolder({}), std::filesystem::path());
}

// The environment, /proc and the libraries' process-wide start-up belong to
// the process set-up: the core libraries get what they need as values.
TEST(ProcessSetUp, TheCoreLeavesProcessSetUpToMain) {
  const std::filesystem::path src = std::filesystem::path(ORVELLA_TEST_DATA) / "../../src";
  const char* kForbidden[] = {"getenv(",
                              "setenv(",
                              "putenv(",
                              "/proc/self/exe",
                              "curl_global_init",
                              "init_snmp(",
                              "netsnmp_ds_set_",
                              "netsnmp_register_loghandler",
                              "TIFFSetErrorHandler(",
                              "TIFFSetWarningHandler(",
                              "SIGIO",
                              "call_once",
                              "XDG_RUNTIME_DIR"};
  std::vector<std::string> found;
  int files = 0;
  for (const char* layer : {"base", "settings", "printfile", "logging", "imaging", "printer", "jobs"}) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(src / layer)) {
      if (!entry.is_regular_file()) continue;
      ++files;
      std::ifstream in(entry.path());
      std::string line;
      for (int number = 1; std::getline(in, line); ++number) {
        for (const char* word : kForbidden) {
          if (line.find(word) != std::string::npos)
            found.push_back(entry.path().lexically_relative(src).string() + ":" + std::to_string(number) +
                            ": " + word);
        }
      }
    }
  }
  EXPECT_GT(files, 100);
  EXPECT_TRUE(found.empty()) << testing::PrintToString(found);
}

}  // namespace
}  // namespace orvella::cli
