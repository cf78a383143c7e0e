#include "printfile/plot_scan.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <optional>

#include "printfile/plot_stream.h"

namespace orvella::printfile {
namespace {

constexpr int kEscape = 0x1b;
constexpr int kMaxNumberTail = 10;

bool IsLetter(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(int c) { return c >= '0' && c <= '9'; }
bool StartsNumber(int c) { return c == '+' || c == '-' || c == '.' || IsDigit(c); }

int Upper(int c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

constexpr int Pair(char a, char b) { return (a << 8) | b; }

// Decimal text as "%f" reads it, whatever the locale. The text is a sign,
// digit or point followed by digits and points only.
std::optional<float> ParseReal(const char* text, size_t size) {
  const bool signed_ = text[0] == '+' || text[0] == '-';
  // Whole numbers (most of a plot) directly: at most 11 digits fit int64, and
  // its conversion rounds as the decimal reading does.
  int64_t whole = 0;
  size_t at = signed_ ? 1 : 0;
  for (; at < size && IsDigit(text[at]); ++at) whole = whole * 10 + (text[at] - '0');
  if (at == size && size > (signed_ ? 1u : 0u)) {
    const auto value = static_cast<float>(whole);
    return text[0] == '-' ? -value : value;
  }
  float value = 0;
  if (std::from_chars(text + (signed_ ? 1 : 0), text + size, value).ec != std::errc()) return std::nullopt;
  return text[0] == '-' ? -value : value;
}

// One number of a command's parameters; nullopt when the parameters end.
std::optional<float> ReadNumber(PlotReader& reader) {
  int c = reader.Get();
  while (!StartsNumber(c)) {
    if (c == kEndOfPlot || c == ';') return std::nullopt;
    if (IsLetter(c) || c == kEscape) {
      reader.Unget();
      return std::nullopt;
    }
    c = reader.Get();
  }
  char text[1 + kMaxNumberTail];
  size_t size = 0;
  text[size++] = static_cast<char>(c);
  while (size < sizeof text) {
    c = reader.Get();
    if (c == kEndOfPlot) break;
    if (!IsDigit(c) && c != '.') {
      reader.Unget();
      break;
    }
    text[size++] = static_cast<char>(c);
  }
  return ParseReal(text, size);
}

// Two numbers; false when either is missing.
bool ReadPair(PlotReader& reader, float& a, float& b) {
  const auto first = ReadNumber(reader);
  if (!first) return false;
  const auto second = ReadNumber(reader);
  if (!second) return false;
  a = *first;
  b = *second;
  return true;
}

void MovePen(PlotReader& reader, PlotScan& scan) {
  float x = 0, y = 0;
  while (ReadPair(reader, x, y)) {
    scan.x = scan.relative ? scan.x + x : x;
    scan.y = scan.relative ? scan.y + y : y;
    scan.minX = std::min(scan.minX, scan.x);
    scan.minY = std::min(scan.minY, scan.y);
    scan.maxX = std::max(scan.maxX, scan.x);
    scan.maxY = std::max(scan.maxY, scan.y);
  }
}

void ReadSetUp(int command, PlotReader& reader, PlotScan& scan) {
  float a = 0, b = 0;
  switch (command) {
    case Pair('I', 'P'):
      scan.inputWindowFound = true;
      if (!ReadPair(reader, a, b)) return;
      scan.p1x = TruncateToInt(a);
      scan.p1y = TruncateToInt(b);
      if (!ReadPair(reader, a, b)) return;
      scan.p2x = TruncateToInt(a);
      scan.p2y = TruncateToInt(b);
      return;
    case Pair('P', 'S'):
      if (const auto n = ReadNumber(reader)) {
        scan.plotSizeX = TruncateToInt(*n);
        if (const auto m = ReadNumber(reader)) scan.plotSizeY = TruncateToInt(*m);
      }
      return;
    case Pair('R', 'O'):
      scan.rotationFound = true;
      if (const auto n = ReadNumber(reader)) scan.rotation = TruncateToInt(*n);
      return;
    case Pair('S', 'C'):
      if (!ReadPair(reader, a, b)) return;
      scan.scaleXMin = TruncateToInt(a);
      scan.scaleXMax = TruncateToInt(b);
      if (!ReadPair(reader, a, b)) return;
      scan.scaleYMin = TruncateToInt(a);
      scan.scaleYMax = TruncateToInt(b);
      return;
  }
}

}  // namespace

int TruncateToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(value);
}

bool ScanPlot(const std::filesystem::path& plot, PlotScan& scan) {
  PlotReader reader(plot);
  if (!reader.IsOpen()) return false;
  for (;;) {
    const int first = reader.Get();
    if (first == kEndOfPlot) break;
    const int second = reader.Get();
    if (second == kEndOfPlot) break;
    const int command = (Upper(first) << 8) | Upper(second);
    const bool nearStart = reader.Position() < kPlotStartLimit;
    switch (command) {
      case Pair('P', 'A'):
        scan.relative = false;
        MovePen(reader, scan);
        break;
      case Pair('P', 'R'):
        scan.relative = true;
        MovePen(reader, scan);
        break;
      case Pair('P', 'D'):
      case Pair('P', 'U'):
        MovePen(reader, scan);
        break;
      case Pair('I', 'P'):
      case Pair('P', 'S'):
      case Pair('R', 'O'):
      case Pair('S', 'C'):
        if (nearStart) ReadSetUp(command, reader, scan);
        break;
      case Pair('B', 'P'):
      case Pair('D', 'F'):
      case Pair('I', 'N'):
      case Pair('P', 'E'):
        break;
      default:
        reader.Unget();
    }
  }
  return !reader.Failed();
}

void CompletePlotFrame(PlotScan& scan) {
  if (!scan.inputWindowFound) {
    scan.p1x = scan.p1y = 0;
    if (scan.plotSizeX != 0) {
      scan.p2x = scan.plotSizeX;
      scan.p2y = scan.plotSizeY;
    } else {
      scan.p1x = TruncateToInt(scan.minX);
      scan.p1y = TruncateToInt(scan.minY);
      scan.p2x = TruncateToInt(scan.maxX);
      scan.p2y = TruncateToInt(scan.maxY);
    }
  }
  if (scan.scaleXMin == 0 && scan.scaleXMax == 0 && scan.scaleYMin == 0 && scan.scaleYMax == 0) {
    if (scan.plotSizeX != 0) {
      scan.scaleXMax = scan.plotSizeX;
      scan.scaleYMax = scan.plotSizeY;
    } else {
      scan.scaleXMin = TruncateToInt(scan.minX);
      scan.scaleXMax = TruncateToInt(scan.maxX);
      scan.scaleYMin = TruncateToInt(scan.minY);
      scan.scaleYMax = TruncateToInt(scan.maxY);
    }
  }
}

}  // namespace orvella::printfile
