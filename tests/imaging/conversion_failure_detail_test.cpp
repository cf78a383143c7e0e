// A failed conversion keeps the operator's message exactly and adds a detail
// that names the real cause: the file, the page, what was found.
#include <gtest/gtest.h>

#include "imaging/convert_tiff.h"
#include "imaging/tiff_repack.h"
#include "support/imaging/convert_test_support.h"

namespace orvella::imaging {
namespace {

using test::Bitmap;
using test::WriteTiff;

using ConversionFailureDetail = test::ConversionTest;

TEST_F(ConversionFailureDetail, NamesTheCauseBesideTheUnchangedMessage) {
  const std::string two = (home_ / "two.tif").string();
  WriteTiff(two, {Bitmap(100, 100), Bitmap(100, 100)}, {.xResolution = 100, .yResolution = 100});
  const std::string gray = (home_ / "gray.tif").string();
  WriteTiff(gray, Bitmap(100, 100), {.compression = COMPRESSION_NONE, .bitsPerSample = 8});
  const std::string lzw = (home_ / "lzw.tif").string();
  WriteTiff(lzw, Bitmap(100, 100), {.compression = COMPRESSION_LZW});
  // Within the page limit, but at a resolution whose A4 canvas is not.
  const std::string fine = (home_ / "fine.tif").string();
  const auto header = RepackedHeader({100000, 100000, true, 40000, 40000}, 64);
  orvella::test::WriteFileBytes(fine, std::string(header.begin(), header.end()) + std::string(64, '\0'));
  const std::string missing = (home_ / "none.tif").string();
  const std::string folder = home_.Path().string();

  struct Case {
    std::string input;
    int page;
    bool multi;
    std::string message;
    std::string detail;
  };
  const std::string composeFailed = "スタンプ画像の合成エラー : code - 1";
  const Case cases[] = {
      {missing, 0, false, composeFailed, missing + " does not exist"},
      {missing, 0, true, "TIFFファイルページ数取得エラー", missing + " does not exist"},
      {folder, 0, false, composeFailed, folder + " is a folder, not a TIFF file"},
      {gray, 0, false, composeFailed,
       "page 1 of " + gray + " is 8 bits per sample; only 1-bit pages are supported"},
      {gray, 0, true, "スタンプ画像の合成エラー(ページ1/1) : code - 1",
       "page 1 of " + gray + " is 8 bits per sample; only 1-bit pages are supported"},
      {lzw, 0, false, composeFailed,
       "page 1 of " + lzw + " is LZW-compressed; LZW compression is not supported"},
      {two, 2, false, composeFailed, two + " has 2 pages; there is no page 3"},
      {fine, 0, false, "スタンプ画像の合成エラー : code - 7",
       "page 1 of " + fine +
           " has a resolution of 40000.0 dpi, at which a canvas of 210.0 x 297.0 mm would be "
           "more than 4 GiB unpacked"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.detail);
    base::Failure failure;
    const auto output = home_ / "out.prn";
    const bool ok = c.multi ? ConvertMultiTiff(Work(), c.input, A4Request(), {}, output, failure)
                            : ConvertSingleTiff(Work(), c.input, c.page, A4Request(), output, failure);
    EXPECT_FALSE(ok);
    EXPECT_EQ(failure.message, c.message);
    EXPECT_EQ(failure.detail, c.detail);
    EXPECT_FALSE(std::filesystem::exists(output));
  }
}

}  // namespace
}  // namespace orvella::imaging
