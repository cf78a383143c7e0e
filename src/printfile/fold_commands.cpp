#include "printfile/fold_commands.h"

#include <array>
#include <string_view>

namespace orvella::printfile {
namespace {

// PJL FOLD values of fold types 1..14; 15..18 are ZIGZAG with a width.
constexpr std::array<std::string_view, 15> kFoldValues = {
    "",       "BASICREV", "BASICREVW", "FILE",    "FILENOADJ", "FILEREV", "FILEW", "FILEREVW",
    "BAGREV", "BAGREVW",  "JISBASIC",  "JISFILE", "JISBAG",    "TWO",     "CROSS"};
constexpr std::array<int, 4> kZigzagWidths = {140, 170, 210, 297};

}  // namespace

void AppendFoldCommands(std::string& header, int foldType, int foldMargin) {
  if (foldType == 0) return;
  header += "@PJL SET OUTBIN = FINISHERFOLD\n@PJL SET COPIERFOLD = OFF\n";
  if (foldType >= 1 && foldType <= 14) {
    header += "@PJL SET FOLD = ";
    header += kFoldValues[static_cast<size_t>(foldType)];
    header += "\n@PJL SET FOLDMARGIN = " + std::to_string(foldMargin) + "\n";
  } else if (foldType >= 15 && foldType <= 18) {
    header += "@PJL SET FOLD = ZIGZAG\n@PJL SET FOLDWIDTH = " +
              std::to_string(kZigzagWidths[static_cast<size_t>(foldType - 15)]) + "\n";
  } else if (foldType == 19) {
    header += "@PJL SET FOLD = ZIGZAGFILE\n";
  }
}

}  // namespace orvella::printfile
