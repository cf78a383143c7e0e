// orvella tool convert-tiff: one TIFF page (or a whole multi-page file) through
// the page chain into a print file, with the stamps named in a request file.
#include <array>
#include <climits>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/commands/cli_args.h"
#include "app/commands/command_registry.h"
#include "app/commands/json_fields.h"
#include "app/commands/raster_options_json.h"
#include "imaging/convert_tiff.h"
#include "imaging/stamp_job.h"
#include "settings/program_folders.h"
#include "settings/settings_error.h"
#include "settings/stamp_settings.h"

namespace orvella::cli {
namespace {

struct ConvertRequest {
  imaging::PageConversionRequest page;
  imaging::MultiPageOptions multi;
  std::array<settings::StampUse, 3> stamps;
};

ConvertRequest ReadRequest(const std::string& path) {
  const nlohmann::json object = ReadJsonObjectFile(path);
  ConvertRequest r;
  JsonFields read(object, "request");
  imaging::PageConversionRequest& p = r.page;
  read.Flag("host_magnification", p.hostMagnification);
  read.Real("magnification", p.magnification);
  read.Real("sheet_width_mm", p.sheetWidthMm);
  read.Real("sheet_height_mm", p.sheetHeightMm);
  read.Int("rotation", p.rotation);
  read.Flag("model02_long_sheet", p.model02LongSheet);
  ReadRasterHeaderFields(read, p.header);
  imaging::MultiPageOptions& m = r.multi;
  read.Flag("stamp_first_page_only", m.stampFirstPageOnly);
  read.Real("two_up_sheet_width_mm", m.twoUpSheetWidthMm);
  read.Real("two_up_sheet_height_mm", m.twoUpSheetHeightMm);
  if (const nlohmann::json* stamps = read.Find("stamps")) {
    if (!stamps->is_array() || stamps->size() > r.stamps.size())
      throw read.Error("stamps", "must be a list of at most three stamps");
    for (size_t i = 0; i < stamps->size(); ++i) {
      JsonFields stamp((*stamps)[i], "request: stamp " + std::to_string(i));
      stamp.Text("name", r.stamps[i].name);
      stamp.Int("halftone", r.stamps[i].halftone);
      stamp.RejectUnknown();
      if (r.stamps[i].halftone < 0 || r.stamps[i].halftone > 3)
        throw stamp.Error("halftone", "must be 0 to 3");
    }
  }
  read.RejectUnknown();
  return r;
}

// The stamps are placed on the sheet the pages are composed on: the whole
// two-up sheet when two pages share one.
bool MakeStamps(ConvertRequest& r, bool multi, std::string& error) {
  bool any = false;
  for (const auto& slot : r.stamps) any = any || !slot.name.empty();
  if (!any) return true;
  const bool twoUp = multi && r.page.header.finishing.twoUp != 0;
  const double width = twoUp ? r.multi.twoUpSheetWidthMm : r.page.sheetWidthMm;
  const double height = twoUp ? r.multi.twoUpSheetHeightMm : r.page.sheetHeightMm;
  try {
    return imaging::GenerateJobStamps(r.stamps, settings::LoadStamps(), r.page.header.resolution, width,
                                      height, r.page.rotation, r.page.stamps, error);
  } catch (const settings::SettingsError& e) {
    error = e.what();
    return false;
  }
}

int RunConvertTiff(const std::vector<std::string>& words) {
  CliArgs args(words, {"request", "page"}, {"multi"});
  const std::filesystem::path input = args.Required(0, "IN");
  const std::filesystem::path output = args.Required(1, "OUT");
  const auto requestFile = args.Value("request");
  if (!requestFile) throw UsageError("missing --request");
  const bool multi = args.Has("multi");
  const auto page = args.Int("page");
  if (multi && page) throw UsageError("--page and --multi exclude each other");
  if (page && (*page < 0 || *page > INT_MAX)) throw UsageError("--page must be 0 or more");
  ConvertRequest request;
  try {
    request = ReadRequest(*requestFile);
  } catch (const JsonInputError& e) {
    throw UsageError(e.what());
  }

  // The work files go to TEMP, which a fresh program folder lacks.
  std::error_code ec;
  std::filesystem::create_directories(settings::TempFolder(), ec);
  std::string error;
  bool ok = MakeStamps(request, multi, error);
  if (ok && multi) {
    ok = imaging::ConvertMultiTiff(input, request.page, request.multi, output, error,
                                   [](const std::string& status) { std::cerr << status << "\n"; });
  } else if (ok) {
    ok = imaging::ConvertSingleTiff(input, page ? static_cast<int>(*page) : 0, request.page, output, error);
  }
  std::cout << nlohmann::ordered_json{{"ok", ok}, {"message", ok ? "" : error}}.dump() << "\n";
  return ok ? 0 : 1;
}

const CommandRegistrar kConvertTiff{
    {"tool convert-tiff", "IN OUT --request FILE.json [--page N | --multi] [--home DIR]", &RunConvertTiff}};

}  // namespace
}  // namespace orvella::cli
