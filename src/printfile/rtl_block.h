#pragma once
// Raster (RTL) stamp blocks inside plot files: ESC %0A, the raster set-up,
// one transfer per row, ESC *rC, ESC %0B.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvella::printfile {

struct RtlBlockInfo {
  uint64_t size = 0;       // bytes from ESC %0A through ESC %0B
  int resolution = 0;      // ESC *t#R
  int width = 0;           // ESC *r#S
  int height = 0;          // ESC *r#T
  int x = 0;               // ESC *p#X
  int y = 0;               // ESC *p#Y
  int compression = 0;     // ESC *b#M
  int rows = 0;            // ESC *b#W transfers
  uint64_t dataBytes = 0;  // row bytes transferred
};

// Parses the block at the start of bytes; nullopt with a reason in error
// when it is not one or runs past the end of bytes.
std::optional<RtlBlockInfo> ReadRtlBlock(std::string_view bytes, std::string& error);

}  // namespace orvella::printfile
