// orvella tool tiff-*: run one bilevel TIFF operation and print its result as JSON.
#include <charconv>
#include <climits>
#include <iostream>
#include <nlohmann/json.hpp>

#include "app/commands/cli_args.h"
#include "app/commands/command_registry.h"
#include "imaging/tiff_primitives.h"

namespace {

namespace imaging = orvella::imaging;
using orvella::cli::CliArgs;
using orvella::cli::UsageError;

int RequiredInt(const CliArgs& args, const std::string& option) {
  const auto value = args.Int(option);
  if (!value) throw UsageError("missing --" + option);
  if (*value < INT_MIN || *value > INT_MAX) throw UsageError("--" + option + " is out of range");
  return static_cast<int>(*value);
}

int RequiredPage(const CliArgs& args) {
  const auto page = args.Page("page", 0);
  if (!page) throw UsageError("missing --page");
  return *page;
}

double RequiredReal(const CliArgs& args, const std::string& option) {
  const auto value = args.Real(option);
  if (!value) throw UsageError("missing --" + option);
  return *value;
}

// 118.11f as 118.11, not 118.11000061035156.
double ShortestDouble(float value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  double result = 0;
  std::from_chars(text, end, result);
  return result;
}

// The code and its text, and on failure the cause.
nlohmann::json CodeJson(int code, const std::string& detail) {
  nlohmann::json json{{"code", code}, {"text", std::string(imaging::ResultText(code))}};
  if (code != imaging::kTiffOk) json["detail"] = detail;
  return json;
}

int Print(const nlohmann::json& json, bool success) {
  std::cout << json.dump() << "\n";
  return success ? 0 : 1;
}

int PrintCode(int code, const std::string& detail) {
  return Print(CodeJson(code, detail), code == imaging::kTiffOk);
}

int RunTiffInfo(const orvella::cli::CommandContext& /*context*/, const std::vector<std::string>& words) {
  CliArgs args(words, 1, {"page"});
  const std::string file = args.Required(0, "FILE");
  const int page = args.Page("page", 0).value_or(0);
  imaging::TiffPageInfo info;
  std::string detail;
  const int code = imaging::ReadPageInfo(file, page, info, &detail);
  nlohmann::json json = CodeJson(code, detail);
  if (code == imaging::kTiffOk) {
    json["width"] = info.width;
    json["length"] = info.length;
    json["samples_per_pixel"] = info.samplesPerPixel;
    json["bits_per_sample"] = info.bitsPerSample;
    json["photometric"] = info.photometric;
    json["compression"] = info.compression;
    json["x_resolution"] = ShortestDouble(info.xResolution);
    json["y_resolution"] = ShortestDouble(info.yResolution);
    json["resolution_unit"] = info.resolutionUnit;
    imaging::TiffPageResolution resolution;
    if (imaging::ReadPageResolution(file, page, resolution) == imaging::kTiffOk) {
      json["dpi"] = {resolution.xDpi, resolution.yDpi};
    }
    double widthMm = 0, lengthMm = 0;
    if (imaging::ReadPageSizeMm(file, page, widthMm, lengthMm) == imaging::kTiffOk) {
      json["width_mm"] = widthMm;
      json["length_mm"] = lengthMm;
    } else {
      json["width_mm"] = nullptr;  // no usable resolution
      json["length_mm"] = nullptr;
    }
    int pages = 0;
    if (imaging::CountPages(file, pages) == imaging::kTiffOk) json["pages"] = pages;
  }
  return Print(json, code == imaging::kTiffOk);
}

int RunTiffCanvas(const orvella::cli::CommandContext& /*context*/, const std::vector<std::string>& words) {
  CliArgs args(words, 2, {"page", "width-mm", "height-mm"}, {"compress"});
  CliArgs::RefuseSameFile(args.Required(0, "IN"), args.Required(1, "OUT"));
  std::string detail;
  const int code = imaging::PlaceOnCanvas(args.Required(0, "IN"), RequiredPage(args), args.Required(1, "OUT"),
                                          RequiredReal(args, "width-mm"), RequiredReal(args, "height-mm"),
                                          args.Has("compress"), nullptr, {}, {}, &detail);
  return PrintCode(code, detail);
}

int RunTiffRotate(const orvella::cli::CommandContext& context, const std::vector<std::string>& words) {
  CliArgs args(words, 2, {"angle", "halftone"});
  CliArgs::RefuseSameFile(args.Required(0, "IN"), args.Required(1, "OUT"));
  const int halftone = args.Int("halftone") ? RequiredInt(args, "halftone") : 0;
  std::string detail;
  const int code =
      imaging::RotateTiff(args.Required(0, "IN"), args.Required(1, "OUT"), RequiredInt(args, "angle"),
                          halftone, {context.program, {}, context.folders.data}, &detail);
  return PrintCode(code, detail);
}

int RunTiffResample(const orvella::cli::CommandContext& /*context*/, const std::vector<std::string>& words) {
  CliArgs args(words, 2, {"dpi", "scale"}, {"compress", "repack"});
  CliArgs::RefuseSameFile(args.Required(0, "IN"), args.Required(1, "OUT"));
  std::string detail;
  const int code =
      imaging::ResampleTiff(args.Required(0, "IN"), args.Required(1, "OUT"), RequiredReal(args, "dpi"),
                            RequiredReal(args, "scale"), args.Has("compress"), args.Has("repack"), &detail);
  return PrintCode(code, detail);
}

int RunStampRaster(const orvella::cli::CommandContext& /*context*/, const std::vector<std::string>& words) {
  CliArgs args(words, 2, {"x", "y"}, {"pack"});
  CliArgs::RefuseSameFile(args.Required(0, "IN"), args.Required(1, "OUT"));
  std::string detail;
  const int code =
      imaging::WriteStampRaster(args.Required(0, "IN"), args.Required(1, "OUT"), RequiredInt(args, "x"),
                                RequiredInt(args, "y"), args.Has("pack"), &detail);
  return PrintCode(code, detail);
}

const orvella::cli::CommandRegistrar kInfo{
    {"tool tiff-info", "FILE [--page N]", &RunTiffInfo,
     "Prints the size, resolution, compression and page count of page N of a TIFF file.\n"
     "N counts from 0 (the first page is 0, the default), unlike orvella convert --page;\n"
     "details name pages as people count them, from 1."}};
const orvella::cli::CommandRegistrar kCanvas{
    {"tool tiff-canvas", "IN OUT --page N --width-mm W --height-mm H [--compress]", &RunTiffCanvas,
     "Centres page N of IN on a W x H mm canvas at the page's resolution and writes it to OUT.\n"
     "N counts from 0 (the first page is 0), unlike orvella convert --page."}};
const orvella::cli::CommandRegistrar kRotate{
    {"tool tiff-rotate", "IN OUT --angle A [--halftone N] [--home DIR]", &RunTiffRotate,
     "Turns a 1-bit TIFF by A degrees (0, 90, 180, 270), screened first with halftone pattern N\n"
     "(0 to 3) of the program folder's Halftone/ (else the shipped one)."}};
const orvella::cli::CommandRegistrar kResample{
    {"tool tiff-resample", "IN OUT --dpi D --scale S [--compress] [--repack]", &RunTiffResample,
     "Resamples a 1-bit TIFF to D dpi and S times its size; --compress writes Group 4,\n"
     "--repack writes the strips the printers expect."}};
const orvella::cli::CommandRegistrar kStampRaster{
    {"tool stamp-raster", "IN OUT --x X --y Y [--pack]", &RunStampRaster,
     "Writes the 1-bit TIFF IN as an RTL raster block for a plot print file, placed at (X, Y)."}};

}  // namespace
