#include "printfile/tiff_layout.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <utility>

namespace orvella::printfile {
namespace {

// A print file holds a handful of pages; more directories than this is a
// corrupt chain, not a document.
constexpr size_t kMaxDirectories = 10000;

enum Tag : uint16_t {
  kImageWidth = 256,
  kImageLength = 257,
  kBitsPerSample = 258,
  kCompression = 259,
  kPhotometric = 262,
  kStripOffsets = 273,
  kStripByteCounts = 279,
  kXResolution = 282,
  kYResolution = 283,
  kResolutionUnit = 296,
  kTileOffsets = 324,
  kTileByteCounts = 325,
};

// Bytes per value of the field types 1..13 (BYTE, ASCII, SHORT, LONG,
// RATIONAL, SBYTE, UNDEFINED, SSHORT, SLONG, SRATIONAL, FLOAT, DOUBLE, IFD);
// 0 for a type this reader does not know.
uint64_t TypeSize(uint16_t type) {
  constexpr uint8_t kSizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};
  return type < std::size(kSizes) ? kSizes[type] : 0;
}

class TiffWalker {
 public:
  TiffWalker(std::string_view bytes, bool bigEndian) : b_(bytes), big_(bigEndian) {}

  bool Fits(uint64_t offset, uint64_t length) const {
    return offset <= b_.size() && length <= b_.size() - offset;
  }

  uint32_t U16(uint64_t at) const { return Byte(at) << (big_ ? 8 : 0) | Byte(at + 1) << (big_ ? 0 : 8); }
  uint32_t U32(uint64_t at) const {
    return big_ ? (Byte(at) << 24 | Byte(at + 1) << 16 | Byte(at + 2) << 8 | Byte(at + 3))
                : (Byte(at) | Byte(at + 1) << 8 | Byte(at + 2) << 16 | Byte(at + 3) << 24);
  }

  // The i-th value of an entry as an integer (SHORT or LONG), or a rational.
  struct Entry {
    uint16_t tag, type;
    uint32_t count;
    uint64_t valueAt;  // where the values lie
  };
  uint32_t Integer(const Entry& e, uint32_t i) const {
    return e.type == 3 ? U16(e.valueAt + 2ull * i) : U32(e.valueAt + 4ull * i);
  }
  double Rational(const Entry& e) const {
    const uint32_t den = U32(e.valueAt + 4);
    return den == 0 ? 0 : static_cast<double>(U32(e.valueAt)) / den;
  }

 private:
  uint32_t Byte(uint64_t at) const { return static_cast<unsigned char>(b_[at]); }
  std::string_view b_;
  bool big_;
};

bool IsInteger(uint16_t type) { return type == 3 || type == 4; }

// Single-valued integer tags and where they go.
constexpr std::pair<uint16_t, uint32_t TiffDirectoryInfo::*> kIntegerTags[] = {
    {kImageWidth, &TiffDirectoryInfo::width},
    {kImageLength, &TiffDirectoryInfo::length},
    {kBitsPerSample, &TiffDirectoryInfo::bitsPerSample},
    {kCompression, &TiffDirectoryInfo::compression},
    {kPhotometric, &TiffDirectoryInfo::photometric},
    {kResolutionUnit, &TiffDirectoryInfo::resolutionUnit},
};

}  // namespace

bool LooksLikeTiff(std::string_view b) {
  return b.size() >= 8 &&
         (b.substr(0, 4) == std::string_view("II*\0", 4) || b.substr(0, 4) == std::string_view("MM\0*", 4));
}

std::optional<TiffLayout> ReadTiffLayout(std::string_view bytes, std::string& error) {
  if (!LooksLikeTiff(bytes)) {
    error = "not a classic TIFF header";
    return std::nullopt;
  }
  TiffLayout layout;
  layout.bigEndian = bytes[0] == 'M';
  TiffWalker w(bytes, layout.bigEndian);
  uint64_t extent = 8;
  auto cover = [&](uint64_t offset, uint64_t length, const char* what) {
    if (!w.Fits(offset, length)) {
      error = std::string(what) + " at " + std::to_string(offset) + " lies beyond the data";
      return false;
    }
    extent = std::max(extent, offset + length);
    return true;
  };

  std::set<uint64_t> seen;
  for (uint64_t ifd = w.U32(4); ifd != 0; ifd = w.U32(ifd + 2 + 12ull * w.U16(ifd))) {
    if (!seen.insert(ifd).second || seen.size() > kMaxDirectories) {
      error = "directory chain loops or is too long";
      return std::nullopt;
    }
    if (!cover(ifd, 2, "directory") || !cover(ifd, 2 + 12ull * w.U16(ifd) + 4, "directory"))
      return std::nullopt;
    TiffDirectoryInfo dir;
    dir.offset = ifd;
    std::optional<TiffWalker::Entry> offsets, counts;
    const uint32_t entries = w.U16(ifd);
    for (uint32_t i = 0; i < entries; ++i) {
      const uint64_t at = ifd + 2 + 12ull * i;
      TiffWalker::Entry e{static_cast<uint16_t>(w.U16(at)), static_cast<uint16_t>(w.U16(at + 2)),
                          w.U32(at + 4), at + 8};
      const uint64_t length = TypeSize(e.type) * e.count;
      if (length > 4) {
        e.valueAt = w.U32(at + 8);
        if (!cover(e.valueAt, length, "tag data")) return std::nullopt;
      }
      if (e.count == 0 || TypeSize(e.type) == 0) continue;
      if (IsInteger(e.type)) {
        for (const auto& [tag, field] : kIntegerTags) {
          if (tag == e.tag) dir.*field = w.Integer(e, 0);
        }
        if (e.tag == kStripOffsets || e.tag == kTileOffsets) offsets = e;
        if (e.tag == kStripByteCounts || e.tag == kTileByteCounts) counts = e;
      } else if (e.type == 5 && (e.tag == kXResolution || e.tag == kYResolution)) {
        (e.tag == kXResolution ? dir.xResolution : dir.yResolution) = w.Rational(e);
      }
    }
    if (offsets && counts) {
      dir.strips = std::min(offsets->count, counts->count);
      for (uint32_t i = 0; i < dir.strips; ++i) {
        const uint64_t length = w.Integer(*counts, i);
        if (!cover(w.Integer(*offsets, i), length, "image data")) return std::nullopt;
        dir.dataBytes += length;
      }
    }
    layout.directories.push_back(dir);
  }
  if (layout.directories.empty()) {
    error = "no image directory";
    return std::nullopt;
  }
  layout.size = extent;
  return layout;
}

}  // namespace orvella::printfile
