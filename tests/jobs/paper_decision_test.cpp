// Size recognition, output settings, printer routing and the whole-file test.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "jobs/paper_sizes.h"
#include "jobs/printer_routing.h"

namespace orvella::jobs {
namespace {

using settings::InputFolderSetting;
using settings::InputSize;
using settings::OutputTarget;
using settings::Rotation;

TEST(PaperSizes, RecognisesSizesWithinTheToleranceOfTheSeriesInUse) {
  struct Case {
    double w, h;
    int plus, minus;
    bool seriesB;
    std::optional<int> expected;
  };
  const Case cases[] = {
      {420, 594, 5, 5, false, kSizeA2},        {425, 599, 5, 5, false, kSizeA2},  // bounds are inclusive
      {425, 600, 5, 5, false, std::nullopt},   {415, 589, 5, 5, false, kSizeA2},
      {414, 589, 5, 5, false, std::nullopt},   {297, 210, 0, 0, false, kSizeA4},  // either orientation
      {594, 841, 12, 12, true, std::nullopt},  // A sizes are not standard in B mode
      {257, 364, 12, 12, false, std::nullopt}, {257, 364, 12, 12, true, kSizeB4},
      {182, 257, 0, 0, true, kSizeB5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RecognizeStandardSize(c.w, c.h, {c.plus, c.minus, c.seriesB}), c.expected) << c.w << "x" << c.h;
  }
  EXPECT_EQ(SmallestFittingSize(100, 100, 0, false), kSizeA4);
  EXPECT_EQ(SmallestFittingSize(425, 599, 5, false), kSizeA2);
  EXPECT_EQ(SmallestFittingSize(425, 600, 5, false), kSizeA1);
  EXPECT_EQ(SmallestFittingSize(900, 1300, 5, false), std::nullopt);
  EXPECT_EQ(SmallestFittingSize(250, 300, 0, true), kSizeB4);
}

TEST(PaperSizes, OutputSettingsGiveRotationAndMagnification) {
  InputFolderSetting folder;
  folder.outputs[static_cast<int>(InputSize::kA3)] = {OutputTarget::kA2, 100, Rotation::kNone};
  folder.outputs[static_cast<int>(InputSize::kA4)] = {OutputTarget::kMag, 50, Rotation::kRight90};
  folder.outputs[static_cast<int>(InputSize::kInfixed)] = {OutputTarget::kMag, 0, Rotation::kNone};
  const SizeTolerance tolerance{5, 5, false};
  OutputChoice out;
  std::string detail;

  ASSERT_TRUE(DecideOutput(folder, 297, 420, tolerance, out, detail));  // A3 fitted into A2
  EXPECT_NEAR(out.magnification, 141.41, 0.01);
  EXPECT_EQ(out.rotation, 0);

  ASSERT_TRUE(DecideOutput(folder, 210, 297, tolerance, out, detail));  // a quarter turn swaps the sides
  EXPECT_EQ(out.magnification, 50);
  EXPECT_EQ(out.rotation, 1);
  EXPECT_EQ(out.width, 297);
  EXPECT_EQ(out.length, 210);

  folder.useOutputSetting = false;
  ASSERT_TRUE(DecideOutput(folder, 1000, 3000, tolerance, out, detail));
  EXPECT_EQ(out.magnification, 100);

  // A hand-edited 0 % and sizes that are no sizes are refused, not divided by.
  folder.useOutputSetting = true;
  EXPECT_FALSE(DecideOutput(folder, 1000, 3000, tolerance, out, detail));
  EXPECT_NE(detail.find("INFIXED gives a magnification of 0.00 %"), std::string::npos) << detail;
  for (double bad : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_FALSE(DecideOutput(folder, bad, 297, tolerance, out, detail)) << bad;
  }
}

TEST(PrinterRouting, SendsSmallSizesToTheA2PrinterByThreshold) {
  struct Case {
    double w, h, magnification;
    settings::A2Threshold threshold;
    bool seriesB;
    const char* wide;
    const char* a2;
    PrinterClass expected;
  };
  using T = settings::A2Threshold;
  constexpr auto kWide = PrinterClass::kWide;
  constexpr auto kA2 = PrinterClass::kA2;
  const Case cases[] = {
      {420, 594, 100, T::kA2, false, "W", "S", kA2},
      {425, 600, 100, T::kA2, false, "W", "S", kWide},  // over the allowance
      {420, 594, 100, T::kA3, false, "W", "S", kWide},
      {297, 420, 100, T::kA3, false, "W", "S", kA2},
      {297, 420, 141, T::kA3, false, "W", "S", kWide},  // magnified to A2
      {297, 420, 100, T::kA4, false, "W", "S", kWide},
      {841, 1189, 100, T::kA2, false, "W", "S", kWide},
      {2000, 3000, 100, T::kA2, false, "W", "S", kWide},  // fits nothing
      {594, 841, 100, T::kA2, true, "W", "S", kA2},       // B mode: everything to the A2 printer
      {210, 297, 100, T::kA2, false, "W", "", kWide},
      {841, 1189, 100, T::kA2, false, "", "S", kA2},
      {841, 1189, 100, T::kA2, false, "", "", kA2},
  };
  for (const Case& c : cases) {
    InputFolderSetting folder;
    folder.a2Threshold = c.threshold;
    folder.widePrinterName = c.wide;
    folder.a2PrinterName = c.a2;
    settings::HiddenSettings hidden;
    hidden.enablePaperSizeB = c.seriesB;
    EXPECT_EQ(RoutePage(folder, hidden, 5, c.w, c.h, c.magnification), c.expected)
        << c.w << "x" << c.h << " at " << c.magnification;
  }
}

TEST(PrinterRouting, WholeFileOnlyForTheA2PrinterWithFinishing) {
  struct Case {
    const char* name;
    void (*set)(InputFolderSetting&, settings::HiddenSettings&);
    int pages;
    bool expected;
  };
  const Case cases[] = {
      {"nothing", [](InputFolderSetting&, settings::HiddenSettings&) {}, 3, false},
      {"staple, 2 pages",
       [](InputFolderSetting& f, settings::HiddenSettings&) { f.staple = settings::StapleMode::kLeftTop; }, 2,
       true},
      {"staple, 1 page",
       [](InputFolderSetting& f, settings::HiddenSettings&) { f.staple = settings::StapleMode::kLeftTop; }, 1,
       false},
      {"2-up, 1 page with single-page options",
       [](InputFolderSetting& f, settings::HiddenSettings&) {
         f.twoUp = true;
         f.singleTiffA2Option = true;
       },
       1, true},
      {"duplex and punch, 1 page: duplex decides",
       [](InputFolderSetting& f, settings::HiddenSettings&) {
         f.duplex = settings::DuplexMode::kBothSide;
         f.punch = settings::PunchMode::kLeft;
       },
       1, false},
      {"punch", [](InputFolderSetting& f, settings::HiddenSettings&) { f.punch = settings::PunchMode::kTop; },
       1, true},
      {"auto paper", [](InputFolderSetting& f, settings::HiddenSettings&) { f.autoPaper = true; }, 1, true},
      {"Z-fold disabled",
       [](InputFolderSetting& f, settings::HiddenSettings&) { f.zFold = settings::ZFoldMode::kZLeft; }, 2,
       false},
      {"Z-fold enabled",
       [](InputFolderSetting& f, settings::HiddenSettings& h) {
         f.zFold = settings::ZFoldMode::kZLeft;
         h.enableZFold = true;
       },
       2, true},
  };
  for (const Case& c : cases) {
    InputFolderSetting folder;
    settings::HiddenSettings hidden;
    c.set(folder, hidden);
    EXPECT_EQ(WantsWholeFile(folder, hidden, PrinterClass::kA2, c.pages), c.expected) << c.name;
    EXPECT_FALSE(WantsWholeFile(folder, hidden, PrinterClass::kWide, c.pages)) << c.name;
  }
}

}  // namespace
}  // namespace orvella::jobs
