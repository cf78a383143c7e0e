#include "imaging/stamp_layout.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace orvella::imaging {
namespace {

// Rows spread to fill a square box: padding p grows until the stack of rows
// is as tall as the widest row is wide; a taller stack widens the box instead.
void SquareLayout(StampLayout& layout, const std::vector<RowSize>& sizes) {
  const double bw = layout.borderWidth;
  const double n = static_cast<double>(sizes.size());
  double maxWidth = 0;
  double heights = 0;
  for (const RowSize& s : sizes) {
    maxWidth = std::max(maxWidth, s.width);
    heights += s.height;
  }
  const double c = maxWidth + bw;
  const double s = heights + (n - 1) * layout.rulerWidth + bw;
  layout.padding = c < s ? 0 : (c - s) / n / 2;
  layout.borderBox = {bw / 2, bw / 2, bw / 2 + std::max(c, s), bw / 2 + std::max(c, s)};
}

// Rows stacked about the circle's centre; padding p is the smallest that
// keeps every row's outer corners inside the circle. Each equation in x is
// one row's corner lying on the circle of the radius that padding x gives.
void CircleLayout(StampLayout& layout, const std::vector<RowSize>& sizes) {
  const double bw = layout.borderWidth;
  const double rw = layout.rulerWidth;
  double p = 0;
  auto require = [&p](double a, double b, double c) {
    double root = 0;
    if (LargerRoot(a, b, c, root)) p = std::max(p, root);
  };
  auto half = [&sizes](size_t i) { return sizes[i].width / 2; };
  double radius = 0;
  if (sizes.size() == 3) {
    // Centre in the middle of row 2.
    const double r = sizes[0].height + sizes[1].height / 2 + rw;
    for (size_t i : {0u, 2u}) require(5, 2 * r, -half(i) * half(i));
    const double a = half(1), b = sizes[1].height / 2;
    require(9, 6 * r, r * r - a * a - b * b);
    radius = r + 3 * p;
  } else {
    // Centre in the middle of the gap between rows 2 and 3.
    const double r = sizes[0].height + sizes[1].height + 1.5 * rw;
    for (size_t i : {0u, 3u}) require(7, 2 * r, -half(i) * half(i));
    for (size_t i : {1u, 2u}) {
      const double a = half(i), b = sizes[i].height + rw / 2;
      require(15, 8 * r - 2 * b, r * r - a * a - b * b);
    }
    radius = r + 4 * p;
  }
  layout.padding = p;
  layout.radius = radius;
  layout.centreX = layout.centreY = radius + bw / 2;
  layout.borderBox = {bw / 2, bw / 2, bw / 2 + 2 * radius + bw, bw / 2 + 2 * radius + bw};
}

}  // namespace

bool LargerRoot(double a, double b, double c, double& root) {
  if (a == 0) {
    if (b != 0) {
      root = -c / b;
      return true;
    }
    root = 0;
    return c == 0;
  }
  const double discriminant = b * b - 4 * a * c;
  if (discriminant < 0) return false;
  const double d = (std::sqrt(discriminant) + std::abs(b)) / (2 * a);
  if (d == 0) {  // b = c = 0
    root = 0;
    return true;
  }
  const double root1 = b >= 0 ? -d : d;
  const double root2 = c / (a * root1);
  root = std::max(root1, root2);
  return true;
}

StampLayout LayoutSimpleStamp(BorderType border, double bw, double rw, std::vector<std::string> rows,
                              const std::vector<RowSize>& sizes) {
  StampLayout layout;
  layout.border = border;
  layout.borderWidth = bw;
  layout.rulerWidth = rw;
  layout.rows = std::move(rows);
  const bool circle = border == BorderType::kCircle && (sizes.size() == 3 || sizes.size() == 4);
  if (circle) {
    CircleLayout(layout, sizes);
  } else {
    SquareLayout(layout, sizes);
  }

  const MmRect& box = layout.borderBox;
  const double p = layout.padding;
  double offset = bw / 2;
  for (const RowSize& s : sizes) {
    const double x0 = box.x0 + (box.x1 - box.x0 - s.width) / 2;
    const double y0 = box.y0 + offset + p;
    layout.rowBoxes.push_back({x0, y0, x0 + s.width, y0 + s.height});
    offset += p + s.height + rw + p;
  }

  // Ruler lines run through the middle of each gap between two rows: across
  // the whole box, or as a chord of the circle's pen line.
  offset = bw / 2;
  for (size_t j = 0; j + 1 < sizes.size(); ++j) {
    offset += sizes[j].height + 2 * p + rw / 2;
    const double y = box.y0 + offset;
    if (circle) {
      const double dy = layout.centreY - offset;
      const double penRadius = layout.radius + bw / 2;
      const double halfLength = std::sqrt(std::max(0.0, penRadius * penRadius - dy * dy));
      layout.rulers.push_back(
          {box.x0 + layout.centreX - halfLength, y, box.x0 + layout.centreX + halfLength, y});
    } else {
      layout.rulers.push_back({box.x0, y, box.x1, y});
    }
    offset += rw / 2;
  }
  return layout;
}

}  // namespace orvella::imaging
