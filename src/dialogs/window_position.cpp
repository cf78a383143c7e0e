#include "dialogs/window_position.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTreeWidget>
#include <optional>
#include <vector>

#include "settings/settings_error.h"
#include "settings/window_settings.h"

namespace orvella::dialogs {
namespace {

settings::WindowRect ToRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

std::optional<settings::WindowRect> ParentRect(const QWidget& window) {
  if (QWidget* owner = window.parentWidget()) return ToRect(owner->window()->frameGeometry());
  return std::nullopt;
}

settings::WindowRect WorkArea(const QWidget& window) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  return screen ? ToRect(screen->availableGeometry()) : settings::WindowRect{};
}

}  // namespace

void RestoreDialogPosition(QWidget& dialog, const std::filesystem::path& program, std::string_view section) {
  if (!dialog.testAttribute(Qt::WA_Resized)) dialog.adjustSize();
  try {
    const settings::WindowRect rect = settings::RestoreWindowPosition(
        program, section, {dialog.x(), dialog.y(), dialog.width(), dialog.height()}, ParentRect(dialog),
        WorkArea(dialog));
    dialog.move(rect.x, rect.y);
  } catch (const settings::SettingsError&) {
    // Left where the window system puts it.
  }
}

void SaveDialogPosition(const QWidget& dialog, const std::filesystem::path& program,
                        std::string_view section) {
  try {
    settings::SaveWindowPosition(program, section, dialog.x(), dialog.y());
  } catch (const settings::SettingsError&) {
  }
}

void RestoreWindowPlacement(QWidget& window, const std::filesystem::path& program, std::string_view section) {
  const QSize minimum = window.minimumSizeHint();
  settings::ScreenMetrics screen;
  screen.workArea = WorkArea(window);
  screen.minWidth = minimum.width();
  screen.minHeight = minimum.height();
  screen.maxWidth = screen.workArea.width;
  screen.maxHeight = screen.workArea.height;
  try {
    const settings::RestoredPlacement placement = settings::RestoreWindowPlacement(
        program, section, {window.x(), window.y(), window.width(), window.height()}, ParentRect(window),
        screen);
    window.move(placement.rect.x, placement.rect.y);
    window.resize(placement.rect.width, placement.rect.height);
    if (placement.maximized) window.setWindowState(window.windowState() | Qt::WindowMaximized);
  } catch (const settings::SettingsError&) {
  }
}

void SaveWindowPlacement(const QWidget& window, const std::filesystem::path& program,
                         std::string_view section) {
  settings::WindowState state;
  state.current = ToRect(QRect(window.pos(), window.size()));
  state.normal = ToRect(window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry());
  state.maximized = window.isMaximized();
  state.shownNormally = !window.isMaximized() && !window.isMinimized();
  try {
    settings::SaveWindowPlacement(program, section, state);
  } catch (const settings::SettingsError&) {
  }
}

void RestoreColumnWidths(QTreeWidget& list, const std::filesystem::path& program, std::string_view section) {
  try {
    const std::vector<int> widths = settings::RestoreColumnWidths(program, section, list.columnCount());
    for (int i = 0; i < static_cast<int>(widths.size()); ++i)
      if (widths[static_cast<size_t>(i)] >= 0) list.setColumnWidth(i, widths[static_cast<size_t>(i)]);
  } catch (const settings::SettingsError&) {
  }
}

void SaveColumnWidths(const QTreeWidget& list, const std::filesystem::path& program,
                      std::string_view section) {
  std::vector<int> widths;
  for (int i = 0; i < list.columnCount(); ++i) widths.push_back(list.columnWidth(i));
  try {
    settings::SaveColumnWidths(program, section, widths);
  } catch (const settings::SettingsError&) {
  }
}

}  // namespace orvella::dialogs
