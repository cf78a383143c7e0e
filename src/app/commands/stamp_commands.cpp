// Diagnostic commands of the stamp renderer: render one stamp of STAMP.INI,
// and run the job-level stamp step for one input folder.
#include <array>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/commands/cli_args.h"
#include "app/commands/command_registry.h"
#include "imaging/stamp_job.h"
#include "imaging/stamp_renderer.h"
#include "settings/input_settings.h"
#include "settings/program_folders.h"
#include "settings/stamp_settings.h"

namespace orvella::cli {
namespace {

// Keys in the order written, "ok" first, for people reading the output.
using json = nlohmann::ordered_json;

constexpr long long kMaxDpi = 9600;

void Print(const json& out) { std::cout << out.dump(2, ' ', false, json::error_handler_t::replace) << "\n"; }

int DpiOption(const CliArgs& args) {
  auto dpi = args.Int("dpi");
  if (!dpi) throw UsageError("missing --dpi");
  if (*dpi < 1 || *dpi > kMaxDpi) throw UsageError("--dpi must lie between 1 and " + std::to_string(kMaxDpi));
  return static_cast<int>(*dpi);
}

double RealOption(const CliArgs& args, const std::string& name) {
  auto v = args.Real(name);
  if (!v) throw UsageError("missing --" + name);
  return *v;
}

// --date YYYY-MM-DD, else today.
imaging::StampDate DateOption(const CliArgs& args) {
  auto text = args.Value("date");
  if (!text) return imaging::LocalToday();
  imaging::StampDate date;
  int* parts[] = {&date.year, &date.month, &date.day};
  const char* p = text->data();
  const char* end = p + text->size();
  for (int i = 0; i < 3; ++i) {
    auto [next, ec] = std::from_chars(p, end, *parts[i]);
    const bool separatorOk = i == 2 ? next == end : (next != end && *next == '-');
    if (ec != std::errc() || !separatorOk) throw UsageError("--date needs YYYY-MM-DD");
    p = next + (i < 2 ? 1 : 0);
  }
  if (date.year < 0 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31)
    throw UsageError("--date needs YYYY-MM-DD");
  return date;
}

json Rect(const imaging::MmRect& r) { return {{"x0", r.x0}, {"y0", r.y0}, {"x1", r.x1}, {"y1", r.y1}}; }

json LayoutJson(const imaging::StampLayout& layout) {
  json out{{"padding_mm", layout.padding}, {"border_mm", Rect(layout.borderBox)}};
  if (layout.border == imaging::BorderType::kCircle) out["radius_mm"] = layout.radius;
  json rows = json::array();
  for (size_t i = 0; i < layout.rows.size(); ++i) {
    json row = Rect(layout.rowBoxes[i]);
    row["text"] = layout.rows[i];
    rows.push_back(row);
  }
  out["rows_mm"] = rows;
  json rulers = json::array();
  for (const auto& r : layout.rulers) rulers.push_back(Rect(r));
  out["rulers_mm"] = rulers;
  return out;
}

json Failure(const std::string& message) { return {{"ok", false}, {"message", message}}; }
json Failure(const base::Failure& failure) {
  return {{"ok", false}, {"message", failure.message}, {"detail", failure.detail}};
}

int RunRenderStamp(const CommandContext& context, const std::vector<std::string>& argv) {
  CliArgs args(argv, 1, {"dpi", "out", "date"});
  const std::string& name = args.Required(0, "NAME");
  const int dpi = DpiOption(args);
  const auto out = args.Value("out");
  if (!out) throw UsageError("missing --out");
  const imaging::StampDate today = DateOption(args);

  const settings::StampList stamps = settings::LoadStamps(context.program);
  const settings::StampSetting* stamp = settings::FindStamp(stamps, name);
  imaging::RenderedStamp rendered;
  if (!stamp || !imaging::RenderStamp(*stamp, dpi, *out, today, &rendered)) {
    Print(Failure(imaging::StampErrorText(name)));
    return 1;
  }
  json result{{"ok", true},
              {"width_px", rendered.widthPx},
              {"height_px", rendered.heightPx},
              {"width_mm", rendered.widthMm},
              {"height_mm", rendered.heightMm}};
  if (stamp->type == settings::StampType::kSimple) result["layout"] = LayoutJson(rendered.layout);
  Print(result);
  return 0;
}

int RunPlaceStamps(const CommandContext& context, const std::vector<std::string>& argv) {
  CliArgs args(argv, 0, {"folder", "dpi", "sheet-width-mm", "sheet-height-mm", "rotation", "date"});
  const auto folder = args.Int("folder");
  if (!folder) throw UsageError("missing --folder");
  const int dpi = DpiOption(args);
  const double width = RealOption(args, "sheet-width-mm");
  const double height = RealOption(args, "sheet-height-mm");
  const auto rotation = args.Int("rotation");
  if (!rotation || *rotation < 0 || *rotation > 3) throw UsageError("--rotation must be 0, 1, 2 or 3");
  const imaging::StampDate today = DateOption(args);

  const auto inputs = settings::LoadInputSettings(context.program);
  if (*folder < 0 || static_cast<size_t>(*folder) >= inputs.size()) {
    throw UsageError("--folder must lie between 0 and " +
                     std::to_string(static_cast<long long>(inputs.size()) - 1));
  }
  // The stamp files are what this command makes: they go to TEMP and stay.
  const std::filesystem::path temp = settings::TempFolder(context.program);
  std::filesystem::create_directories(temp);
  std::array<imaging::StampPlacement, 3> placements{};
  base::Failure failure;
  if (!imaging::GenerateJobStamps(temp, inputs[*folder].stamps, settings::LoadStamps(context.program), dpi,
                                  width, height, static_cast<int>(*rotation), placements, failure, today)) {
    Print(Failure(failure));
    return 1;
  }
  json list = json::array();
  for (const auto& p : placements) {
    list.push_back({{"valid", p.valid},
                    {"path", p.path.string()},
                    {"x_mm", p.x},
                    {"y_mm", p.y},
                    {"halftone", p.halftone}});
  }
  Print({{"ok", true}, {"placements", list}});
  return 0;
}

CommandRegistrar renderStamp{
    {"tool render-stamp", "NAME --dpi D --out FILE.tif [--date YYYY-MM-DD]", &RunRenderStamp,
     "Renders the stamp NAME of STAMP.INI at D dpi with the given date (default today) into a\n"
     "1-bit TIFF. Prints its size in pixels and mm, and for a text stamp where each row went."}};
CommandRegistrar placeStamps{{"tool place-stamps",
                              "--folder N --dpi D --sheet-width-mm W --sheet-height-mm H --rotation R "
                              "[--date YYYY-MM-DD]",
                              &RunPlaceStamps,
                              "Renders the stamps hot folder N (from 0) of INPUT.INI names into TEMP\n"
                              "(stamp1.tif to stamp3.tif, kept) and places them on a W x H mm sheet\n"
                              "turned by R (0 to 3 quarter turns). Prints each placement."}};

}  // namespace
}  // namespace orvella::cli
