#include "settings/window_settings.h"

#include <climits>
#include <cstdio>

#include "settings/ini_file.h"

namespace orvella::settings {
namespace {

constexpr std::string_view kFile = "/INI/WINDOW.INI";
constexpr std::string_view kXPos = "XPOS";
constexpr std::string_view kYPos = "YPOS";
constexpr std::string_view kXSize = "XSIZE";
constexpr std::string_view kYSize = "YSIZE";
constexpr std::string_view kMaximized = "IS_MAXIMIZED";
constexpr int kMissing = INT_MIN;

IniFile WindowFile(const std::filesystem::path& program) { return IniFile{program, std::string(kFile)}; }

std::string ColumnKey(int column) {
  char key[32];
  std::snprintf(key, sizeof key, "COL_%02d_SIZE", column);
  return key;
}

// The stored top-left corner, or nullopt when XPOS is missing. A missing
// YPOS is left far above the screen for the work-area step to bring back.
std::optional<WindowRect> StoredPosition(const IniReader& ini, std::string_view section,
                                         const WindowRect& present) {
  const int x = ini.ReadInt(section, kXPos, kMissing);
  if (x == kMissing) return std::nullopt;
  return WindowRect{x, ini.ReadInt(section, kYPos, kMissing), present.width, present.height};
}

}  // namespace

void SaveWindowPlacement(const std::filesystem::path& program, std::string_view section,
                         const WindowState& state) {
  const WindowRect& rect = state.shownNormally ? state.current : state.normal;
  const IniFile file = WindowFile(program);
  IniBatch batch(file);
  batch.WriteInt(section, kXPos, rect.x);
  batch.WriteInt(section, kYPos, rect.y);
  batch.WriteInt(section, kXSize, rect.width);
  batch.WriteInt(section, kYSize, rect.height);
  batch.WriteBool(section, kMaximized, state.maximized ? 1 : 0);
  batch.Commit();
}

RestoredPlacement RestoreWindowPlacement(const std::filesystem::path& program, std::string_view section,
                                         const WindowRect& present, const std::optional<WindowRect>& parent,
                                         const ScreenMetrics& screen) {
  const IniFile ini = WindowFile(program);  // an unreadable file reads as empty: the window is centred
  RestoredPlacement out;
  out.maximized = ini.ReadBool(section, kMaximized, 0) == 1;
  auto rect = StoredPosition(ini, section, present);
  if (!rect) {
    out.rect = CentreWindow(present.width, present.height, parent, screen.workArea);
    return out;
  }
  rect->width = ini.ReadInt(section, kXSize, 0);
  rect->height = ini.ReadInt(section, kYSize, 0);
  out.rect = FitRestoredRect(*rect, screen);
  return out;
}

void SaveWindowPosition(const std::filesystem::path& program, std::string_view section, int x, int y) {
  const IniFile file = WindowFile(program);
  IniBatch batch(file);
  batch.WriteInt(section, kXPos, x);
  batch.WriteInt(section, kYPos, y);
  batch.Commit();
}

WindowRect RestoreWindowPosition(const std::filesystem::path& program, std::string_view section,
                                 const WindowRect& present, const std::optional<WindowRect>& parent,
                                 const WindowRect& workArea) {
  auto rect = StoredPosition(WindowFile(program), section, present);
  if (!rect) return CentreWindow(present.width, present.height, parent, workArea);
  return KeepInWorkArea(*rect, workArea);
}

void SaveColumnWidths(const std::filesystem::path& program, std::string_view section,
                      const std::vector<int>& widths) {
  const IniFile file = WindowFile(program);
  IniBatch batch(file);
  for (size_t i = 0; i < widths.size(); ++i)
    batch.WriteInt(section, ColumnKey(static_cast<int>(i)), widths[i]);
  batch.Commit();
}

std::vector<int> RestoreColumnWidths(const std::filesystem::path& program, std::string_view section,
                                     int count) {
  const IniFile ini = WindowFile(program);
  std::vector<int> widths;
  for (int i = 0; i < count; ++i) widths.push_back(ini.ReadInt(section, ColumnKey(i), -1));
  return widths;
}

}  // namespace orvella::settings
