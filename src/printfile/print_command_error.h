#pragma once
// The operator's message when a print file cannot be written, whichever
// writer (raster or plot) and whichever part failed.
namespace orvella::printfile {

inline constexpr char kPrintCommandError[] = "印刷コマンド付加エラー";

}  // namespace orvella::printfile
