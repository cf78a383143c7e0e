#include "received_job.h"

#include <cmath>
#include <string>

#include "printfile/print_file_reader.h"

namespace orvella::sim {
namespace {

using printfile::BodyPart;
using printfile::BodyPartKind;
using printfile::PjlLine;

const char* EndName(printfile::LineEnd end) {
  switch (end) {
    case printfile::LineEnd::kLf:
      return "LF";
    case printfile::LineEnd::kCrLf:
      return "CR LF";
    default:
      return "no line end";
  }
}

void WriteLines(const std::vector<PjlLine>& lines, std::ostream& out) {
  for (const auto& line : lines) out << "  " << line.text << "  (" << EndName(line.end) << ")\n";
}

void WritePart(const BodyPart& part, std::ostream& out) {
  out << "  at " << part.offset << ", " << part.size << " bytes: ";
  switch (part.kind) {
    case BodyPartKind::kTiff: {
      const auto pages = part.tiff ? part.tiff->directories.size() : 0;
      out << "TIFF, " << pages << (pages == 1 ? " page" : " pages") << "\n";
      if (!part.tiff) return;
      for (const auto& d : part.tiff->directories) {
        out << "    " << d.width << " x " << d.length << " pixels, " << std::lround(d.xResolution) << " x "
            << std::lround(d.yResolution) << " per " << (d.resolutionUnit == 3 ? "cm" : "inch")
            << ", compression " << d.compression << ", " << d.dataBytes << " data bytes\n";
      }
      return;
    }
    case BodyPartKind::kPlot:
      out << "HP-GL/2 plot\n";
      return;
    case BodyPartKind::kPartEnd:
      out << "end of part\n";
      return;
    case BodyPartKind::kRtlStamp:
      out << "raster stamp";
      if (part.rtl) {
        out << " " << part.rtl->width << " x " << part.rtl->height << " at (" << part.rtl->x << ", "
            << part.rtl->y << "), " << part.rtl->resolution << " dpi, " << part.rtl->rows << " rows";
      }
      out << "\n";
      return;
  }
}

}  // namespace

int InspectJob(const std::filesystem::path& path, std::ostream& out, std::ostream& err) {
  std::string error;
  const auto view = printfile::ReadPrintFile(path, error);
  if (!view) {
    err << "orvella-printer-sim inspect: " << error << "\n";
    return 1;
  }
  out << path.filename().string() << ": " << view->fileSize << " bytes\n";
  out << "universal exit: " << (view->universalExit ? "yes" : "no") << "\n";
  out << "job header:\n";
  WriteLines(view->pjl, out);
  out << "language: " << (view->language.empty() ? "(none)" : view->language) << "\n";
  if (!view->escapes.empty()) {
    out << "printer commands:\n";
    for (const auto& e : view->escapes) out << "  " << e.text << "\n";
  }
  if (!view->plotSetup.empty()) {
    out << "plot set-up:";
    for (const auto& s : view->plotSetup) out << " " << s;
    out << "\n";
  }
  out << "body from " << view->bodyOffset << ":\n";
  for (const auto& part : view->body) WritePart(part, out);
  if (view->trailerFound) {
    out << "trailer at " << view->trailerOffset << ":\n";
    WriteLines(view->trailerPjl, out);
  } else {
    out << "trailer: missing\n";
  }
  for (const auto& u : view->unrecognised) {
    out << "not recognised at " << u.offset << ", " << u.size << " bytes: " << u.what << "\n";
  }
  const std::size_t pages = view->Pages();
  out << "pages: " << pages << "\n";
  if (pages == 0) {
    err << "orvella-printer-sim inspect: " << path.filename().string() << " holds no page to print\n";
    return 1;
  }
  return view->Clean() ? 0 : 1;
}

}  // namespace orvella::sim
