#include "app/gui/menu_enabling.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvella::cli {
namespace {

using jobs::RunState;

struct Row {
  CommandId id;
  // Enabled in run states 0, 1, 2, 3, with a folder selected and both
  // windows hidden.
  std::vector<bool> byState;
};

TEST(MenuEnabling, FollowsTheRunState) {
  const std::vector<Row> table = {
      {CommandId::kNewFolder, {true, true, false, true}},
      {CommandId::kPreference, {true, true, false, true}},
      {CommandId::kPrinters, {true, true, false, true}},
      {CommandId::kStamps, {true, true, false, true}},
      {CommandId::kFolds, {true, true, false, true}},
      {CommandId::kDeleteFolder, {true, true, false, true}},
      {CommandId::kEditFolder, {true, true, false, true}},
      {CommandId::kStop, {false, true, false, true}},
      {CommandId::kStart, {true, false, false, false}},
      {CommandId::kShowFolderWindow, {true, false, false, false}},
      {CommandId::kShowJobWindow, {true, true, true, true}},
      {CommandId::kExit, {true, true, true, true}},
      {CommandId::kClose, {true, true, true, true}},
      {CommandId::kVersion, {true, true, true, true}},
      {CommandId::kHelp, {true, true, true, true}},
  };
  for (const Row& row : table) {
    for (int state = 0; state < jobs::kRunStateCount; ++state) {
      MenuContext context;
      context.state = static_cast<RunState>(state);
      context.folderSelected = true;
      EXPECT_EQ(CommandEnabled(row.id, context), row.byState[state])
          << "command " << static_cast<int>(row.id) << " in state " << state;
    }
  }
}

TEST(MenuEnabling, SelectionAndVisibleWindowsNarrowIt) {
  MenuContext context;  // stopped
  EXPECT_FALSE(CommandEnabled(CommandId::kEditFolder, context));
  EXPECT_FALSE(CommandEnabled(CommandId::kDeleteFolder, context));
  EXPECT_TRUE(CommandEnabled(CommandId::kNewFolder, context));
  context.folderWindowVisible = true;
  EXPECT_FALSE(CommandEnabled(CommandId::kShowFolderWindow, context));
  context.jobWindowVisible = true;
  EXPECT_FALSE(CommandEnabled(CommandId::kShowJobWindow, context));
}

TEST(MenuEnabling, AModalDialogDisablesEverything) {
  MenuContext context;
  context.modalOpen = true;
  for (CommandId id : {CommandId::kExit, CommandId::kClose, CommandId::kHelp, CommandId::kVersion,
                       CommandId::kStart, CommandId::kShowJobWindow, CommandId::kNewFolder}) {
    EXPECT_FALSE(CommandEnabled(id, context)) << static_cast<int>(id);
  }
}

}  // namespace
}  // namespace orvella::cli
