#pragma once
// The fold type catalogue and the six paper size slots a fold setting covers.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace orvella::settings {

// Size slots in their fixed order (TATE portrait, YOKO landscape sheet).
enum FoldSlot : int { kSlotA0Tate = 0, kSlotA1Tate, kSlotA1Yoko, kSlotA2Tate, kSlotA2Yoko, kSlotA3Tate };
inline constexpr int kFoldSlotCount = 6;

struct FoldSizeSlot {
  std::string_view prefix;       // "A0TATE": the key prefix in FOLD.INI and FOLDERMODEL.INI
  std::string_view displayName;  // "A0縦"
};
inline constexpr std::array<FoldSizeSlot, kFoldSlotCount> kFoldSizeSlots{{
    {"A0TATE", "A0縦"},
    {"A1TATE", "A1縦"},
    {"A1YOKO", "A1横"},
    {"A2TATE", "A2縦"},
    {"A2YOKO", "A2横"},
    {"A3TATE", "A3縦"},
}};

// Fold type numbers: the position in the catalogue.
enum FoldTypeNumber : int {
  kFoldOff = 0,
  kFoldBasicRev,
  kFoldBasicRevW,
  kFoldFile,
  kFoldFileNoAdj,
  kFoldFileRev,
  kFoldFileW,
  kFoldFileRevW,
  kFoldBagRev,
  kFoldBagRevW,
  kFoldJisBasic,
  kFoldJisFile,
  kFoldJisBag,
  kFoldTwo,
  kFoldCross,
  kFoldZigzag140,
  kFoldZigzag170,
  kFoldZigzag210,
  kFoldZigzag297,
  kFoldZigzagFile,
};
inline constexpr int kFoldTypeCount = 20;

struct FoldType {
  std::string_view key;  // as stored, matched exactly
  std::string_view displayName;
};
inline constexpr std::array<FoldType, kFoldTypeCount> kFoldTypes{{
    {"OFF", "なし"},
    {"BASICREV", "基本逆"},
    {"BASICREVW", "基本逆W"},
    {"FILE", "ファイル正"},
    {"FILENOADJ", "ファイル正(調整無し)"},
    {"FILEREV", "ファイル逆"},
    {"FILEW", "ファイル正W"},
    {"FILEREVW", "ファイル逆W"},
    {"BAGREV", "袋逆"},
    {"BAGREVW", "袋逆W"},
    {"JISBASIC", "JIS基本"},
    {"JISFILE", "JISファイル"},
    {"JISBAG", "JIS袋"},
    {"TWO", "二つ"},
    {"CROSS", "クロス"},
    {"ZIGZAG_140", "長尺 140mm"},
    {"ZIGZAG_170", "長尺 170mm"},
    {"ZIGZAG_210", "長尺 210mm"},
    {"ZIGZAG_297", "長尺 297mm"},
    {"ZIGZAGFILE", "長尺 210mm (ﾌｧｲﾙ折)"},
}};

// The number of a fold type key (exact comparison), or nullopt.
std::optional<int> FoldTypeFromKey(std::string_view key);
// The key of a fold type number; empty outside the catalogue.
std::string_view FoldTypeKey(int foldType);

// Binding margin range in millimetres, inclusive.
struct MarginRange {
  int low;
  int high;
  bool IsSingle() const { return low == high; }
  bool Contains(int margin) const { return margin >= low && margin <= high; }
};

// The margin rule of a fold type on a size slot; nullopt when the margin is
// not checked.
std::optional<MarginRange> FoldMarginRule(int foldType, int slot);

// The margins a rule allows: "%d", or "%d ～ %d" for a range.
std::string FoldMarginValues(const MarginRange& rule);

// The rule as the fold edit dialog shows it: "なし", "%d のみ" or "%d ～ %d".
std::string FoldMarginRuleText(const std::optional<MarginRange>& rule);

}  // namespace orvella::settings
