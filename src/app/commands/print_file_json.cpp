#include "app/commands/print_file_json.h"

namespace orvella::cli {
namespace {

using json = nlohmann::ordered_json;
using printfile::BodyPart;
using printfile::BodyPartKind;
using printfile::LineEnd;
using printfile::PjlLine;

const char* EndName(LineEnd end) {
  switch (end) {
    case LineEnd::kLf:
      return "LF";
    case LineEnd::kCrLf:
      return "CRLF";
    default:
      return "none";
  }
}

const char* KindName(BodyPartKind kind) {
  switch (kind) {
    case BodyPartKind::kTiff:
      return "tiff";
    case BodyPartKind::kPlot:
      return "plot";
    case BodyPartKind::kPartEnd:
      return "part_end";
    default:
      return "rtl_stamp";
  }
}

json Lines(const std::vector<PjlLine>& lines) {
  json out = json::array();
  for (const auto& l : lines)
    out.push_back({{"offset", l.offset}, {"text", l.text}, {"end", EndName(l.end)}});
  return out;
}

json Part(const BodyPart& p) {
  json out = {{"kind", KindName(p.kind)}, {"offset", p.offset}, {"size", p.size}};
  if (p.tiff) {
    out["byte_order"] = p.tiff->bigEndian ? "MM" : "II";
    json pages = json::array();
    for (const auto& d : p.tiff->directories) {
      pages.push_back({{"directory_offset", d.offset},
                       {"width", d.width},
                       {"length", d.length},
                       {"bits_per_sample", d.bitsPerSample},
                       {"compression", d.compression},
                       {"photometric", d.photometric},
                       {"x_resolution", d.xResolution},
                       {"y_resolution", d.yResolution},
                       {"resolution_unit", d.resolutionUnit},
                       {"strips", d.strips},
                       {"data_bytes", d.dataBytes}});
    }
    out["pages"] = std::move(pages);
  }
  if (p.kind == printfile::BodyPartKind::kPlot) out["prefix"] = p.plotPrefix;
  if (p.rtl) {
    out["resolution"] = p.rtl->resolution;
    out["width"] = p.rtl->width;
    out["height"] = p.rtl->height;
    out["x"] = p.rtl->x;
    out["y"] = p.rtl->y;
    out["compression"] = p.rtl->compression;
    out["rows"] = p.rtl->rows;
    out["data_bytes"] = p.rtl->dataBytes;
  }
  return out;
}

}  // namespace

json PrintFileToJson(const printfile::PrintFileView& v) {
  json escapes = json::array();
  for (const auto& e : v.escapes) {
    escapes.push_back(
        {{"offset", e.offset}, {"text", e.text}, {"command", e.command}, {"arguments", e.arguments}});
  }
  json body = json::array();
  for (const auto& p : v.body) body.push_back(Part(p));
  json unrecognised = json::array();
  for (const auto& u : v.unrecognised) {
    unrecognised.push_back({{"offset", u.offset}, {"size", u.size}, {"what", u.what}});
  }
  return {{"file_size", v.fileSize},
          {"clean", v.Clean()},
          {"universal_exit", v.universalExit},
          {"pjl", Lines(v.pjl)},
          {"language", v.language},
          {"escapes", std::move(escapes)},
          {"plot_setup", v.plotSetup},
          {"body_offset", v.bodyOffset},
          {"body", std::move(body)},
          {"trailer", {{"found", v.trailerFound}, {"offset", v.trailerOffset}, {"pjl", Lines(v.trailerPjl)}}},
          {"unrecognised", std::move(unrecognised)}};
}

}  // namespace orvella::cli
