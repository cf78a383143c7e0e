#include "printfile/plot_envelope.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#include "printfile/plot_stream.h"

namespace orvella::printfile {
namespace {

constexpr std::string_view kEnterPlot = "\x1b%0B";
constexpr std::string_view kEnterPcl = "\x1b%1A";
constexpr std::string_view kPageEnd = "PG;";
constexpr uint64_t kBlankLength = 13;  // ESC %1A and the 9 bytes after it

void SetDetail(std::string* detail, std::string text) {
  if (detail) *detail = std::move(text);
}

// Where the markers lie, from one pass over the file.
struct Markers {
  uint64_t size = 0;
  std::optional<uint64_t> enterPlot;  // first ESC %0B
  std::optional<uint64_t> pageEnd;    // start of the last "PG;"
  std::optional<uint64_t> enterPcl;   // first ESC %1A
};

bool EndsWith(const char* window, size_t filled, std::string_view marker) {
  return filled >= marker.size() &&
         std::memcmp(window + sizeof(uint32_t) - marker.size(), marker.data(), marker.size()) == 0;
}

bool FindMarkers(const std::filesystem::path& plot, Markers& markers) {
  PlotReader reader(plot);
  if (!reader.IsOpen()) return false;
  char window[4] = {};  // the last four bytes read
  size_t filled = 0;
  for (int byte = reader.Get(); byte != kEndOfPlot; byte = reader.Get()) {
    std::memmove(window, window + 1, 3);
    window[3] = static_cast<char>(byte);
    if (filled < 4) ++filled;
    const uint64_t end = reader.Position();
    if (!markers.enterPlot && EndsWith(window, filled, kEnterPlot)) markers.enterPlot = end - 4;
    if (!markers.enterPcl && EndsWith(window, filled, kEnterPcl)) markers.enterPcl = end - 4;
    if (EndsWith(window, filled, kPageEnd)) markers.pageEnd = end - 3;
  }
  markers.size = reader.Position();
  return !reader.Failed();
}

}  // namespace

bool ReadPlotHead(const std::filesystem::path& plot, PlotHead& head, std::string* detail) {
  PlotReader reader(plot);
  if (!reader.IsOpen()) {
    SetDetail(detail, "cannot open " + plot.string() + ": " + std::strerror(errno));
    return false;
  }
  const std::string_view first = reader.Peek(16);
  if (first.size() < 16) {
    SetDetail(detail, plot.string() + " is shorter than 16 bytes");
    return false;
  }
  head.envelope = first.substr(0, 8) == "\x1b%-12345";
  const size_t lineEnd = first.find_first_of("\r\n");
  head.lfOnly = lineEnd != std::string_view::npos && first[lineEnd] == '\n';
  return true;
}

bool StripPlotEnvelope(const std::filesystem::path& plot, const std::filesystem::path& output,
                       std::string* detail) {
  Markers markers;
  if (!FindMarkers(plot, markers)) {
    SetDetail(detail, "cannot read " + plot.string());
    return false;
  }
  // ESC %0B counts only when it starts before the last 4 bytes.
  if (!markers.enterPlot || *markers.enterPlot + 4 >= markers.size) {
    SetDetail(detail, "no ESC %0B (enter HP-GL/2) in the envelope");
    return false;
  }
  if (!markers.pageEnd) {
    SetDetail(detail, "no \"PG;\" in the envelope");
    return false;
  }
  const uint64_t begin = *markers.enterPlot;
  const uint64_t end = *markers.pageEnd + kPageEnd.size();
  if (end <= begin) {
    SetDetail(detail, "the last \"PG;\" comes before ESC %0B");
    return false;
  }
  const uint64_t blankBegin = markers.enterPcl.value_or(UINT64_MAX);
  PlotReader reader(plot);
  PlotWriter writer(output);
  if (!reader.IsOpen() || !writer.IsOpen()) {
    SetDetail(detail, "cannot open " + (reader.IsOpen() ? output : plot).string());
    return false;
  }
  for (uint64_t at = 0; at < end; ++at) {
    const int byte = reader.Get();
    if (byte == kEndOfPlot) break;
    if (at < begin) continue;
    const bool blank = at >= blankBegin && at - blankBegin < kBlankLength;
    writer.Put(blank ? ' ' : static_cast<char>(byte));
  }
  if (reader.Position() != end || !writer.Close()) {
    SetDetail(detail, "cannot copy the plot from " + plot.string() + " to " + output.string());
    return false;
  }
  return true;
}

}  // namespace orvella::printfile
