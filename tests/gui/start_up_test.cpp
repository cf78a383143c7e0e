// The start-up of the program with windows, in this process: the failures it
// must tell the operator about before the event loop runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/gui/gui_main.h"
#include "app/gui/gui_texts.h"
#include "gui/gui_fixture.h"
#include "settings/program_folders.h"
#include "settings/settings_home.h"
#include "support/process_setup.h"

namespace orvella::cli {
namespace {

// A lock that cannot be taken (TEMP is a file, so no lock file can be made
// there) is no second start: nobody comes forward, so the operator is told
// why the program ends, and nothing is logged.
TEST(StartUp, ALockThatCannotBeTakenSaysWhyAndEndsWithMinusOne) {
  orvella::test::SettingsHome home;
  orvella::test::WriteFileBytes(settings::TempFolder(home.Path()), "not a folder");
  test::ScriptedMessages messages;
  EXPECT_EQ(RunGuiWith(home.Path(), orvella::test::ProcessFolders(), messages), -1);
  ASSERT_EQ(messages.warnings.size(), 1U);
  const std::string expected = std::string(gui_text::kInstanceLockFailed) + gui_text::kDetailHeading;
  EXPECT_EQ(messages.warnings[0].rfind(expected, 0), 0U) << messages.warnings[0];
  EXPECT_NE(messages.warnings[0].find("cannot open the lock file"), std::string::npos)
      << messages.warnings[0];
  EXPECT_EQ(test::CountInJobLogs(home.Path(), "起動"), 0);
}

// The windows read INPUT.INI as they are built; one that cannot be read
// (here a folder in its place) ends the program the orderly way.
TEST(StartUp, SettingsThatCannotBeReadWhileTheWindowsAreBuiltEndInTheWindowCreationMessage) {
  orvella::test::SettingsHome home;
  std::filesystem::create_directory(home.Ini("INPUT.INI"));
  test::ScriptedMessages messages;
  EXPECT_EQ(RunGuiWith(home.Path(), orvella::test::ProcessFolders(), messages), 0);
  EXPECT_EQ(messages.warnings, std::vector<std::string>{gui_text::kWindowCreationFailed});
  EXPECT_EQ(test::CountInJobLogs(home.Path(), "起動"), 1);
  EXPECT_EQ(test::CountInJobLogs(home.Path(), "終了"), 1);
}

}  // namespace
}  // namespace orvella::cli
