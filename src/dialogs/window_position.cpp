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

}  // namespace

void RestoreDialogPosition(QWidget& dialog, const std::filesystem::path& program, std::string_view section) {
  if (!dialog.testAttribute(Qt::WA_Resized)) dialog.adjustSize();
  std::optional<settings::WindowRect> parent;
  if (QWidget* owner = dialog.parentWidget()) parent = ToRect(owner->window()->frameGeometry());
  const QScreen* screen = dialog.screen() ? dialog.screen() : QGuiApplication::primaryScreen();
  const settings::WindowRect workArea = screen ? ToRect(screen->availableGeometry()) : settings::WindowRect{};
  try {
    const settings::WindowRect rect = settings::RestoreWindowPosition(
        program, section, {dialog.x(), dialog.y(), dialog.width(), dialog.height()}, parent, workArea);
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
