#include "settings/validation.h"

#include "base/text_codec.h"

namespace orvella::settings {
namespace {

constexpr std::string_view kUnstorableText = "保存できない文字が含まれています。";
constexpr std::string_view kNameTooLong = "設定名称は半角 %d 文字以内で指定してください。";

}  // namespace

std::optional<std::string> CheckStorableText(std::string_view text) {
  if (base::Cp932Length(text)) return std::nullopt;
  return std::string(kUnstorableText);
}

std::optional<std::string> CheckSettingName(std::string_view name, size_t maxBytes,
                                            std::string_view emptyMessage) {
  if (name.empty()) return std::string(emptyMessage);
  auto length = base::Cp932Length(name);
  if (!length) return std::string(kUnstorableText);
  if (*length > maxBytes) {
    std::string message(kNameTooLong);
    message.replace(message.find("%d"), 2, std::to_string(maxBytes));
    return message;
  }
  return std::nullopt;
}

}  // namespace orvella::settings
