#include "imaging/tiff_stamp_raster.h"

#include <gtest/gtest.h>

#include "imaging/tiff_packbits.h"
#include "support/imaging/test_bitmap.h"
#include "support/temp_dir.h"

namespace orvella::imaging {
namespace {

using test::Bitmap;
using test::WriteTiff;

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<uint8_t> v;
  for (int b : values) v.push_back(static_cast<uint8_t>(b));
  return v;
}

std::vector<uint8_t> Unpack(const std::vector<uint8_t>& packed) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i < packed.size();) {
    const auto n = static_cast<int8_t>(packed[i++]);
    if (n >= 0) {
      out.insert(out.end(), packed.begin() + static_cast<long>(i),
                 packed.begin() + static_cast<long>(i) + n + 1);
      i += static_cast<size_t>(n) + 1;
    } else if (n != -128) {
      out.insert(out.end(), static_cast<size_t>(1 - n), packed[i++]);
    }
  }
  return out;
}

std::vector<uint8_t> Pack(const std::vector<uint8_t>& in) {
  std::vector<uint8_t> out(PackBitsBound(in.size()));
  out.resize(PackBits(in.data(), in.size(), out.data()));
  return out;
}

TEST(PackBits, EncodesTheTiffExample) {
  const auto in = Bytes({0xAA, 0xAA, 0xAA, 0x80, 0x00, 0x2A, 0xAA, 0xAA, 0xAA, 0xAA, 0x80, 0x00,
                         0x2A, 0x22, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA});
  EXPECT_EQ(Pack(in), Bytes({0xFE, 0xAA, 0x02, 0x80, 0x00, 0x2A, 0xFD, 0xAA, 0x03, 0x80, 0x00, 0x2A, 0x22,
                             0xF7, 0xAA}));
}

TEST(PackBits, RoundTripsRunsAndLiteralsAcrossTheLengthLimits) {
  std::vector<std::vector<uint8_t>> inputs = {Bytes({7}), Bytes({1, 1}), std::vector<uint8_t>(128, 0),
                                              std::vector<uint8_t>(129, 0xFF), std::vector<uint8_t>(300, 5)};
  std::vector<uint8_t> literal;
  for (int i = 0; i < 300; ++i) literal.push_back(static_cast<uint8_t>(i * 7));
  inputs.push_back(literal);
  std::vector<uint8_t> mixed = literal;
  mixed.insert(mixed.begin() + 100, 200, 0);
  inputs.push_back(mixed);
  for (const auto& in : inputs) {
    const auto packed = Pack(in);
    EXPECT_LE(packed.size(), PackBitsBound(in.size()));
    EXPECT_EQ(Unpack(packed), in) << in.size();
  }
}

TEST(WriteStampRaster, WritesTheRasterBlock) {
  orvella::test::TempDir dir;
  const Bitmap stamp = Bitmap::FromText({"##########", "#........#"});
  WriteTiff(dir / "stamp.tif", stamp, {.xResolution = 300, .yResolution = 300});
  ASSERT_EQ(WriteStampRaster(dir / "stamp.tif", dir / "out.rtl", 5, 7, false), kTiffOk);
  const std::string expected = std::string("\x1b%0A\x1b*t300R\x1b*r10s2t0A\x1b*p5x7Y\x1b*b0M") +
                               "\x1b*b2W\xFF\xC0" + "\x1b*b2W\x80\x40" + "\x1b*rC\x1b%0B";
  EXPECT_EQ(orvella::test::ReadFileBytes(dir / "out.rtl"), expected);

  // Packed rows, and a MinIsBlack stamp comes out the same.
  Bitmap stored = stamp;
  for (auto& p : stored.pixels) p = !p;
  WriteTiff(dir / "black.tif", stored, {.photometric = PHOTOMETRIC_MINISBLACK, .xResolution = 300});
  ASSERT_EQ(WriteStampRaster(dir / "black.tif", dir / "packed.rtl", -3, 0, true), kTiffOk);
  const std::string packed = std::string("\x1b%0A\x1b*t300R\x1b*r10s2t0A\x1b*p-3x0Y\x1b*b2M") +
                             "\x1b*b3W\x01\xFF\xC0" + "\x1b*b3W\x01\x80\x40" + "\x1b*rC\x1b%0B";
  EXPECT_EQ(orvella::test::ReadFileBytes(dir / "packed.rtl"), packed);
}

TEST(WriteStampRaster, RefusedStampsWriteNothing) {
  orvella::test::TempDir dir;
  WriteTiff(dir / "lzw.tif", Bitmap(8, 8), {.compression = COMPRESSION_LZW});
  EXPECT_EQ(WriteStampRaster(dir / "lzw.tif", dir / "out.rtl", 0, 0, true), kTiffUnsupportedCompression);
  EXPECT_EQ(WriteStampRaster(dir / "missing.tif", dir / "out.rtl", 0, 0, true), kTiffOpenError);
  EXPECT_FALSE(std::filesystem::exists(dir / "out.rtl"));
  WriteTiff(dir / "ok.tif", Bitmap(8, 8));
  EXPECT_EQ(WriteStampRaster(dir / "ok.tif", dir / "no/such/folder.rtl", 0, 0, true), kTiffOpenError);
}

}  // namespace
}  // namespace orvella::imaging
