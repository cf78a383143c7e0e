// The page chain's printed pixels and job header, held against digests taken
// when every step of the chain still wrote Group 4 files: how the steps hand
// pages to each other may change, what is printed may not.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "imaging/convert_tiff.h"
#include "support/imaging/convert_test_support.h"

namespace orvella::imaging {
namespace {

using test::Bitmap;
using test::PrintedJob;
using test::ReadPrintedJob;
using test::WriteTiff;

// FNV-1a, 64 bits.
class Digest {
 public:
  void Add(const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < size; ++i) hash_ = (hash_ ^ p[i]) * 0x100000001b3ULL;
  }
  void Add(uint32_t value) { Add(&value, sizeof value); }
  std::string Hex() const {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash_));
    return text;
  }

 private:
  uint64_t hash_ = 0xcbf29ce484222325ULL;
};

// The decoded pages (size and pixels) and, apart, the header bytes in front
// of the first page.
struct Printed {
  std::string pixels;
  std::string header;
};

Printed DigestOf(const PrintedJob& job, const std::string& fileBytes) {
  Digest pixels;
  for (const auto& page : job.pages) {
    pixels.Add(page.image.width);
    pixels.Add(page.image.length);
    pixels.Add(page.image.pixels.data(), page.image.pixels.size());
  }
  Digest header;
  header.Add(fileBytes.data(), job.view.bodyOffset);
  return {pixels.Hex(), header.Hex()};
}

class ConvertChainPixels : public test::ConversionTest {
 protected:
  void SetUp() override {
    ConversionTest::SetUp();
    // Pages with lines and noise, so every turn and scale shows.
    for (uint32_t seed : {1u, 2u}) {
      Bitmap page = Bitmap::Random(300, 410, seed, 0.2);
      for (uint32_t x = 0; x < page.width; ++x) page.Set(x, 7 + seed);
      for (uint32_t y = 0; y < page.length; ++y) page.Set(5 * seed, y);
      pages_.push_back(page);
    }
    WriteTiff(home_ / "page.tif", pages_[0], {.xResolution = 100, .yResolution = 100});
    WriteTiff(home_ / "pages.tif", pages_, {.xResolution = 100, .yResolution = 100});
    WriteTiff(home_ / "stamp.tif", Bitmap::Random(61, 23, 3, 0.6), {.xResolution = 100, .yResolution = 100});
    // A pattern of our own, so the digests do not hang on the shipped ones.
    std::filesystem::create_directory(home_ / "Halftone");
    WriteTiff(home_ / "Halftone/1.TIF", Bitmap::Random(40, 30, 4, 0.5),
              {.xResolution = 100, .yResolution = 100});
  }

  PageConversionRequest Request(int rotation, double magnification) const {
    PageConversionRequest request = A4Request();
    request.sheetWidthMm = 100;
    request.sheetHeightMm = 140;
    request.rotation = rotation;
    request.magnification = magnification;
    return request;
  }

  StampPlacement Stamp(double x, double y, int halftone) const {
    return {.valid = true, .path = home_ / "stamp.tif", .x = x, .y = y, .halftone = halftone};
  }

  Printed Printout() {
    const auto file = home_ / "sendfile.prn";
    return DigestOf(ReadPrintedJob(file, home_.Path()), orvella::test::ReadFileBytes(file));
  }

  std::vector<Bitmap> pages_;
};

TEST_F(ConvertChainPixels, SinglePagesPrintAsBefore) {
  struct Case {
    const char* name;
    PageConversionRequest request;
    const char* pixels;
    const char* header;
  };
  std::vector<Case> cases;
  {
    PageConversionRequest r = Request(kRotateNone, 100);
    r.stamps[0] = Stamp(10, 20, 0);
    cases.push_back({"upright at 100 % with a stamp", r, "aaa098bcd3d4cb94", "6d24f01d3c25fb6d"});
  }
  {
    PageConversionRequest r = Request(kRotate90, 70.7);
    r.stamps[1] = Stamp(30, 5, 1);
    cases.push_back(
        {"quarter turn at 70.7 % with a screened stamp", r, "2d82153d9916902f", "6d24f01d3c25fb6d"});
  }
  {
    PageConversionRequest r = Request(kRotate270, 141.4);
    r.stamps[0] = Stamp(95, 120, 0);  // partly beyond the right edge
    cases.push_back(
        {"three quarters at 141.4 % with a clipped stamp", r, "f42fd6a13224def0", "6d24f01d3c25fb6d"});
  }
  {
    PageConversionRequest r = Request(kRotate180, 50);
    r.stamps[0] = Stamp(0, 0, 1);
    r.stamps[2] = Stamp(40, 60, 0);
    cases.push_back({"half turn at 50 % with two stamps", r, "a978146ce3a156f8", "6d24f01d3c25fb6d"});
  }
  {
    PageConversionRequest r = Request(kRotate90, 70.7);
    r.hostMagnification = false;
    r.header.resolution = 600;
    cases.push_back({"quarter turn, the printer scales", r, "9a027cad2725e088", "7444812523f31708"});
  }
  {
    PageConversionRequest r = Request(kRotateNone, 100);
    r.sheetWidthMm = 1400;
    r.sheetHeightMm = 300;
    r.model02LongSheet = true;
    r.header.landscape = 1;
    r.stamps[0] = Stamp(700, 100, 0);
    cases.push_back({"long landscape sheet turned once more", r, "a27240182a13bc93", "6d24f01d3c25fb6d"});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    base::Failure failure;
    ASSERT_TRUE(ConvertSingleTiff(Work(), home_ / "page.tif", 0, c.request, home_ / "sendfile.prn", failure))
        << failure.message << ": " << failure.detail;
    const Printed printed = Printout();
    EXPECT_EQ(printed.pixels, c.pixels);
    EXPECT_EQ(printed.header, c.header);
  }
}

TEST_F(ConvertChainPixels, MultiPageFilesPrintAsBefore) {
  PageConversionRequest request = Request(kRotate90, 70.7);
  request.stamps[0] = Stamp(15, 25, 1);
  MultiPageOptions options;
  options.stampFirstPageOnly = true;
  base::Failure failure;
  ASSERT_TRUE(
      ConvertMultiTiff(Work(), home_ / "pages.tif", request, options, home_ / "sendfile.prn", failure))
      << failure.message << ": " << failure.detail;
  const Printed printed = Printout();
  EXPECT_EQ(printed.pixels, "f83b95cf6712dd0b");
  EXPECT_EQ(printed.header, "6d24f01d3c25fb6d");
}

}  // namespace
}  // namespace orvella::imaging
