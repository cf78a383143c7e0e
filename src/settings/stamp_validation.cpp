#include "settings/stamp_validation.h"

#include <filesystem>

#include "base/fixed_format.h"
#include "base/text_codec.h"

namespace orvella::settings {
namespace {

using Failure = ValidationFailure<StampField>;

constexpr size_t kMaxNumberText = 4;

std::string NameTooLong() {
  return "スタンプ設定名称は半角 " + std::to_string(kStampNameMaxBytes) + " 文字以内で設定してください。";
}
std::string OffsetRange(const char* axis) {
  return std::string("スタンプ配置の") + axis + "の値は0～" + std::to_string(kStampOffsetMax) +
         "で指定してください。";
}
std::string PathTooLong() {
  return "画像パスは半角 " + std::to_string(kStampImagePathMaxBytes) + " 文字以内で設定してください。";
}
std::string LineWidthRange() {
  return "境界線の線幅の値は" + base::FormatFixed(kStampLineWidthMin / 10.0, 1) + "～" +
         base::FormatFixed(kStampLineWidthMax / 10.0, 1) + "で指定してください。";
}
// STAMP.INI is CP932: text it cannot hold could not be saved.
std::string NotStorable(const std::string& what) { return what + "に使用できない文字が含まれています。"; }
constexpr char kNameEmpty[] = "スタンプ設定名称を入力してください。";
constexpr char kNameTaken[] = "入力されたスタンプ設定名称は既に登録されています。";
constexpr char kNoFont[] = "フォントを選択してください。";
constexpr char kPointSize[] = "フォントのサイズを1から100ポイントまでで指定してください。";
constexpr char kPathEmpty[] = "画像ファイルを選択してください。";
constexpr char kPathMissing[] = "画像ファイルが見つかりません。ファイル名を確認してください。";
constexpr const char* kRowLabels[] = {"１行目", "２行目", "３行目", "４行目"};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<Failure> CheckName(const std::string& name, const StampList& stamps,
                                 std::optional<size_t> editing) {
  const auto bytes = base::Cp932Length(name);
  if (!bytes) return Failure{NotStorable("スタンプ設定名称"), StampField::kName};
  if (*bytes > kStampNameMaxBytes) return Failure{NameTooLong(), StampField::kName};
  const std::string trimmed = base::TrimNameBlanks(name);
  if (trimmed.empty()) return Failure{kNameEmpty, StampField::kName};
  for (size_t i = 0; i < stamps.size(); ++i) {
    if (i != editing && stamps[i].name == trimmed) return Failure{kNameTaken, StampField::kName};
  }
  return std::nullopt;
}

std::optional<Failure> CheckFont(const StampForm& form) {
  if (!form.font.HasFace()) return Failure{kNoFont, StampField::kFont};
  if (form.pointSize < kStampPointMin || form.pointSize > kStampPointMax) {
    return Failure{kPointSize, StampField::kFont};
  }
  return std::nullopt;
}

std::optional<Failure> CheckImage(const std::string& path) {
  const auto bytes = base::Cp932Length(path);
  if (!bytes) return Failure{NotStorable("画像パス"), StampField::kImagePath};
  if (*bytes > kStampImagePathMaxBytes) return Failure{PathTooLong(), StampField::kImagePath};
  if (path.empty()) return Failure{kPathEmpty, StampField::kImagePath};
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return Failure{kPathMissing, StampField::kImagePath};
  return std::nullopt;
}

}  // namespace

std::optional<int> ParseStampOffset(std::string_view text) {
  if (text.size() > kMaxNumberText) return std::nullopt;
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) ++i;
  if (i == text.size()) return std::nullopt;
  int value = 0;
  for (; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  if (negative) value = -value;
  if (value < 0 || value > kStampOffsetMax) return std::nullopt;
  return value;
}

std::optional<int> ParseStampLineWidth(std::string_view text) {
  if (text.size() > kMaxNumberText) return std::nullopt;
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) ++i;
  // trunc(value × 10) from the digits themselves: whole part and first decimal.
  int whole = 0, tenths = 0, digits = 0, decimals = -1;
  for (; i < text.size(); ++i) {
    if (text[i] == '.') {
      if (decimals >= 0) return std::nullopt;
      decimals = 0;
    } else if (!IsDigit(text[i])) {
      return std::nullopt;
    } else {
      ++digits;
      if (decimals < 0) {
        whole = whole * 10 + (text[i] - '0');
      } else if (decimals++ == 0) {
        tenths = text[i] - '0';
      }
    }
  }
  if (digits == 0) return std::nullopt;
  int value = whole * 10 + tenths;
  if (negative) value = -value;
  if (value < kStampLineWidthMin || value > kStampLineWidthMax) return std::nullopt;
  return value;
}

std::optional<Failure> ValidateStampForm(const StampForm& form, const StampList& stamps,
                                         std::optional<size_t> editing) {
  if (auto e = CheckName(form.name, stamps, editing)) return e;
  if (!ParseStampOffset(form.xOffset)) return Failure{OffsetRange("横"), StampField::kXOffset};
  if (!ParseStampOffset(form.yOffset)) return Failure{OffsetRange("縦"), StampField::kYOffset};
  switch (form.type) {
    case StampType::kDate:
      return CheckFont(form);
    case StampType::kImage:
      return CheckImage(form.imagePath);
    default:  // anything else is a simple stamp
      break;
  }
  if (auto e = CheckFont(form)) return e;
  if (form.rulerLines && !ParseStampLineWidth(form.lineWidth)) {
    return Failure{LineWidthRange(), StampField::kLineWidth};
  }
  for (size_t r = 0; r < form.rowTexts.size(); ++r) {
    if (!base::Cp932Length(form.rowTexts[r])) {
      return Failure{NotStorable(kRowLabels[r]), StampField::kRowText, static_cast<int>(r) + 1};
    }
  }
  return std::nullopt;
}

}  // namespace orvella::settings
