#pragma once
// Window positions, sizes and list column widths (WINDOW.INI), one section
// per window. The GUI supplies the window's state and screen metrics and
// applies the rectangles these functions give back.
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "settings/window_placement.h"

namespace orvella::settings {

// Section names, one per window.
namespace window_section {
inline constexpr std::string_view kInputEdit = "INPUTEDIT_WIN";  // the folder settings window
inline constexpr std::string_view kJob = "JOB_WIN";
inline constexpr std::string_view kFoldList = "FOLDLIST_WIN";
inline constexpr std::string_view kFoldEdit = "FOLDEDIT_WIN";
inline constexpr std::string_view kPrinterList = "PRINTERLIST_WIN";
inline constexpr std::string_view kPrinterEdit = "PRINTEREDIT_WIN";
inline constexpr std::string_view kPreference = "PREFERENCE_WIN";
inline constexpr std::string_view kStampList = "STAMPLIST_WIN";
inline constexpr std::string_view kStampEdit = "STAMPEDIT_WIN";
}  // namespace window_section

struct WindowState {
  WindowRect current;  // the rectangle on screen now
  WindowRect normal;   // the restored rectangle of a maximised or minimised window
  bool shownNormally = true;
  bool maximized = false;
};

struct RestoredPlacement {
  WindowRect rect;  // the normal rectangle: the window un-maximises to it
  bool maximized = false;
};

// Stores the normal rectangle (the current one when shown normally) and
// whether the window is maximised, all in one write.
void SaveWindowPlacement(const std::filesystem::path& program, std::string_view section,
                         const WindowState& state);

// The stored rectangle fitted to the screen, or, when no position is stored,
// the present size centred over the parent (or the work area). A stored
// position without a size gives size 0, which the fitting widens.
RestoredPlacement RestoreWindowPlacement(const std::filesystem::path& program, std::string_view section,
                                         const WindowRect& present, const std::optional<WindowRect>& parent,
                                         const ScreenMetrics& screen);

// Fixed-size dialogs: the position only.
void SaveWindowPosition(const std::filesystem::path& program, std::string_view section, int x, int y);
// The stored position with the present size kept in the work area, or the
// present size centred over the parent when no position is stored.
WindowRect RestoreWindowPosition(const std::filesystem::path& program, std::string_view section,
                                 const WindowRect& present, const std::optional<WindowRect>& parent,
                                 const WindowRect& workArea);

// COL_00_SIZE, COL_01_SIZE, ... in one write.
void SaveColumnWidths(const std::filesystem::path& program, std::string_view section,
                      const std::vector<int>& widths);
// count widths; -1 for a column whose width is not stored (it keeps its own).
std::vector<int> RestoreColumnWidths(const std::filesystem::path& program, std::string_view section,
                                     int count);

}  // namespace orvella::settings
