#pragma once
// The TIFF page chain: compose, turn, scale (and join) the pages of a job and
// write the raster print file. Work files live in the work folder the caller
// hands over, under fixed names, so each job needs a work folder of its own.
#include <filesystem>
#include <functional>
#include <string>

#include "base/failure.h"
#include "imaging/page_conversion_request.h"
#include "settings/work_folder.h"

namespace orvella::imaging {

// A page count that cannot be read, for the chain and for the worker alike.
inline constexpr const char* kPageCountError = "TIFFファイルページ数取得エラー";

// Receives the status text of the page being converted.
using ConversionProgress = std::function<void(const std::string& status)>;

// Converts page (from 0) of input into the print file output. False with the
// operator's message and the cause in failure when a step fails.
bool ConvertSingleTiff(const settings::WorkContext& context, const std::filesystem::path& input, int page,
                       const PageConversionRequest& request, const std::filesystem::path& output,
                       base::Failure& failure);

// Converts every page of input into one print file: the repacked pages back to
// back behind one header, with the request's finishing and quantity. With
// two-up on, the pages are composed on the options' two-up sheet at 100 % and
// scaled to half of it. False with the operator's message and the cause in
// failure when a step fails.
bool ConvertMultiTiff(const settings::WorkContext& context, const std::filesystem::path& input,
                      const PageConversionRequest& request, const MultiPageOptions& options,
                      const std::filesystem::path& output, base::Failure& failure,
                      const ConversionProgress& progress = {});

// Two-up: the request's sheet replaced by half of it and the magnification by
// the factor that fits a page into that half (snapped to exactly 100 when it
// comes within rounding of it).
PageConversionRequest HalvedForTwoUp(const PageConversionRequest& request);

}  // namespace orvella::imaging
