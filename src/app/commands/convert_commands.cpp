// orvella tool convert-tiff: one TIFF page (or a whole multi-page file) through
// the page chain into a print file, with the stamps named in a request file.
#include <array>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/commands/cli_args.h"
#include "app/commands/command_registry.h"
#include "imaging/convert_tiff.h"
#include "imaging/stamp_job.h"
#include "settings/settings_error.h"
#include "settings/stamp_settings.h"
#include "settings/work_folder.h"

namespace orvella::cli {
namespace {

using json = nlohmann::json;

struct ConvertRequest {
  imaging::PageConversionRequest page;
  imaging::MultiPageOptions multi;
  std::array<settings::StampUse, 3> stamps;
};

// Reads the request's keys into typed fields; a key it was not asked for, or
// a value of the wrong kind, is a usage error, so a typing mistake in the
// request file never silently falls back to a default.
class RequestReader {
 public:
  explicit RequestReader(const json& object) : object_(object) {}

  void Int(const char* key, int& out) {
    const json* v = Find(key);
    if (!v) return;
    if (v->is_boolean()) {
      out = v->get<bool>() ? 1 : 0;
      return;
    }
    if (!v->is_number_integer()) throw Bad(key, "an integer");
    const auto value = v->get<long long>();
    if (value < INT_MIN || value > INT_MAX) throw Bad(key, "an integer in range");
    out = static_cast<int>(value);
  }
  void Flag(const char* key, bool& out) {
    int value = out ? 1 : 0;
    Int(key, value);
    out = value != 0;
  }
  void Real(const char* key, double& out) {
    const json* v = Find(key);
    if (!v) return;
    if (!v->is_number()) throw Bad(key, "a number");
    out = v->get<double>();
  }
  void Text(const char* key, std::string& out) {
    const json* v = Find(key);
    if (!v) return;
    if (!v->is_string()) throw Bad(key, "a string");
    out = v->get<std::string>();
  }
  const json* Find(const char* key) {
    known_.insert(key);
    const auto it = object_.find(key);
    return it == object_.end() ? nullptr : &*it;
  }
  void RejectUnknown(const std::string& where) const {
    for (const auto& [key, value] : object_.items()) {
      if (!known_.count(key)) throw UsageError(where + ": unknown key \"" + key + "\"");
    }
  }

 private:
  static UsageError Bad(const char* key, const char* what) {
    return UsageError(std::string("request: \"") + key + "\" must be " + what);
  }

  const json& object_;
  std::set<std::string> known_;
};

ConvertRequest ReadRequest(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw UsageError("cannot read the request file " + path);
  std::stringstream text;
  text << in.rdbuf();
  const json object = json::parse(text.str(), nullptr, false);
  if (!object.is_object()) throw UsageError("the request file " + path + " is not a JSON object");

  ConvertRequest r;
  RequestReader read(object);
  imaging::PageConversionRequest& p = r.page;
  read.Flag("host_magnification", p.hostMagnification);
  read.Int("resolution", p.resolution);
  read.Real("magnification", p.magnification);
  read.Real("sheet_width_mm", p.sheetWidthMm);
  read.Real("sheet_height_mm", p.sheetHeightMm);
  read.Int("rotation", p.rotation);
  read.Flag("model02_long_sheet", p.model02LongSheet);
  read.Int("landscape", p.landscape);
  read.Int("free_size_flag", p.freeSizeFlag);
  read.Int("free_size_width", p.freeSizeWidth);
  read.Int("free_size_height", p.freeSizeHeight);
  read.Text("tray_name", p.trayName);
  read.Int("program_number", p.programNumber);
  read.Int("fold_type", p.foldType);
  read.Int("fold_margin", p.foldMargin);
  read.Int("error_print", p.errorPrint);
  read.Int("printer_class", p.printerClass);
  imaging::MultiPageOptions& m = r.multi;
  read.Int("staple", m.finishing.staple);
  read.Int("punch", m.finishing.punch);
  read.Int("duplex", m.finishing.duplex);
  read.Int("z_fold", m.finishing.zFold);
  read.Int("two_up", m.finishing.twoUp);
  read.Int("auto_paper", m.finishing.autoPaper);
  read.Int("auto_paper_percent", m.finishing.autoPaperPercent);
  read.Int("quantity", m.quantity);
  read.Flag("stamp_first_page_only", m.stampFirstPageOnly);
  read.Real("two_up_sheet_width_mm", m.twoUpSheetWidthMm);
  read.Real("two_up_sheet_height_mm", m.twoUpSheetHeightMm);
  if (const json* stamps = read.Find("stamps")) {
    if (!stamps->is_array() || stamps->size() > r.stamps.size())
      throw UsageError("request: \"stamps\" must be a list of at most three stamps");
    for (size_t i = 0; i < stamps->size(); ++i) {
      const json& slot = (*stamps)[i];
      if (!slot.is_object()) throw UsageError("request: each stamp must be an object");
      RequestReader stamp(slot);
      stamp.Text("name", r.stamps[i].name);
      stamp.Int("halftone", r.stamps[i].halftone);
      stamp.RejectUnknown("request: stamp " + std::to_string(i));
      if (r.stamps[i].halftone < 0 || r.stamps[i].halftone > 3)
        throw UsageError("request: a stamp's \"halftone\" must be 0 to 3");
    }
  }
  read.RejectUnknown("request");
  return r;
}

// The stamps are placed on the sheet the pages are composed on: the whole
// two-up sheet when two pages share one.
bool MakeStamps(const settings::WorkContext& work, ConvertRequest& r, bool multi, base::Failure& failure) {
  bool any = false;
  for (const auto& slot : r.stamps) any = any || !slot.name.empty();
  if (!any) return true;
  const bool twoUp = multi && r.multi.finishing.twoUp != 0;
  const double width = twoUp ? r.multi.twoUpSheetWidthMm : r.page.sheetWidthMm;
  const double height = twoUp ? r.multi.twoUpSheetHeightMm : r.page.sheetHeightMm;
  try {
    return imaging::GenerateJobStamps(work.work, r.stamps, settings::LoadStamps(work.program),
                                      r.page.resolution, width, height, r.page.rotation, r.page.stamps,
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
  const auto page = args.Int("page");
  if (multi && page) throw UsageError("--page and --multi exclude each other");
  if (page && (*page < 0 || *page > INT_MAX)) throw UsageError("--page must be 0 or more");
  ConvertRequest request = ReadRequest(*requestFile);

  // The work files go to a folder of this run's own under TEMP, removed at the end.
  base::Failure failure;
  auto folder = settings::WorkFolder::Create(context.program, failure.detail);
  if (!folder) {
    std::cout << nlohmann::ordered_json{{"ok", false}, {"message", ""}, {"detail", failure.detail}}.dump()
              << "\n";
    return 1;
  }
  const settings::WorkContext work = folder->Context();
  bool ok = MakeStamps(work, request, multi, failure);
  if (ok && multi) {
    ok = imaging::ConvertMultiTiff(work, input, request.page, request.multi, output, failure,
                                   [](const std::string& status) { std::cerr << status << "\n"; });
  } else if (ok) {
    ok = imaging::ConvertSingleTiff(work, input, page ? static_cast<int>(*page) : 0, request.page, output,
                                    failure);
  }
  nlohmann::ordered_json result{{"ok", ok}, {"message", ok ? "" : failure.message}};
  if (!ok) result["detail"] = failure.detail;
  std::cout << result.dump() << "\n";
  return ok ? 0 : 1;
}

const CommandRegistrar kConvertTiff{
    {"tool convert-tiff", "IN OUT --request FILE.json [--page N | --multi] [--home DIR]", &RunConvertTiff,
     "Converts page N (from 0; default 0) of the 1-bit TIFF file IN, or with --multi every page,\n"
     "into the raster print file OUT, composing the stamps the request names (from STAMP.INI of\n"
     "the program folder). Prints {\"ok\": ..., \"message\": ...}; the message is the operator's.\n\n"
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
