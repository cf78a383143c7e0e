#include "settings/window_placement.h"

#include <algorithm>
#include <climits>

namespace orvella::settings {
namespace {

// Hand-edited positions may be anywhere in the int range: compute wide.
int Clamp(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }

}  // namespace

WindowRect KeepInWorkArea(WindowRect rect, const WindowRect& workArea) {
  long long x = std::max<long long>(rect.x, workArea.x);
  long long y = std::max<long long>(rect.y, workArea.y);
  const long long right = static_cast<long long>(workArea.x) + workArea.width;
  const long long bottom = static_cast<long long>(workArea.y) + workArea.height;
  if (x + rect.width > right) x = right - rect.width;
  if (y + rect.height > bottom) y = bottom - rect.height;
  rect.x = Clamp(x);
  rect.y = Clamp(y);
  return rect;
}

WindowRect FitRestoredRect(WindowRect rect, const ScreenMetrics& screen) {
  rect.width = std::min(std::max(rect.width, screen.minWidth), screen.maxWidth);
  rect.height = std::min(std::max(rect.height, screen.minHeight), screen.maxHeight);
  return KeepInWorkArea(rect, screen.workArea);
}

WindowRect CentreWindow(int width, int height, const std::optional<WindowRect>& parent,
                        const WindowRect& workArea) {
  const WindowRect& around = parent ? *parent : workArea;
  WindowRect rect{0, 0, width, height};
  rect.x = Clamp(around.x + (static_cast<long long>(around.width) - width) / 2);
  rect.y = Clamp(around.y + (static_cast<long long>(around.height) - height) / 2);
  return KeepInWorkArea(rect, workArea);
}

}  // namespace orvella::settings
