#pragma once
// First step of every page: the page centred on a sheet-sized canvas with the
// job's stamps ORed into it, as an uncompressed repacked TIFF.
#include <filesystem>
#include <string>

#include "imaging/page_conversion_request.h"
#include "settings/work_folder.h"

namespace orvella::imaging {

// Why a composition failed; the number is shown to the operator.
enum ComposeCode : int {
  kComposeOk = 0,
  kComposeResolution = 1,   // the page's resolution cannot be read (also LZW or non-bilevel pages)
  kComposeStampTurn = 2,    // a stamp's rotation or halftone failed
  kComposeStampScale = 3,   // a stamp's scaling failed
  kComposeStampHeader = 4,  // a scaled stamp's header cannot be read
  kComposeStampOpen = 5,    // a scaled stamp cannot be opened
  kComposePageHeader = 6,   // the canvas step refused the page's header
  kComposeCanvas = 7,       // the canvas step failed
};

// Composes page (from 0) of input into output. The canvas is the request's
// sheet (its sides exchanged for quarter turns) enlarged by 100 / magnification,
// at the page's resolution, so that the later scaling to the magnification
// gives the sheet. Each valid stamp is turned back by the stamp angle, screened
// with its halftone pattern (stamp_halftone<slot>.tif of the work folder),
// scaled by 100 / magnification to the page's resolution (stamp_magnify<slot>.tif)
// and ORed into the rows at its placement, clipped at the row end.
// kComposeOk, or why it failed; detail, when given, then receives the cause.
ComposeCode ComposePage(const settings::WorkContext& context, const std::filesystem::path& input, int page,
                        const std::filesystem::path& output, const PageConversionRequest& request,
                        std::string* detail = nullptr);

}  // namespace orvella::imaging
