#include "printfile/print_file_reader.h"

#include <algorithm>

#include "printfile/mapped_file.h"
#include "printfile/pjl_bytes.h"

namespace orvella::printfile {
namespace {

// Header parts are short; anything longer is not one of ours.
constexpr size_t kMaxPjlLine = 4096;
constexpr size_t kMaxEscapeCommand = 4096;
constexpr size_t kMaxPlotSetupCommand = 64;
constexpr int kMaxStampBlocks = 3;
// Plot data may itself hold "IW;IN;"; the end of the plot is the first one
// after which only stamp blocks follow. Bounded so hostile data stays cheap.
constexpr int kMaxPlotEndTries = 1000;
constexpr std::string_view kEnterRtl = "\x1b%0A";
constexpr std::string_view kEnterLanguage = "@PJL ENTER LANGUAGE";

bool StartsAt(std::string_view b, size_t pos, std::string_view what) {
  return b.substr(pos, what.size()) == what;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

EscapeCommand MakeEscapeCommand(uint64_t offset, std::string_view text) {
  EscapeCommand e{offset, std::string(text), std::string(text), {}};
  if (text.size() >= 2 && text[0] == '?') {
    e.command = text.substr(0, 2);
    std::string_view rest = text.substr(2);
    if (!rest.empty() && rest.front() == ',') rest.remove_prefix(1);
    while (!rest.empty()) {
      const size_t comma = rest.find(',');
      e.arguments.emplace_back(rest.substr(0, comma));
      rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
  }
  return e;
}

class Parser {
 public:
  Parser(std::string_view bytes, PrintFileView& view) : b_(bytes), v_(view) {}

  void Run() {
    v_.fileSize = b_.size();
    size_t pos = ParseHeader();
    v_.bodyOffset = pos;
    const size_t bodyEnd = FindTrailer(pos);
    if (v_.language == "RTF") {
      ParseRasterBody(pos, bodyEnd);
    } else if (v_.language == "GL2") {
      ParsePlotBody(pos, bodyEnd);
    } else if (pos < bodyEnd) {
      Unknown(pos, bodyEnd - pos, "body in an unknown printer language");
    }
    if (v_.trailerFound) ParseTrailer(bodyEnd);
  }

 private:
  void Unknown(size_t offset, size_t size, std::string what) {
    v_.unrecognised.push_back({offset, size, std::move(what)});
  }

  // One line from pos; returns the position after its line end.
  size_t ReadLine(size_t pos, size_t end, PjlLine& line) const {
    const size_t limit = std::min(end, pos + kMaxPjlLine);
    const size_t lf = b_.substr(0, limit).find('\n', pos);
    size_t textEnd = lf == std::string_view::npos ? limit : lf;
    line.offset = pos;
    line.end = LineEnd::kNone;
    if (lf != std::string_view::npos) {
      line.end = textEnd > pos && b_[textEnd - 1] == '\r' ? LineEnd::kCrLf : LineEnd::kLf;
      if (line.end == LineEnd::kCrLf) --textEnd;
    }
    line.text = b_.substr(pos, textEnd - pos);
    return lf == std::string_view::npos ? limit : lf + 1;
  }

  size_t ParseHeader() {
    size_t pos = 0;
    if (StartsAt(b_, 0, kUniversalExit)) {
      v_.universalExit = true;
      pos = kUniversalExit.size();
    } else {
      Unknown(0, 0, "no universal exit language at the start");
    }
    while (StartsAt(b_, pos, "@PJL")) {
      PjlLine line;
      pos = ReadLine(pos, b_.size(), line);
      v_.pjl.push_back(line);
      if (line.end == LineEnd::kNone) {
        Unknown(line.offset, line.text.size(), "PJL line without a line end");
        return pos;
      }
      if (line.text.starts_with(kEnterLanguage)) {
        std::string_view rest = Trim(std::string_view(line.text).substr(kEnterLanguage.size()));
        if (!rest.empty() && rest.front() == '=') v_.language = Trim(rest.substr(1));
        break;
      }
    }
    if (v_.language.empty()) {
      Unknown(pos, 0, "no ENTER LANGUAGE line");
      return pos;
    }
    while (StartsAt(b_, pos, kEscapeStart)) {
      const size_t from = pos + kEscapeStart.size();
      const size_t close = b_.substr(0, std::min(b_.size(), from + kMaxEscapeCommand)).find(kEscapeEnd, from);
      if (close == std::string_view::npos) {
        Unknown(pos, 0, "printer command without its closing ESC SP");
        return pos;
      }
      v_.escapes.push_back(MakeEscapeCommand(pos, b_.substr(from, close - from)));
      pos = close + kEscapeEnd.size();
    }
    if (v_.language == "GL2") {
      while (StartsAt(b_, pos, "MS")) {
        const size_t semi = b_.substr(0, std::min(b_.size(), pos + kMaxPlotSetupCommand)).find(';', pos);
        if (semi == std::string_view::npos) break;
        v_.plotSetup.emplace_back(b_.substr(pos, semi + 1 - pos));
        pos = semi + 1;
      }
    }
    return pos;
  }

  // The trailer starts with the last exit sequence after the header,
  // preceded by "PG;". Returns where the body ends.
  size_t FindTrailer(size_t bodyStart) {
    const size_t uel = b_.rfind(kUniversalExit);
    if (uel == std::string_view::npos || uel < bodyStart) {
      Unknown(b_.size(), 0, "no trailer");
      return b_.size();
    }
    v_.trailerFound = true;
    v_.trailerOffset = uel;
    if (uel >= bodyStart + 3 && b_.substr(uel - 3, 3) == "PG;") {
      v_.trailerOffset = uel - 3;
    } else {
      Unknown(uel, 0, "no PG; before the trailer");
    }
    return v_.trailerOffset;
  }

  void ParseTrailer(size_t start) {
    size_t pos = b_.find(kUniversalExit, start) + kUniversalExit.size();
    while (pos < b_.size() && StartsAt(b_, pos, "@PJL")) {
      PjlLine line;
      pos = ReadLine(pos, b_.size(), line);
      v_.trailerPjl.push_back(line);
    }
    if (pos < b_.size()) Unknown(pos, b_.size() - pos, "bytes after the trailer");
    static constexpr std::string_view kLines[] = {"@PJL", "@PJL EOJ", "@PJL RESET"};
    const auto& got = v_.trailerPjl;
    if (!std::equal(got.begin(), got.end(), std::begin(kLines), std::end(kLines),
                    [](const PjlLine& l, std::string_view want) {
                      return l.text == want && l.end == LineEnd::kLf;
                    })) {
      Unknown(start, pos - start, "trailer lines are not @PJL, @PJL EOJ, @PJL RESET each ended by LF");
    }
  }

  void ParseRasterBody(size_t pos, size_t end) {
    // Usually one TIFF file; several are taken back to back.
    while (pos < end) {
      std::string error;
      auto layout = ReadTiffLayout(b_.substr(pos, end - pos), error);
      if (!layout) {
        Unknown(pos, end - pos, "raster data is not a TIFF file: " + error);
        return;
      }
      v_.body.push_back({BodyPartKind::kTiff, pos, layout->size, std::move(layout), std::nullopt, {}});
      pos += v_.body.back().size;
    }
  }

  // Stamp blocks, each followed by "IW;IN;", from pos exactly to end.
  bool ReadStampChain(size_t pos, size_t end, std::vector<BodyPart>& parts) const {
    parts.clear();
    for (int blocks = 0; pos < end; ++blocks) {
      if (blocks == kMaxStampBlocks) return false;
      std::string error;
      auto rtl = ReadRtlBlock(b_.substr(pos, end - pos), error);
      if (!rtl) return false;
      parts.push_back({BodyPartKind::kRtlStamp, pos, rtl->size, std::nullopt, rtl, {}});
      pos += rtl->size;
      if (!StartsAt(b_.substr(0, end), pos, kPlotPartEnd)) return false;
      parts.push_back({BodyPartKind::kPartEnd, pos, kPlotPartEnd.size(), std::nullopt, std::nullopt, {}});
      pos += kPlotPartEnd.size();
    }
    return true;
  }

  void AddPlot(size_t pos, size_t size) {
    constexpr std::string_view kPrefixEnd = "PA0,0;";
    constexpr size_t kMaxPrefix = 256;
    const std::string_view plot = b_.substr(pos, size);
    std::string prefix;
    if (plot.substr(0, 4) == "\x1b%0B") {
      const size_t end = plot.substr(0, kMaxPrefix).find(kPrefixEnd);
      if (end != std::string_view::npos) prefix = plot.substr(0, end + kPrefixEnd.size());
    }
    v_.body.push_back({BodyPartKind::kPlot, pos, size, std::nullopt, std::nullopt, std::move(prefix)});
  }

  void ParsePlotBody(size_t pos, size_t end) {
    const std::string_view body = b_.substr(0, end);
    std::vector<BodyPart> stamps;
    int tries = 0;
    for (size_t at = body.find(kPlotPartEnd, pos); at != std::string_view::npos;
         at = body.find(kPlotPartEnd, at + 1)) {
      const size_t after = at + kPlotPartEnd.size();
      if (after != end && !StartsAt(body, after, kEnterRtl)) continue;
      if (++tries > kMaxPlotEndTries) break;
      if (!ReadStampChain(after, end, stamps)) continue;
      AddPlot(pos, at - pos);
      v_.body.push_back({BodyPartKind::kPartEnd, at, kPlotPartEnd.size(), std::nullopt, std::nullopt, {}});
      v_.body.insert(v_.body.end(), stamps.begin(), stamps.end());
      return;
    }
    AddPlot(pos, end - pos);
    Unknown(end, 0, "no IW;IN; after the plot data followed only by stamp blocks");
  }

  std::string_view b_;
  PrintFileView& v_;
};

}  // namespace

size_t PrintFileView::Pages() const {
  size_t pages = 0;
  for (const auto& part : body) {
    if (part.kind == BodyPartKind::kTiff && part.tiff) pages += part.tiff->directories.size();
    if (part.kind == BodyPartKind::kPlot && part.size > 0) ++pages;
  }
  return pages;
}

size_t PrintFileView::Count(BodyPartKind kind) const {
  return static_cast<size_t>(
      std::count_if(body.begin(), body.end(), [&](const BodyPart& p) { return p.kind == kind; }));
}

PrintFileView ParsePrintFile(std::string_view bytes) {
  PrintFileView view;
  Parser(bytes, view).Run();
  return view;
}

std::optional<PrintFileView> ReadPrintFile(const std::filesystem::path& path, std::string& error) {
  MappedFile file;
  if (!file.Open(path, error)) return std::nullopt;
  return ParsePrintFile(file.Bytes());
}

}  // namespace orvella::printfile
