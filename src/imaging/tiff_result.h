#pragma once
// Result codes of the bilevel TIFF operations and their operator texts.
#include <string_view>

namespace orvella::imaging {

// 0 is success. The numbers are shown and logged, so they never change.
// Code 4 exists only as a text (it reads like 3).
enum TiffResult : int {
  kTiffOk = 0,
  kTiffReadError = 1,
  kTiffWriteError = 2,
  kTiffOpenError = 3,
  kTiffUnsupported = 5,
  kTiffUnsupportedCompression = 6,
  kTiffMissingTag = 7,
  kTiffPageError = 8,
  kTiffMemoryError = 9,
  kTiffParseError = 10,
  kTiffCallbackError = 11,
};

// The operator text of a result code; codes without a text of their own get
// "※対応するエラーコードはありません※".
std::string_view ResultText(int code);

}  // namespace orvella::imaging
