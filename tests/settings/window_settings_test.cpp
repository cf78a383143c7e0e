#include "settings/window_settings.h"

#include <gtest/gtest.h>

#include <climits>

#include "settings_home.h"

namespace orvella::settings {
namespace {

// A 1920×1080 screen with a 40-pixel panel at the bottom.
const ScreenMetrics kScreen{136, 39, 1932, 1052, {0, 0, 1920, 1040}};

TEST(WindowPlacement, FittingToTheScreen) {
  struct Case {
    WindowRect stored, fitted;
  };
  const Case cases[] = {
      {{100, 100, 800, 600}, {100, 100, 800, 600}},    // fits
      {{100, 100, 0, 0}, {100, 100, 136, 39}},         // below the minimum
      {{0, 0, 5000, 5000}, {-12, -12, 1932, 1052}},    // above the maximised size, then ends held at the edge
      {{-300, -50, 800, 600}, {0, 0, 800, 600}},       // left of and above the work area
      {{1800, 900, 800, 600}, {1120, 440, 800, 600}},  // beyond the right and bottom edges
      {{INT_MAX, INT_MIN, 800, 600}, {1120, 0, 800, 600}},  // hand-edited extremes do not overflow
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FitRestoredRect(c.stored, kScreen), c.fitted) << c.stored.x << "," << c.stored.y;
  }
}

TEST(WindowPlacement, CentringOverParentOrWorkArea) {
  EXPECT_EQ(CentreWindow(400, 300, WindowRect{100, 100, 800, 600}, kScreen.workArea),
            (WindowRect{300, 250, 400, 300}));
  EXPECT_EQ(CentreWindow(400, 300, std::nullopt, kScreen.workArea), (WindowRect{760, 370, 400, 300}));
  // A parent near the corner: the dialog is pulled back inside.
  EXPECT_EQ(CentreWindow(400, 300, WindowRect{-200, 900, 300, 200}, kScreen.workArea),
            (WindowRect{0, 740, 400, 300}));
  // Larger than the work area: the right and bottom edges win.
  EXPECT_EQ(CentreWindow(2000, 1100, std::nullopt, kScreen.workArea), (WindowRect{-80, -60, 2000, 1100}));
}

TEST(WindowSettings, MaximisedWindowKeepsItsNormalRectangle) {
  test::SettingsHome home;
  WindowState state;
  state.current = {-8, -8, 1936, 1056};
  state.normal = {200, 150, 900, 700};
  state.shownNormally = false;
  state.maximized = true;
  SaveWindowPlacement(home.Path(), window_section::kJob, state);
  EXPECT_EQ(home.ReadIni("WINDOW.INI"),
            "[JOB_WIN]\nXPOS=\"200\"\nYPOS=\"150\"\nXSIZE=\"900\"\nYSIZE=\"700\"\nIS_MAXIMIZED=\"TRUE\"\n");
  const auto restored =
      RestoreWindowPlacement(home.Path(), window_section::kJob, {0, 0, 640, 480}, std::nullopt, kScreen);
  EXPECT_TRUE(restored.maximized);
  EXPECT_EQ(restored.rect, (WindowRect{200, 150, 900, 700}));

  state.shownNormally = true;
  state.maximized = false;
  state.current = {10, 20, 300, 400};
  SaveWindowPlacement(home.Path(), window_section::kJob, state);
  EXPECT_FALSE(
      RestoreWindowPlacement(home.Path(), window_section::kJob, {}, std::nullopt, kScreen).maximized);
}

TEST(WindowSettings, MissingKeysRestoreSensibly) {
  test::SettingsHome home;
  home.WriteIni("WINDOW.INI", "[INPUTEDIT_WIN]\nXPOS=\"50\"\nYPOS=\"60\"\n[FOLDLIST_WIN]\nYPOS=\"60\"\n");
  // A position without a size: width and height 0, widened to the minimum.
  auto restored = RestoreWindowPlacement(home.Path(), window_section::kInputEdit, {0, 0, 640, 480},
                                         std::nullopt, kScreen);
  EXPECT_EQ(restored.rect, (WindowRect{50, 60, 136, 39}));
  // No XPOS: the present size centred over the parent.
  restored = RestoreWindowPlacement(home.Path(), window_section::kFoldList, {0, 0, 400, 300},
                                    WindowRect{0, 0, 1000, 1000}, kScreen);
  EXPECT_EQ(restored.rect, (WindowRect{300, 350, 400, 300}));
  EXPECT_FALSE(restored.maximized);

  // Fixed-size dialogs keep their size and are held in the work area.
  SaveWindowPosition(home.Path(), window_section::kPrinterEdit, 1900, 20);
  EXPECT_EQ(RestoreWindowPosition(home.Path(), window_section::kPrinterEdit, {0, 0, 300, 200}, std::nullopt,
                                  kScreen.workArea),
            (WindowRect{1620, 20, 300, 200}));
  EXPECT_EQ(RestoreWindowPosition(home.Path(), window_section::kStampEdit, {0, 0, 300, 200},
                                  WindowRect{0, 0, 700, 500}, kScreen.workArea),
            (WindowRect{200, 150, 300, 200}));
}

TEST(WindowSettings, ColumnWidths) {
  test::SettingsHome home;
  SaveColumnWidths(home.Path(), window_section::kPrinterList, {180, 120});
  EXPECT_EQ(RestoreColumnWidths(home.Path(), window_section::kPrinterList, 3),
            (std::vector<int>{180, 120, -1}));
  EXPECT_NE(home.ReadIni("WINDOW.INI").find("COL_01_SIZE=\"120\""), std::string::npos);
}

}  // namespace
}  // namespace orvella::settings
