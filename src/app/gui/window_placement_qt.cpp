#include "app/gui/window_placement_qt.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QWidget>
#include <optional>
#include <vector>

#include "settings/window_settings.h"

namespace orvella::cli {

namespace {

settings::WindowRect ToRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

QScreen* ScreenOf(const QWidget& window) {
  QScreen* screen = window.screen();
  return screen ? screen : QGuiApplication::primaryScreen();
}

settings::ScreenMetrics MetricsOf(const QWidget& window) {
  const QRect work = ScreenOf(window)->availableGeometry();
  const QSize minimum = window.minimumSize();
  return {minimum.width(), minimum.height(), work.width(), work.height(), ToRect(work)};
}

}  // namespace

void SaveWindowPlacementOf(const std::filesystem::path& program, std::string_view section,
                           const QWidget& window) {
  settings::WindowState state;
  state.current = ToRect(window.geometry());
  state.normal = ToRect(window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry());
  state.maximized = window.isMaximized();
  state.shownNormally = !window.isMaximized() && !window.isMinimized();
  settings::SaveWindowPlacement(program, section, state);
}

void ShowPlaced(const std::filesystem::path& program, std::string_view section, QWidget& window) {
  if (!window.isVisible()) {
    const settings::RestoredPlacement placement = settings::RestoreWindowPlacement(
        program, section, ToRect(window.geometry()), std::nullopt, MetricsOf(window));
    window.setGeometry(placement.rect.x, placement.rect.y, placement.rect.width, placement.rect.height);
    if (placement.maximized) {
      window.showMaximized();
    } else {
      window.showNormal();
    }
  } else if (window.isMinimized()) {
    window.showNormal();
  }
  window.raise();
  window.activateWindow();
}

void SaveColumnWidthsOf(const std::filesystem::path& program, std::string_view section,
                        const QHeaderView& header) {
  std::vector<int> widths;
  for (int i = 0; i < header.count(); ++i) widths.push_back(header.sectionSize(i));
  settings::SaveColumnWidths(program, section, widths);
}

void RestoreColumnWidthsOf(const std::filesystem::path& program, std::string_view section,
                           QHeaderView& header) {
  const std::vector<int> widths = settings::RestoreColumnWidths(program, section, header.count());
  for (int i = 0; i < static_cast<int>(widths.size()); ++i) {
    if (widths[i] != -1) header.resizeSection(i, widths[i]);
  }
}

}  // namespace orvella::cli
