#include "printfile/fold_commands.h"

#include <gtest/gtest.h>

namespace orvella::printfile {
namespace {

TEST(FoldCommands, EveryFoldType) {
  const std::string lead = "@PJL SET OUTBIN = FINISHERFOLD\n@PJL SET COPIERFOLD = OFF\n";
  const char* keys[] = {"BASICREV", "BASICREVW", "FILE",     "FILENOADJ", "FILEREV", "FILEW", "FILEREVW",
                        "BAGREV",   "BAGREVW",   "JISBASIC", "JISFILE",   "JISBAG",  "TWO",   "CROSS"};
  for (int type = 1; type <= 14; ++type) {
    std::string h = "X";
    AppendFoldCommands(h, type, 15);
    EXPECT_EQ(h, "X" + lead + "@PJL SET FOLD = " + keys[type - 1] + "\n@PJL SET FOLDMARGIN = 15\n") << type;
  }
  const int widths[] = {140, 170, 210, 297};
  for (int type = 15; type <= 18; ++type) {
    std::string h;
    AppendFoldCommands(h, type, 15);
    EXPECT_EQ(
        h, lead + "@PJL SET FOLD = ZIGZAG\n@PJL SET FOLDWIDTH = " + std::to_string(widths[type - 15]) + "\n");
  }
  std::string h;
  AppendFoldCommands(h, 19, 15);
  EXPECT_EQ(h, lead + "@PJL SET FOLD = ZIGZAGFILE\n");
  for (int type : {20, -1}) {
    h.clear();
    AppendFoldCommands(h, type, 15);
    EXPECT_EQ(h, lead) << type;
  }
  h.clear();
  AppendFoldCommands(h, 0, 15);
  EXPECT_EQ(h, "");
}

}  // namespace
}  // namespace orvella::printfile
