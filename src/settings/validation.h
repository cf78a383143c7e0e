#pragma once
// What an edit dialog's validation reports: the message to show in the
// warning box and the field that gets the focus. Every dialog's checks
// return the first failure as this, or nothing.
#include <optional>
#include <string>
#include <string_view>

namespace orvella::settings {

// Shown when another record of the list already has the name.
inline constexpr std::string_view kSettingNameTaken = "入力された設定名称は既に登録されています。";

template <typename Field>
struct ValidationFailure {
  std::string message;
  Field field;
  int row = -1;          // which of a repeated field (see each Field enum), else -1
  std::string detail{};  // plain English, where the message alone does not say why
};

// Checks shared by the name fields of the edit dialogs, applied to the
// trimmed name: empty gives emptyMessage; then the text must fit the file's
// character set and maxBytes of it.
std::optional<std::string> CheckSettingName(std::string_view name, size_t maxBytes,
                                            std::string_view emptyMessage);

// A text field whose content the character set of the files cannot hold.
std::optional<std::string> CheckStorableText(std::string_view text);

}  // namespace orvella::settings
