#pragma once
// Where a window goes on screen: pure arithmetic the GUI applies.
#include <optional>

namespace orvella::settings {

struct WindowRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const WindowRect&) const = default;
};

struct ScreenMetrics {
  int minWidth = 0;  // smallest window the system allows
  int minHeight = 0;
  int maxWidth = 0;  // size of a maximised window
  int maxHeight = 0;
  WindowRect workArea;  // the screen without panels and task bars
};

// Moves rect right or down to the work area's left or top edge if it starts
// beyond them, then left or up if it ends beyond the right or bottom edge;
// the last move wins for a window larger than the work area. Keeps the size.
WindowRect KeepInWorkArea(WindowRect rect, const WindowRect& workArea);

// A remembered rectangle made fit to show: at least the minimum size, at most
// the maximised size, then kept in the work area.
WindowRect FitRestoredRect(WindowRect rect, const ScreenMetrics& screen);

// A window of the given size centred over its parent (or the work area when
// it has none), then kept in the work area.
WindowRect CentreWindow(int width, int height, const std::optional<WindowRect>& parent,
                        const WindowRect& workArea);

}  // namespace orvella::settings
