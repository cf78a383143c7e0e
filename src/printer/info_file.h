#pragma once
// The printer's information file "info": one row per tray with the paper in it.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/failure.h"
#include "settings/hidden_settings.h"
#include "settings/printer_settings.h"

namespace orvella::printer {

inline constexpr const char* kTrayInfoFetchError = "プリンタ情報ファイル取得エラー";
inline constexpr const char* kTrayInfoParseError = "プリンタ情報ファイル解析エラー";

struct TrayInformation {
  int number = 0;        // first column as a leading decimal number, 0 when none
  std::string name;      // "Name" column (UTF-8)
  std::string pageSize;  // "Page Size" column
  std::string status;    // "Status" column

  bool operator==(const TrayInformation&) const = default;
};

// Parses a fetched information file into records; false when it cannot be
// read, has fewer than 5 lines, or its header (line 2) lacks "Name",
// "Page Size" and "Status" in that order (detail, when given, then says which).
// Rows run from line 4 to the first empty line; a file without rows parses as
// empty.
bool ParseInformationFile(const std::filesystem::path& path, std::vector<TrayInformation>& records,
                          std::string* detail = nullptr);

// Fetches "info" from the printer (into temp.info in the work folder) and
// fills the A2 trays of this copy of the printer record that the file names,
// up to the model's highest tray; trays it does not name keep their values.
// False with message "プリンタ情報ファイル取得エラー" when the fetch fails,
// "プリンタ情報ファイル解析エラー" when the file does not parse, and the
// settings layer's message when there is no program folder.
bool ReadTrayInformation(settings::PrinterSetting& printer, const settings::HiddenSettings& hidden,
                         const std::filesystem::path& workFolder, base::Failure& failure);

// Fills the trays from parsed records (the last step of ReadTrayInformation).
void ApplyTrayInformation(const std::vector<TrayInformation>& records, settings::PrinterSetting& printer);

// The A2 tray size code (A2TraySize number) of a page size text: "A2R" 1,
// "A3" 2, "A3R" 3, "A4" 4, "A4R" 5, "B4" 6, "B4R" 7, "B5" 8, "B5R" 9, else 0.
int A2PaperCode(std::string_view pageSize);

// The tray index of a row's name: the character after "Tray " as a digit,
// 0 when it is no digit, -1 when the name has no "Tray ".
int TrayIndex(std::string_view name);

// A tray whose name carries a bracketed remark holds paper other than plain.
bool HoldsSpecialPaper(std::string_view name);

}  // namespace orvella::printer
