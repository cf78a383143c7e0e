#include "imaging/tiff_canvas.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "support/imaging/test_bitmap.h"
#include "support/temp_dir.h"

namespace orvella::imaging {
namespace {

using test::Bitmap;
using test::ReadTiff;
using test::WriteTiff;

uint32_t U32At(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]);
  return v;
}

// At 254 dpi one millimetre is ten pixels.
constexpr float kTenPerMm = 254;

TEST(PlaceOnCanvas, CentresASmallerPageWithWhiteMargins) {
  orvella::test::TempDir dir;
  const Bitmap page = Bitmap::Random(13, 7, 3);
  for (uint16_t photometric : {PHOTOMETRIC_MINISWHITE, PHOTOMETRIC_MINISBLACK}) {
    Bitmap stored = page;
    if (photometric == PHOTOMETRIC_MINISBLACK) {
      for (auto& p : stored.pixels) p = !p;
    }
    WriteTiff(dir / "page.tif", stored,
              {.photometric = photometric, .xResolution = kTenPerMm, .yResolution = kTenPerMm});
    // 3.0 x 2.0 mm is 30 x 20 pixels: offsets (30-13)/2 = 8 and (20-7)/2 = 6.
    TiffPageInfo info;
    ASSERT_EQ(PlaceOnCanvas(dir / "page.tif", 0, dir / "out.tif", 3.0, 2.0, true, &info), kTiffOk);
    EXPECT_EQ(info.width, 13u);
    EXPECT_EQ(info.photometric, photometric);
    Bitmap expected(30, 20);
    for (uint32_t y = 0; y < 7; ++y) {
      for (uint32_t x = 0; x < 13; ++x) expected.Set(x + 8, y + 6, page.At(x, y));
    }
    EXPECT_EQ(ReadTiff(dir / "out.tif"), expected) << "photometric " << photometric;
  }
}

TEST(PlaceOnCanvas, NeverCropsAPageLargerThanTheCanvas) {
  orvella::test::TempDir dir;
  const Bitmap page = Bitmap::Random(50, 40, 4);
  WriteTiff(dir / "page.tif", page, {.xResolution = kTenPerMm, .yResolution = kTenPerMm});
  // Narrower but taller canvas: only the length grows, the page keeps its width.
  ASSERT_EQ(PlaceOnCanvas(dir / "page.tif", 0, dir / "out.tif", 2.0, 6.0, true), kTiffOk);
  Bitmap expected(50, 60);
  for (uint32_t y = 0; y < 40; ++y) {
    for (uint32_t x = 0; x < 50; ++x) expected.Set(x, y + 10, page.At(x, y));
  }
  EXPECT_EQ(ReadTiff(dir / "out.tif"), expected);
  // 0 x 0 keeps the page as it is.
  ASSERT_EQ(PlaceOnCanvas(dir / "page.tif", 0, dir / "same.tif", 0, 0, false), kTiffOk);
  EXPECT_EQ(ReadTiff(dir / "same.tif"), page);
}

TEST(PlaceOnCanvas, WritesTheFixedRepackedHeader) {
  orvella::test::TempDir dir;
  const Bitmap page = Bitmap::Random(20, 3, 5);
  WriteTiff(dir / "page.tif", page, {.xResolution = 600, .yResolution = 300});
  for (bool compress : {true, false}) {
    ASSERT_EQ(PlaceOnCanvas(dir / "page.tif", 0, dir / "out.tif", 0, 0, compress), kTiffOk);
    const std::string bytes = orvella::test::ReadFileBytes(dir / "out.tif");
    ASSERT_GT(bytes.size(), 174u);
    const uint32_t strip = static_cast<uint32_t>(bytes.size() - 174);
    const std::vector<uint32_t> entries[] = {
        {256, 4, 1, 20},    {257, 4, 1, 3},   {258, 3, 1, 1},   {259, 3, 1, compress ? 4u : 1u},
        {262, 3, 1, 0},     {273, 4, 1, 174}, {277, 3, 1, 1},   {278, 4, 1, 3},
        {279, 4, 1, strip}, {282, 5, 1, 158}, {283, 5, 1, 166}, {296, 3, 1, 2},
    };
    std::string expected("II\x2a\0\x08\0\0\0\x0c\0", 10);
    for (const auto& e : entries) {
      for (int i = 0; i < 2; ++i) expected += static_cast<char>(e[0] >> (8 * i));
      for (int i = 0; i < 2; ++i) expected += static_cast<char>(e[1] >> (8 * i));
      for (int i = 0; i < 4; ++i) expected += static_cast<char>(e[2] >> (8 * i));
      for (int i = 0; i < 4; ++i) expected += static_cast<char>(e[3] >> (8 * i));
    }
    expected.append(4, '\0');
    EXPECT_EQ(bytes.substr(0, 158), expected) << "compress " << compress;
    // Scaled by 8 while below 2^28: 600 and 300 both become n / 8^7.
    EXPECT_EQ(U32At(bytes, 158), 1258291200u);
    EXPECT_EQ(U32At(bytes, 162), 2097152u);
    EXPECT_EQ(U32At(bytes, 166), 629145600u);
    EXPECT_EQ(U32At(bytes, 170), 2097152u);
    if (!compress) {
      std::string raw;
      for (uint32_t y = 0; y < 3; ++y) {
        for (uint8_t b : page.PackedRow(y)) raw += static_cast<char>(b);
      }
      EXPECT_EQ(bytes.substr(174), raw);
    }
    EXPECT_EQ(ReadTiff(dir / "out.tif"), page);
  }
}

TEST(PlaceOnCanvas, HooksSeeEveryRowAndCanAbort) {
  orvella::test::TempDir dir;
  WriteTiff(dir / "page.tif", Bitmap(10, 4), {.xResolution = kTenPerMm, .yResolution = kTenPerMm});
  std::vector<uint32_t> rows;
  std::vector<int> phases;
  auto rowHook = [&](const TiffPageInfo& canvas, uint32_t row, uint8_t* data, size_t bytes) {
    EXPECT_EQ(canvas.width, 20u);
    EXPECT_EQ(canvas.length, 6u);
    EXPECT_EQ(bytes, 3u);
    rows.push_back(row);
    if (row == 5) data[2] |= 0x10;  // pixel 19 of the last row
    return true;
  };
  auto fileHook = [&](std::FILE* out, bool before) {
    phases.push_back(before);
    return std::fputs(before ? "HEAD" : "TAIL", out) >= 0;
  };
  ASSERT_EQ(PlaceOnCanvas(dir / "page.tif", 0, dir / "out.bin", 2.0, 0.6, true, nullptr, rowHook, fileHook),
            kTiffOk);
  EXPECT_EQ(rows, (std::vector<uint32_t>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(phases, (std::vector<int>{1, 0}));
  const std::string bytes = orvella::test::ReadFileBytes(dir / "out.bin");
  EXPECT_EQ(bytes.substr(0, 4), "HEAD");
  EXPECT_EQ(bytes.substr(bytes.size() - 4), "TAIL");
  orvella::test::WriteFileBytes(dir / "page-only.tif", bytes.substr(4, bytes.size() - 8));
  Bitmap expected(20, 6);
  expected.Set(19, 5);
  EXPECT_EQ(ReadTiff(dir / "page-only.tif"), expected);

  auto refuseRow = [](const TiffPageInfo&, uint32_t row, uint8_t*, size_t) { return row < 2; };
  EXPECT_EQ(PlaceOnCanvas(dir / "page.tif", 0, dir / "a.tif", 0, 0, true, nullptr, refuseRow),
            kTiffCallbackError);
  EXPECT_FALSE(std::filesystem::exists(dir / "a.tif"));
  for (bool refuseBefore : {true, false}) {
    auto refuseFile = [&](std::FILE*, bool before) { return before != refuseBefore; };
    EXPECT_EQ(PlaceOnCanvas(dir / "page.tif", 0, dir / "b.tif", 0, 0, true, nullptr, {}, refuseFile),
              kTiffCallbackError);
    EXPECT_FALSE(std::filesystem::exists(dir / "b.tif"));
  }
}

// The Group 4 intermediate lies beside the output, in the caller's folder:
// a system temp folder that takes no files (TMPDIR=/proc refuses even root)
// changes nothing, and nothing is left behind on any path.
TEST(PlaceOnCanvas, CarriesTheFileTimesAndNeedsNoSystemTempFolder) {
  orvella::test::TempDir dir;
  const std::string oldTmp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
  setenv("TMPDIR", "/proc", 1);
  WriteTiff(dir / "page.tif", Bitmap::Random(30, 30, 6));
  const struct timespec times[2] = {{1000000000, 0}, {1200000000, 500}};
  ASSERT_EQ(utimensat(AT_FDCWD, (dir / "page.tif").c_str(), times, 0), 0);
  std::string detail;
  EXPECT_EQ(PlaceOnCanvas(dir / "page.tif", 0, dir / "out.tif", 0, 0, true, nullptr, {}, {}, &detail),
            kTiffOk)
      << detail;
  EXPECT_EQ(PlaceOnCanvas(dir / "page.tif", 3, dir / "bad.tif", 0, 0, true), kTiffPageError);
  auto refuse = [](const TiffPageInfo&, uint32_t, uint8_t*, size_t) { return false; };
  EXPECT_EQ(PlaceOnCanvas(dir / "page.tif", 0, dir / "bad.tif", 0, 0, true, nullptr, refuse),
            kTiffCallbackError);
  if (oldTmp.empty()) {
    unsetenv("TMPDIR");
  } else {
    setenv("TMPDIR", oldTmp.c_str(), 1);
  }
  struct stat st {};
  ASSERT_EQ(stat((dir / "out.tif").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtim.tv_sec, 1200000000);
  EXPECT_EQ(st.st_mtim.tv_nsec, 500);
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    left.push_back(entry.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"out.tif", "page.tif"}));
}

}  // namespace
}  // namespace orvella::imaging
