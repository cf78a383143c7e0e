#include "printfile/plot_envelope.h"

#include <algorithm>
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

constexpr uint32_t Word(std::string_view marker) {
  uint32_t word = 0;
  for (const char c : marker) word = (word << 8) | static_cast<unsigned char>(c);
  return word;
}

bool FindMarkers(const std::filesystem::path& plot, Markers& markers) {
  PlotReader reader(plot);
  if (!reader.IsOpen()) return false;
  // The last four bytes read; the zeros it starts with match no marker.
  uint32_t window = 0;
  uint64_t at = 0;
  for (auto chunk = reader.TakeChunk(); !chunk.empty(); chunk = reader.TakeChunk()) {
    for (const char byte : chunk) {
      window = (window << 8) | static_cast<unsigned char>(byte);
      ++at;
      if (!markers.enterPlot && window == Word(kEnterPlot)) markers.enterPlot = at - 4;
      if (!markers.enterPcl && window == Word(kEnterPcl)) markers.enterPcl = at - 4;
      if ((window & 0xffffff) == Word(kPageEnd)) markers.pageEnd = at - 3;
    }
  }
  markers.size = at;
  return !reader.Failed();
}

// Writes bytes, which start at offset at of the file, with the part that
// lies in [blankBegin, blankEnd) as spaces.
void WriteBlanked(PlotWriter& writer, std::string_view bytes, uint64_t at, uint64_t blankBegin,
                  uint64_t blankEnd) {
  const uint64_t end = at + bytes.size();
  if (blankEnd <= at || blankBegin >= end) {
    writer.Write(bytes);
    return;
  }
  const size_t from = blankBegin > at ? static_cast<size_t>(blankBegin - at) : 0;
  const size_t to = blankEnd < end ? static_cast<size_t>(blankEnd - at) : bytes.size();
  writer.Write(bytes.substr(0, from));
  writer.Write(std::string(to - from, ' '));
  writer.Write(bytes.substr(to));
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
  const uint64_t blankEnd = blankBegin == UINT64_MAX ? blankBegin : blankBegin + kBlankLength;
  uint64_t at = 0;
  for (auto chunk = reader.TakeChunk(); !chunk.empty() && at < end; chunk = reader.TakeChunk()) {
    chunk = chunk.substr(0, static_cast<size_t>(std::min<uint64_t>(chunk.size(), end - at)));
    const size_t skip = at < begin ? static_cast<size_t>(std::min<uint64_t>(begin - at, chunk.size())) : 0;
    WriteBlanked(writer, chunk.substr(skip), at + skip, blankBegin, blankEnd);
    at += chunk.size();
  }
  if (at != end || !writer.Close()) {
    SetDetail(detail, "cannot copy the plot from " + plot.string() + " to " + output.string());
    return false;
  }
  return true;
}

}  // namespace orvella::printfile
