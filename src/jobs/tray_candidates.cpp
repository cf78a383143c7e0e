#include "jobs/tray_candidates.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "jobs/fold_decision.h"
#include "jobs/paper_sizes.h"

namespace orvella::jobs {
namespace {

using settings::WideTraySize;

struct Tray {
  const char* name;
  int number;
};
// Per slot: the sheet along the roll, the sheet across it, the roll.
constexpr std::array<std::array<Tray, 3>, settings::kWideTrayCount> kRollTrays{{
    {{{"1", 1}, {"2", 2}, {"3", 4}}},
    {{{"4", 5}, {"5", 6}, {"6", 8}}},
    {{{"7", 9}, {"8", 10}, {"9", 11}}},
    {{{"10", 12}, {"11", 13}, {"12", 14}}},
}};

enum class SlotKind {
  kUnused,
  kRoll,
  kRollOrSheet,  // a roll, or any cut sheet size as the sheet tray
  kA3A4Sheet,    // only an A3 or A4 portrait sheet tray
};

struct SlotRule {
  SlotKind kind = SlotKind::kUnused;
  double minCut = 0;
  double maxCut = 0;
  Tray sheetTray{"", 0};
};

using ModelRule = std::array<SlotRule, settings::kWideTrayCount>;

constexpr SlotRule Roll(double minCut, double maxCut) { return {SlotKind::kRoll, minCut, maxCut, {"", 0}}; }

constexpr SlotRule kSheetC{SlotKind::kA3A4Sheet, 0, 0, {"C", 9}};
constexpr ModelRule kModel05{{Roll(200, 6000), Roll(200, 6000), Roll(200, 6000), Roll(200, 6000)}};
constexpr ModelRule kModel04{{Roll(210, 6000), Roll(210, 6000), Roll(250, 6000), {}}};
constexpr ModelRule kModel03{{Roll(279, 3600), Roll(279, 3600), kSheetC, {}}};
constexpr ModelRule kModel02{{Roll(210, 15000),
                              Roll(210, 15000),
                              {SlotKind::kRollOrSheet, 210, 15000, {"C", 9}},
                              {SlotKind::kRollOrSheet, 210, 15000, {"C2", 10}}}};
// By wide model number: MODEL_05, MODEL_04, MODEL_03, MODEL_02, MODEL_01.
constexpr std::array<const ModelRule*, settings::kWideModelCount> kModelRules{&kModel05, &kModel04, &kModel03,
                                                                              &kModel02, &kModel03};

double RollWidth(WideTraySize size) {
  switch (size) {
    case WideTraySize::kRoll210:
      return 210;
    case WideTraySize::kRoll297:
      return 297;
    case WideTraySize::kRoll420:
      return 420;
    case WideTraySize::kRoll594:
      return 594;
    case WideTraySize::kRoll841:
      return 841;
    default:
      return 0;
  }
}

// Width x length of the cut sheets in A2TraySize order. The sheet values of a
// wide tray (A2YOKO to A4YOKO) are the first five in the same order.
constexpr std::array<std::pair<double, double>, 10> kSheetSizes{{
    {0, 0},
    {594, 420},
    {297, 420},
    {420, 297},
    {210, 297},
    {297, 210},
    {257, 364},
    {364, 257},
    {182, 257},
    {257, 182},
}};

// Width x length of a cut sheet slot value; nullopt for a roll or none.
std::optional<std::pair<double, double>> SheetSize(WideTraySize size) {
  const int value = static_cast<int>(size), first = static_cast<int>(WideTraySize::kA2Yoko);
  if (value < first || value > static_cast<int>(WideTraySize::kA4Yoko)) return std::nullopt;
  return kSheetSizes[static_cast<std::size_t>(value - first +
                                              static_cast<int>(settings::A2TraySize::kA2Yoko))];
}

// The other side of the standard size that has a side of width mm as its
// short (along) or long (across) side; 0 when there is none.
double OtherSide(double width, bool along) {
  for (const PaperSize& size : kStandardSizes) {
    if (along && size.shortSide == width) return size.longSide;
    if (!along && size.longSide == width) return size.shortSide;
  }
  return 0;
}

void AddRollSlot(int slot, double width, const SlotRule& rule, settings::PaperType type,
                 std::vector<TrayCandidate>& out) {
  const auto& trays = kRollTrays[slot];
  for (int i = 0; i < 2; ++i) {
    // A roll with no standard size along or across it gives no such sheet.
    if (const double length = OtherSide(width, i == 0); length > 0)
      out.push_back(SheetCandidate(trays[i].name, trays[i].number, width, length, type));
  }
  TrayCandidate roll;
  roll.name = trays[2].name;
  roll.trayNumber = trays[2].number;
  roll.width = width;
  roll.roll = true;
  roll.minLength = rule.minCut;
  roll.maxLength = rule.maxCut;
  roll.paperType = type;
  out.push_back(std::move(roll));
}

void AddSheetTray(const Tray& tray, WideTraySize size, settings::PaperType type,
                  std::vector<TrayCandidate>& out) {
  if (const auto sheet = SheetSize(size))
    out.push_back(SheetCandidate(tray.name, tray.number, sheet->first, sheet->second, type));
}

}  // namespace

TrayCandidate SheetCandidate(std::string name, int trayNumber, double width, double length,
                             settings::PaperType type) {
  TrayCandidate c;
  c.name = std::move(name);
  c.trayNumber = trayNumber;
  c.sizeIndex = ExactStandardSize(width, length);
  c.width = width;
  c.length = length;
  c.paperType = type;
  c.foldCapability = FoldCapability(width, length);
  c.area = width * length;
  return c;
}

std::vector<TrayCandidate> WideTrayCandidates(const settings::PrinterSetting& printer) {
  std::vector<TrayCandidate> out;
  if (printer.model < 0 || printer.model >= settings::kWideModelCount) return out;
  const ModelRule& rules = *kModelRules[printer.model];
  for (int slot = 0; slot < settings::kWideTrayCount; ++slot) {
    const SlotRule& rule = rules[slot];
    const settings::WideTray& tray = printer.trays[slot];
    const double width = RollWidth(tray.size);
    switch (rule.kind) {
      case SlotKind::kUnused:
        break;
      case SlotKind::kRoll:
        if (width > 0) AddRollSlot(slot, width, rule, tray.type, out);
        break;
      case SlotKind::kRollOrSheet:
        if (width > 0) AddRollSlot(slot, width, rule, tray.type, out);
        AddSheetTray(rule.sheetTray, tray.size, tray.type, out);
        break;
      case SlotKind::kA3A4Sheet:
        if (tray.size == WideTraySize::kA3Tate || tray.size == WideTraySize::kA4Tate)
          AddSheetTray(rule.sheetTray, tray.size, tray.type, out);
        break;
    }
  }
  return out;
}

std::vector<TrayCandidate> A2TrayCandidates(const settings::PrinterSetting& printer) {
  std::vector<TrayCandidate> out;
  const auto model = settings::PrinterModelInfo(printer.model);
  const int trays = std::min(model ? model->highestTray : settings::kA2TrayCount, settings::kA2TrayCount);
  for (int t = 0; t < trays; ++t) {
    const settings::A2Tray& tray = printer.a2Trays[t];
    const auto code = static_cast<std::size_t>(tray.size);
    if (tray.size == settings::A2TraySize::kNone || code >= kSheetSizes.size()) continue;
    out.push_back(SheetCandidate(std::to_string(t + 1), 0, kSheetSizes[code].first, kSheetSizes[code].second,
                                 tray.type));
  }
  return out;
}

}  // namespace orvella::jobs
