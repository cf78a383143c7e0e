// One page through the whole chain into a print file, read back with the
// print-file reader.
#include <gtest/gtest.h>

#include "imaging/convert_tiff.h"
#include "imaging/tiff_halftone.h"
#include "support/imaging/convert_test_support.h"

namespace orvella::imaging {
namespace {

using test::Bitmap;
using test::BlackPixels;
using test::Crop;
using test::PrintedJob;
using test::ReadPrintedJob;
using test::WriteTiff;

class ConvertSingle : public test::ConversionTest {
 protected:
  // A white page with a 10 x 10 black block in its top-left corner.
  std::filesystem::path MarkedPage(uint32_t width, uint32_t length, float dpi) {
    Bitmap page(width, length);
    for (uint32_t y = 0; y < 10; ++y) {
      for (uint32_t x = 0; x < 10; ++x) page.Set(x, y);
    }
    const auto path = home_ / "page.tif";
    WriteTiff(path, page, {.xResolution = dpi, .yResolution = dpi});
    return path;
  }

  PrintedJob Convert(const std::filesystem::path& input, const PageConversionRequest& request) {
    base::Failure failure;
    EXPECT_TRUE(ConvertSingleTiff(Work(), input, 0, request, home_ / "sendfile.prn", failure))
        << failure.message;
    return ReadPrintedJob(home_ / "sendfile.prn", home_.Path());
  }
};

// Which quarter of the printed page holds the black pixels.
std::string Quarter(const Bitmap& page) {
  std::string where;
  const uint32_t w = page.width / 2, h = page.length / 2;
  if (BlackPixels(Crop(page, 0, 0, w, h))) where += "top-left ";
  if (BlackPixels(Crop(page, w, 0, page.width - w, h))) where += "top-right ";
  if (BlackPixels(Crop(page, 0, h, w, page.length - h))) where += "bottom-left ";
  if (BlackPixels(Crop(page, w, h, page.width - w, page.length - h))) where += "bottom-right ";
  return where;
}

TEST_F(ConvertSingle, PageSizeAndHeaderFollowRotationAndScaling) {
  struct Case {
    const char* name;
    int rotation;
    double sheetWidth, sheetHeight, magnification;
    bool host;
    int resolution, landscape;
    uint32_t width, length;  // printed pixels
    double dpi;              // printed resolution
    const char* quarter;     // where the page's top-left corner ends up
    std::vector<std::string> options;
  };
  // A 400 x 600 page at 100 dpi on A4 (827 x 1169 pixels at 100 dpi).
  const Case cases[] = {
      {"host scales to 200 dpi",
       0,
       210,
       297,
       100,
       true,
       200,
       0,
       1654,
       2338,
       200,
       "top-left ",
       {"200dpi", "xmag=1.000", "ymag=1.000", "portrait"}},
      // The canvas is the sheet turned back and doubled; halved after the turn.
      {"quarter turn at 50 %",
       1,
       297,
       210,
       50,
       true,
       100,
       1,
       1169,
       827,
       100,
       "top-right ",
       {"100dpi", "xmag=1.000", "landscape"}},
      // The printer scales: the page keeps the canvas size at its own resolution.
      {"half turn, printer scales",
       3,
       210,
       297,
       70.7,
       false,
       600,
       0,
       1169,
       1654,
       100,
       "bottom-right ",
       {"600dpi", "xmag=0.707", "ymag=0.707", "tifffit", "portrait"}},
  };
  const auto page = MarkedPage(400, 600, 100);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PageConversionRequest request;
    request.rotation = c.rotation;
    request.sheetWidthMm = c.sheetWidth;
    request.sheetHeightMm = c.sheetHeight;
    request.magnification = c.magnification;
    request.hostMagnification = c.host;
    request.header.resolution = c.resolution;
    request.header.landscape = c.landscape;
    request.header.trayName = "2";
    const PrintedJob job = Convert(page, request);
    ASSERT_EQ(job.pages.size(), 1u);
    const auto& printed = job.pages[0];
    EXPECT_EQ(printed.header.width, c.width);
    EXPECT_EQ(printed.header.length, c.length);
    EXPECT_EQ(printed.header.xResolution, c.dpi);
    EXPECT_EQ(printed.header.compression, 4u);
    EXPECT_EQ(Quarter(printed.image), c.quarter);
    for (const auto& option : c.options) EXPECT_TRUE(job.HasOption(option)) << option;
    EXPECT_EQ(job.HasOption("tifffit"), !c.host);
    EXPECT_TRUE(job.HasOption("tray=2"));
    EXPECT_TRUE(job.HasOption("copies=1"));
    // The page travels as the repacked file the chain left in TEMP.
    EXPECT_EQ(printed.bytes, orvella::test::ReadFileBytes(Temp() / "tiff_magnify.tif"));
  }
}

TEST_F(ConvertSingle, StampLandsUprightWhereItsPlacementSays) {
  // 16 x 8 with a white notch in its top-left corner, so a wrong turn shows.
  Bitmap notched(16, 8);
  for (uint32_t y = 0; y < 8; ++y) {
    for (uint32_t x = 0; x < 16; ++x) notched.Set(x, y, x >= 4 || y >= 4);
  }
  Bitmap solid(64, 64);
  for (auto& p : solid.pixels) p = 1;
  const Bitmap screen = test::ReadTiff(*HalftonePatternPath(Work(), 2));

  struct Case {
    const char* name;
    int rotation;
    double sheetWidth, sheetHeight, magnification;
    const Bitmap& stamp;
    int halftone;
    double xMm, yMm;
    uint32_t x, y;  // where the stamp shows on the printed page
    uint32_t visibleWidth;
  };
  // Pixels at 100 dpi: 30 mm -> 118, 40 mm -> 157; A4 is 827 x 1169.
  const Case cases[] = {
      {"unturned", 0, 210, 297, 100, notched, 0, 30, 40, 118, 157, 16},
      // Composed in the page's lower right, turned with it to read upright.
      {"half turn", 3, 210, 297, 100, notched, 0, 30, 40, 827 - 118 - 16, 1169 - 157 - 8, 16},
      // Composed on the 827 x 1169 page before its clockwise quarter turn.
      {"quarter turn", 1, 297, 210, 100, notched, 0, 30, 40, 1169 - 157 - 16, 118, 16},
      // Drawn twice as large on a canvas twice as large, then halved.
      {"at 50 %", 0, 210, 297, 50, notched, 0, 30, 40, 118, 157, 16},
      // 208 mm -> 818: only 9 columns fit, nothing wraps into the next row.
      {"clipped at the right edge", 0, 210, 297, 100, notched, 0, 208, 40, 818, 157, 9},
      {"screened", 0, 210, 297, 100, solid, 2, 30, 40, 118, 157, 64},
  };
  WriteTiff(home_ / "page.tif", Bitmap(400, 600), {.xResolution = 100, .yResolution = 100});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto stampFile = Temp() / "stamp1.tif";
    WriteTiff(stampFile, c.stamp, {.compression = COMPRESSION_NONE, .xResolution = 100, .yResolution = 100});
    PageConversionRequest request;
    request.rotation = c.rotation;
    request.sheetWidthMm = c.sheetWidth;
    request.sheetHeightMm = c.sheetHeight;
    request.magnification = c.magnification;
    request.hostMagnification = true;
    request.header.resolution = 100;
    request.stamps[1] = {.valid = true, .path = stampFile, .x = c.xMm, .y = c.yMm, .halftone = c.halftone};

    const PrintedJob job = Convert(home_ / "page.tif", request);
    ASSERT_EQ(job.pages.size(), 1u);
    const Bitmap& printed = job.pages[0].image;
    Bitmap expected = Crop(c.stamp, 0, 0, c.visibleWidth, c.stamp.length);
    if (c.halftone) {
      for (uint32_t y = 0; y < expected.length; ++y) {
        for (uint32_t x = 0; x < expected.width; ++x)
          expected.Set(x, y, expected.At(x, y) && screen.At(x, y));
      }
    }
    EXPECT_EQ(Crop(printed, c.x, c.y, c.visibleWidth, c.stamp.length), expected);
    // Nothing of the stamp anywhere else.
    EXPECT_EQ(BlackPixels(printed), BlackPixels(expected));
  }
  // The stamp's work files carry its slot number.
  EXPECT_TRUE(std::filesystem::exists(Temp() / "stamp_halftone1.tif"));
  EXPECT_TRUE(std::filesystem::exists(Temp() / "stamp_magnify1.tif"));
  EXPECT_FALSE(std::filesystem::exists(Temp() / "stamp_magnify0.tif"));
}

TEST_F(ConvertSingle, Model02TurnsLongLandscapeSheetsAndPrintsThemPortrait) {
  struct Case {
    const char* name;
    bool model02;
    double sheetWidth, magnification;
    uint32_t width, length;
    const char* orientation;
  };
  // At 20 dpi: 1500 mm -> 1181 pixels, 594 mm -> 468, 1300 mm -> 1024.
  const Case cases[] = {
      {"long sheet turned", true, 1500, 100, 468, 1181, "portrait"},
      {"other models keep it", false, 1500, 100, 1181, 468, "landscape"},
      {"not beyond 1387 mm", true, 1300, 100, 1024, 468, "landscape"},
      // 1000 mm at 150 % is 1500 mm across.
      {"long once magnified", true, 1000, 150, 468, 787, "portrait"},
  };
  const auto page = MarkedPage(100, 100, 20);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(Temp() / "tiff_model02rpt.tif");
    PageConversionRequest request;
    request.model02LongSheet = c.model02;
    request.sheetWidthMm = c.sheetWidth;
    request.sheetHeightMm = 594;
    request.magnification = c.magnification;
    request.hostMagnification = true;
    request.header.resolution = 20;
    request.header.landscape = 1;
    const PrintedJob job = Convert(page, request);
    ASSERT_EQ(job.pages.size(), 1u);
    EXPECT_EQ(job.pages[0].header.width, c.width);
    EXPECT_EQ(job.pages[0].header.length, c.length);
    EXPECT_TRUE(job.HasOption(c.orientation));
    EXPECT_EQ(std::filesystem::exists(Temp() / "tiff_model02rpt.tif"), c.width < c.length);
  }
}

TEST_F(ConvertSingle, PassesTheJobsValuesToTheHeader) {
  PageConversionRequest request;
  request.sheetWidthMm = 210;
  request.sheetHeightMm = 297;
  request.hostMagnification = true;
  request.header.resolution = 100;
  request.header.freeSizeFlag = 1;
  request.header.freeSizeWidth = 210;
  request.header.freeSizeHeight = 297;
  request.header.trayName = "3";
  request.header.programNumber = 12;
  request.header.errorPrint = 1;
  request.header.foldType = 3;
  request.header.foldMargin = 25;
  request.header.printerClass = 0;
  const PrintedJob job = Convert(MarkedPage(100, 100, 100), request);
  EXPECT_EQ(job.options,
            (std::vector<std::string>{"tray=3", "maxarea", "copies=1", "100dpi", "xmag=1.000", "ymag=1.000",
                                      "portrait", "freesize=210x297", "errorprint"}));
  EXPECT_TRUE(job.HasPjl("@PJL SET FOLD = FILE"));
  EXPECT_TRUE(job.HasPjl("@PJL SET FOLDMARGIN = 25"));
  ASSERT_FALSE(job.view.escapes.empty());
  EXPECT_EQ(job.view.escapes[0].text, "!0@P12");
}

}  // namespace
}  // namespace orvella::imaging
