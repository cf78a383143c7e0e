// orvella tool convert-tiff: one TIFF page (or a whole multi-page file) through
// the page chain into a print file, with the stamps named in a request file.
#include <array>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/commands/cli_args.h"
#include "app/commands/command_registry.h"
#include "app/commands/json_fields.h"
#include "app/commands/raster_options_json.h"
#include "app/commands/stamp_uses_json.h"
#include "imaging/convert_tiff.h"
#include "imaging/stamp_job.h"
#include "settings/settings_error.h"
#include "settings/stamp_settings.h"
#include "settings/work_folder.h"

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
  ReadStampUses(read, r.stamps);
  read.RejectUnknown();
  return r;
}

bool MakeStamps(const settings::WorkContext& work, ConvertRequest& r, bool multi, base::Failure& failure) {
  bool any = false;
  for (const auto& slot : r.stamps) any = any || !slot.name.empty();
  if (!any) return true;
  const auto [width, height] = imaging::StampSheetMm(r.page, multi ? &r.multi : nullptr);
  try {
    return imaging::GenerateJobStamps(work.work, r.stamps, settings::LoadStamps(work.program),
                                      r.page.header.resolution, width, height, r.page.rotation, r.page.stamps,
                                      failure);
  } catch (const settings::SettingsError& e) {
    failure = {e.what(), "the stamp settings cannot be read"};
    return false;
  }
}

int RunConvertTiff(const CommandContext& context, const std::vector<std::string>& words) {
  CliArgs args(words, 2, {"request", "page"}, {"multi"});
  const std::filesystem::path input = args.Required(0, "IN");
  const std::filesystem::path output = args.Required(1, "OUT");
  CliArgs::RefuseSameFile(input, output);
  const auto requestFile = args.Value("request");
  if (!requestFile) throw UsageError("missing --request");
  const bool multi = args.Has("multi");
  const auto page = args.Page("page", 0);
  if (multi && page) throw UsageError("--page and --multi exclude each other");
  ConvertRequest request;
  try {
    request = ReadRequest(*requestFile);
  } catch (const JsonInputError& e) {
    throw UsageError(e.what());
  }

  // The work files go to a folder of this run's own under TEMP, removed at the end.
  base::Failure failure;
  auto folder = settings::WorkFolder::Create(context.program, failure.detail);
  if (!folder) {
    std::cout << nlohmann::ordered_json{{"ok", false},
                                        {"message", settings::kWorkFolderError},
                                        {"detail", failure.detail}}
                     .dump()
              << "\n";
    return 1;
  }
  const settings::WorkContext work = folder->Context(context.folders.data);
  bool ok = MakeStamps(work, request, multi, failure);
  if (ok && multi) {
    ok = imaging::ConvertMultiTiff(work, input, request.page, request.multi, output, failure,
                                   [](const std::string& status) { std::cerr << status << "\n"; });
  } else if (ok) {
    ok = imaging::ConvertSingleTiff(work, input, page.value_or(0), request.page, output, failure);
  }
  nlohmann::ordered_json result{{"ok", ok}, {"message", ok ? "" : failure.message}};
  if (!ok) result["detail"] = failure.detail;
  std::cout << result.dump() << "\n";
  return ok ? 0 : 1;
}

const CommandRegistrar kConvertTiff{
    {"tool convert-tiff", "IN OUT --request FILE.json [--page N | --multi] [--home DIR]", &RunConvertTiff,
     "Converts page N of the 1-bit TIFF file IN, or with --multi every page, into the raster\n"
     "print file OUT, composing the stamps the request names (from STAMP.INI of the program\n"
     "folder). N counts from 0 (the first page is 0, the default), unlike orvella convert --page.\n"
     "Prints {\"ok\": ..., \"message\": ...}; the message is the operator's.\n\n"
     R"(The request file is one JSON object; every key is optional, unknown keys are refused:
  host_magnification      bool    scale on this machine (else the printer scales)
  resolution              int     output resolution, dpi
  magnification           real    percent
  sheet_width_mm          real    sheet the page is centred on, mm
  sheet_height_mm         real
  rotation                int     0 none, 1 90°, 2 180°, 3 270°
  model02_long_sheet      bool    turn long landscape sheets for the MODEL_02 printer
  landscape               int     non-zero: landscape
  free_size_flag          int     non-zero: write "freesize"
  free_size_width         int     mm
  free_size_height        int     mm
  tray_name               string  value of the "tray" print condition
  program_number          int     printer program (0: none)
  fold_type               int     fold type (0: no fold)
  fold_margin             int     mm
  error_print             int     non-zero: "errorprint"
  printer_class           int     0 wide-format, 1 A2-or-smaller
  staple, punch, duplex, z_fold, two_up, auto_paper, auto_paper_percent
                          int     finishing of --multi jobs, as tool raster-job takes them
  quantity                int     copies of a --multi job
  stamp_first_page_only   bool    stamps on the first page only (--multi)
  two_up_sheet_width_mm   real    the whole two-up sheet, mm (--multi with two_up)
  two_up_sheet_height_mm  real
  stamps                  list    up to 3 of {"name": string (a STAMP.INI name, "" for none),
                                              "halftone": int 0 to 3})"}};

}  // namespace
}  // namespace orvella::cli
