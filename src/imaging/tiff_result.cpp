#include "imaging/tiff_result.h"

#include <array>

namespace orvella::imaging {

std::string_view ResultText(int code) {
  // Codes 3 and 4 share the open error text.
  static constexpr std::string_view kOpenError = "TIFFファイルのオープンエラー";
  static constexpr std::array<std::string_view, 12> kTexts = {
      "TIFF操作は正常に終了しました",
      "TIFFファイルの読み込みエラー",
      "TIFFファイルの書き出しエラー",
      kOpenError,
      kOpenError,
      "サポートしていないTIFFファイルです",
      "サポートしていない圧縮形式です",
      "TIFFファイルに必要なタグが見つかりませんでした",
      "TIFFファイルのページ移動エラー",
      "TIFFファイルのメモリエラー",
      "TIFFファイルの解析エラー",
      "※コールバックエラー※",
  };
  if (code < 0 || code >= static_cast<int>(kTexts.size())) return "※対応するエラーコードはありません※";
  return kTexts[static_cast<size_t>(code)];
}

}  // namespace orvella::imaging
