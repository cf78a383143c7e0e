// Tray candidates of each model, the tray choice, automatic paper and the fold.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jobs/fold_decision.h"
#include "jobs/paper_decision.h"
#include "jobs/paper_sizes.h"
#include "jobs/plot_orientation.h"
#include "jobs/tray_choice.h"

namespace orvella::jobs {
namespace {

using settings::A2TraySize;
using settings::PaperType;
using settings::WideTraySize;

// "name(number) W x L", with " roll min-max" for a roll.
std::vector<std::string> Describe(const std::vector<TrayCandidate>& candidates) {
  std::vector<std::string> out;
  for (const auto& c : candidates) {
    std::string text = c.name + "(" + std::to_string(c.trayNumber) + ") ";
    text += c.roll ? "roll " + MmText(c.width) + " " + MmText(c.minLength) + "-" + MmText(c.maxLength)
                   : SizeText(c.width, c.length);
    if (c.paperType == PaperType::kOther) text += " other";
    out.push_back(text);
  }
  return out;
}

settings::PrinterSetting Wide(int model, std::array<WideTraySize, 4> slots) {
  settings::PrinterSetting printer;
  printer.model = model;
  for (int i = 0; i < 4; ++i) printer.trays[i].size = slots[i];
  return printer;
}

TEST(TrayCandidates, EachWideModelOffersItsSlotsAsTheTableSays) {
  using W = WideTraySize;
  struct Case {
    const char* model;
    settings::PrinterSetting printer;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"MODEL_05",
       Wide(0, {W::kRoll210, W::kRoll297, W::kRoll841, W::kA3Tate}),
       {"1(1) 210 x 297", "3(4) roll 210 200-6000", "4(5) 297 x 420", "5(6) 297 x 210",
        "6(8) roll 297 200-6000", "7(9) 841 x 1189", "8(10) 841 x 594", "9(11) roll 841 200-6000"}},
      {"MODEL_04",
       Wide(1, {W::kRoll594, W::kNone, W::kRoll420, W::kRoll297}),
       {"1(1) 594 x 841", "2(2) 594 x 420", "3(4) roll 594 210-6000", "7(9) 420 x 594", "8(10) 420 x 297",
        "9(11) roll 420 250-6000"}},
      {"MODEL_03",
       Wide(2, {W::kRoll420, W::kRoll594, W::kA3Tate, W::kRoll841}),
       {"1(1) 420 x 594", "2(2) 420 x 297", "3(4) roll 420 279-3600", "4(5) 594 x 841", "5(6) 594 x 420",
        "6(8) roll 594 279-3600", "C(9) 297 x 420"}},
      {"MODEL_01: only A3 or A4 portrait in slot 3",
       Wide(4, {W::kNone, W::kNone, W::kRoll594, W::kNone}),
       {}},
      {"MODEL_01", Wide(4, {W::kNone, W::kNone, W::kA4Tate, W::kNone}), {"C(9) 210 x 297"}},
      {"MODEL_02",
       Wide(3, {W::kRoll297, W::kNone, W::kA2Yoko, W::kRoll841}),
       {"1(1) 297 x 420", "2(2) 297 x 210", "3(4) roll 297 210-15000", "C(9) 594 x 420", "10(12) 841 x 1189",
        "11(13) 841 x 594", "12(14) roll 841 210-15000"}},
      {"MODEL_02 slot 4 sheet",
       Wide(3, {W::kNone, W::kNone, W::kRoll420, W::kA4Yoko}),
       {"7(9) 420 x 594", "8(10) 420 x 297", "9(11) roll 420 210-15000", "C2(10) 297 x 210"}},
      {"MODEL_05: a cut sheet value is no roll width",
       Wide(0, {W::kA4Tate, W::kNone, W::kNone, W::kNone}),
       {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Describe(WideTrayCandidates(c.printer)), c.expected) << c.model;

  settings::PrinterSetting a2;
  a2.model = settings::kA2ModelNumber;
  a2.a2Trays[0] = {A2TraySize::kA4Tate, PaperType::kPlain};
  a2.a2Trays[2] = {A2TraySize::kA3Yoko, PaperType::kOther};
  a2.a2Trays[6] = {A2TraySize::kB5Yoko, PaperType::kPlain};
  EXPECT_EQ(Describe(A2TrayCandidates(a2)),
            (std::vector<std::string>{"1(0) 210 x 297", "3(0) 420 x 297 other", "7(0) 257 x 182"}));

  // Fold capability and size index follow the exact sheet size.
  const auto candidates = WideTrayCandidates(Wide(0, {W::kRoll841, W::kNone, W::kNone, W::kNone}));
  EXPECT_EQ(candidates[0].foldCapability, 0x80002142u);
  EXPECT_EQ(candidates[0].sizeIndex, kSizeA0);
  EXPECT_EQ(candidates[1].foldCapability, 0x800024F1u);
  EXPECT_EQ(candidates[2].foldCapability, kAnyTrayBit);
  EXPECT_EQ(candidates[2].sizeIndex, -1);
}

TrayRequest Image(double w, double h, int add = 0, bool autoRotate = true) {
  return {w, h, 12, 12, add, autoRotate, PaperType::kPlain};
}

TEST(TrayChoice, PicksSheetsBeforeRollsThenTheShortestPaper) {
  using W = WideTraySize;
  // A4 portrait on a 210 and a 297 roll: the A4 landscape sheet is shorter.
  const auto a4 = WideTrayCandidates(Wide(0, {W::kRoll210, W::kRoll297, W::kNone, W::kNone}));
  auto chosen = ChooseTray(a4, Image(210, 297));
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->name, "5");
  EXPECT_EQ(chosen->trayNumber, 6);
  EXPECT_TRUE(chosen->rotate);
  // Without rotation only the portrait sheet fits.
  chosen = ChooseTray(a4, Image(210, 297, 0, false));
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->name, "1");
  EXPECT_FALSE(chosen->rotate);
  // 210 x 290 fits the A4 sheet: the roll, 7 mm shorter, is not considered.
  chosen = ChooseTray(a4, Image(210, 290, 0, false));
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->name, "1");

  // 594 x 1500 on a MODEL_05's 594 roll: no sheet, the roll cut to 1500 + 10.
  const auto a1 = WideTrayCandidates(Wide(0, {W::kRoll594, W::kNone, W::kNone, W::kNone}));
  chosen = ChooseTray(a1, Image(594, 1500, 10));
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->name, "3");
  EXPECT_TRUE(chosen->roll);
  EXPECT_EQ(chosen->length, 1510);
  EXPECT_EQ(chosen->area, 594 * 1510);
  EXPECT_FALSE(chosen->rotate);

  // A small image is turned across the roll and cut to the model's minimum.
  chosen = ChooseTray(a1, Image(100, 150));
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->length, 200);
  EXPECT_TRUE(chosen->rotate);

  // A roll cut to an exact foldable size can be folded like the sheet.
  chosen = ChooseTray(WideTrayCandidates(Wide(0, {W::kNone, W::kNone, W::kNone, W::kRoll841})),
                      Image(841, 1100, 89));
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->length, 1189);
  EXPECT_EQ(chosen->foldCapability, 0x80002142u);
}

TEST(TrayChoice, SaysWhyNothingHoldsTheImage) {
  using W = WideTraySize;
  const auto model05 = WideTrayCandidates(Wide(0, {W::kRoll420, W::kNone, W::kNone, W::kNone}));
  const auto longImage = Image(594, 1500);
  EXPECT_FALSE(ChooseTray(model05, longImage));
  EXPECT_EQ(
      NoTrayDetail(model05, longImage),
      "no tray of paper type PLAIN holds 594 x 1500 mm (sheets 420 x 594, 420 x 297; widest roll 420 mm, "
      "cut limits 200-6000 mm)");

  // Longer than any cut the model allows.
  const auto model03 = WideTrayCandidates(Wide(2, {W::kRoll841, W::kNone, W::kNone, W::kNone}));
  EXPECT_FALSE(ChooseTray(model03, Image(841, 3700)));
  EXPECT_TRUE(ChooseTray(model03, Image(841, 3600)));
  // Even turned, too wide and too long for every roll.
  EXPECT_FALSE(ChooseTray(model03, Image(5000, 5000)));

  // Only the folder's paper type counts.
  auto other = Image(420, 594);
  other.paperType = PaperType::kOther;
  EXPECT_FALSE(ChooseTray(model05, other));
  EXPECT_EQ(NoTrayDetail(model05, other),
            "no tray of paper type OTHER holds 420 x 594 mm (the printer has no paper of that type)");
}

TEST(TrayChoice, AutomaticPaperTakesTheSmallestFittingSize) {
  auto paper = AutomaticPaper(300, 200, 5, false);
  ASSERT_TRUE(paper);
  EXPECT_EQ(paper->name, "0");
  EXPECT_EQ(SizeText(paper->width, paper->length), "297 x 210");
  paper = AutomaticPaper(250, 360, 5, true);
  ASSERT_TRUE(paper);
  EXPECT_EQ(SizeText(paper->width, paper->length), "257 x 364");
  EXPECT_FALSE(AutomaticPaper(900, 1300, 5, false));
}

// The whole paper decision over values: the tray or automatic size, then the
// fold, each failure with its message; a fold that fails keeps the paper.
TEST(PaperDecision, ChoosesThePaperThenTheFold) {
  using W = WideTraySize;
  settings::FoldSetting fold;
  fold.name = "折り";
  OperationSettings settings;
  settings.folds = {fold};
  settings.preferences.marginPlus = 5;
  const settings::PrinterSetting a4Rolls = Wide(0, {W::kRoll210, W::kRoll297, W::kNone, W::kNone});
  const settings::PrinterSetting narrow = Wide(0, {W::kRoll420, W::kNone, W::kNone, W::kNone});
  struct Case {
    const char* name;
    const settings::PrinterSetting& printer;
    double w, l, magnification;
    bool automatic, decideFold, a4Rule;
    const char* foldName;
    const char* message;  // "" when decided
    const char* paper;    // "name W x L", "" for none
    int foldType;
  };
  const Case cases[] = {
      {"A4 turned onto the landscape sheet, JIS fold by the A4 feed", a4Rolls, 210, 297, 100, false, true,
       true, "折り", "", "5 297 x 210", settings::kFoldJisBasic},
      {"a plot takes no A4 feed fold", a4Rolls, 210, 297, 100, false, true, false, "折り", "", "5 297 x 210",
       0},
      {"A2 at 50 % is A4", a4Rolls, 420, 594, 50, false, true, true, "", "", "5 297 x 210", 0},
      {"no fold decided for an A2-or-smaller printer", a4Rolls, 210, 297, 100, false, false, true, "無い", "",
       "5 297 x 210", 0},
      {"a missing fold setting keeps the paper", a4Rolls, 297, 420, 100, false, true, true, "無い",
       "紙折エラー", "4 297 x 420", 0},
      {"no tray holds it", narrow, 594, 1500, 100, false, true, true, "", "トレイ選択不可", "", 0},
      {"automatic paper", narrow, 300, 200, 100, true, false, true, "", "", "0 297 x 210", 0},
      {"no standard size holds it", narrow, 900, 1300, 100, true, false, true, "", "定型用紙判定エラー", "",
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    settings::InputFolderSetting folder;
    folder.autoRotate = true;
    folder.wideFoldName = c.foldName;
    folder.wideA4Fold = true;
    const OutputChoice output{0, c.magnification, c.w, c.l};
    PaperAnswer answer;
    base::Failure failure;
    const bool decided = DecidePaper(
        {folder, settings, c.printer, output, PaperType::kPlain, c.automatic, c.decideFold, c.a4Rule}, answer,
        failure);
    EXPECT_EQ(decided, *c.message == '\0');
    EXPECT_EQ(decided ? "" : failure.message, c.message);
    EXPECT_EQ(decided, failure.detail.empty());
    EXPECT_EQ(
        answer.paper ? answer.paper->name + " " + SizeText(answer.paper->width, answer.paper->length) : "",
        c.paper);
    EXPECT_EQ(answer.fold.type, c.foldType);
  }
}

TEST(FoldDecision, TakesTheFoldOfTheSheetsSizeSlot) {
  settings::FoldSetting fold;
  fold.name = "折り";
  fold.foldTypes[settings::kSlotA2Yoko] = settings::kFoldCross;
  fold.foldTypes[settings::kSlotA1Tate] = settings::kFoldZigzag210;
  fold.margins[settings::kSlotA1Tate] = 20;
  fold.foldTypes[settings::kSlotA3Tate] = 42;  // not in the catalogue
  const std::vector<settings::FoldSetting> folds{fold};
  struct Case {
    const char* name;
    const char* foldName;
    bool a4Feed;
    int model;
    double w, l;
    bool a4Rule;
    bool ok;
    int type, margin;
  };
  const Case cases[] = {
      {"no fold named", "", true, 0, 594, 420, true, true, 0, 0},
      {"A2 landscape, margin -1 is 0", "折り", false, 0, 594, 420, true, true, settings::kFoldCross, 0},
      {"A1 portrait with margin", "折り", false, 0, 594, 841, true, true, settings::kFoldZigzag210, 20},
      {"A4 feed on a MODEL_05", "折り", true, 0, 297, 210, true, true, settings::kFoldJisBasic, 0},
      {"A4 feed on another model", "折り", true, 1, 297, 210, true, true, 0, 0},
      {"A4 feed for a plot", "折り", true, 0, 297, 210, false, true, 0, 0},
      {"a roll cut no folding slot has", "折り", false, 0, 594, 1500, true, true, 0, 0},
      {"fold type out of the catalogue", "折り", false, 0, 297, 420, true, false, 0, 0},
      {"missing fold setting", "無い", false, 0, 594, 420, true, false, 0, 0},
  };
  for (const Case& c : cases) {
    settings::InputFolderSetting folder;
    folder.wideFoldName = c.foldName;
    folder.wideA4Fold = c.a4Feed;
    FoldChoice choice;
    base::Failure failure;
    EXPECT_EQ(DecideFold(folder, folds, c.model, SheetCandidate("1", 1, c.w, c.l, PaperType::kPlain),
                         c.a4Rule, choice, failure),
              c.ok)
        << c.name;
    if (!c.ok) {
      EXPECT_EQ(failure.message, "紙折エラー") << c.name;
      continue;
    }
    EXPECT_EQ(choice.type, c.type) << c.name;
    EXPECT_EQ(choice.margin, c.margin) << c.name;
  }
}

TEST(PlotOrientation, TurnsDriverLayoutsAndAnglesThePage) {
  settings::Preferences preferences;  // A0 and A4 data taken as landscape
  const SizeTolerance tolerance{5, 5, false};
  struct Case {
    PlotShape plot;
    int model;
    bool turned;
  };
  const Case cases[] = {
      {{500, 1000, true, false}, 0, true},    // long portrait, non-standard
      {{500, 1000, true, true}, 0, false},    // LF-only first line: never
      {{500, 1000, false, false}, 0, false},  // no envelope: never
      {{841, 1189, true, false}, 0, true},    // A0, landscape data
      {{210, 297, true, false}, 2, true},     // A4 on a MODEL_03, landscape data
      {{210, 297, true, false}, 0, false},    // A4 on a MODEL_05 needs portrait data
      {{420, 594, true, false}, 2, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TurnsMeasuredPlot(c.plot, tolerance, c.model, preferences), c.turned)
        << c.plot.width << "x" << c.plot.height << " model " << c.model;
  }
  EXPECT_EQ(PlotPageAngle(297, 420, 420, 297, 0), 90);
  EXPECT_EQ(PlotPageAngle(297, 420, 297, 420, 1), 90);
  EXPECT_EQ(PlotPageAngle(420, 297, 297, 420, 2), 0);  // 90 + 270
  EXPECT_EQ(PlotExtraRotation({210, 297, true, false}, 0), 180);
  EXPECT_EQ(PlotExtraRotation({297, 210, true, false}, 0), 0);
  EXPECT_EQ(PlotExtraRotation({297, 210, true, true}, 3), 180);
  EXPECT_EQ(PlotExtraRotation({297, 210, true, false}, 1), 180);
  EXPECT_EQ(PlotExtraRotation({210, 297, false, false}, 0), 0);
}

}  // namespace
}  // namespace orvella::jobs
