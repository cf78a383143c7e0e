#pragma once
// Enumerations stored as keywords: a table indexed by the enumeration's number.
#include <optional>
#include <span>
#include <string_view>

#include "settings/ini_file.h"

namespace orvella::settings {

struct KeywordName {
  std::string_view keyword;  // as stored in the INI file
  std::string_view display;  // as the dialogs show it
};

// The number whose keyword equals text exactly, or nullopt.
inline std::optional<int> FindKeyword(std::span<const KeywordName> table, std::string_view text) {
  for (size_t i = 0; i < table.size(); ++i)
    if (table[i].keyword == text) return static_cast<int>(i);
  return std::nullopt;
}

// The keyword of number; empty when the number is outside the table.
inline std::string_view KeywordOf(std::span<const KeywordName> table, int number) {
  if (number < 0 || static_cast<size_t>(number) >= table.size()) return {};
  return table[static_cast<size_t>(number)].keyword;
}

// The enumeration whose keyword equals text exactly; anything else is the
// table's first entry (the default of every keyword table).
template <typename Enum>
Enum EnumFromKeyword(std::span<const KeywordName> table, std::string_view text) {
  return static_cast<Enum>(FindKeyword(table, text).value_or(0));
}

// A keyword key of a section; missing reads as the first entry.
template <typename Enum>
Enum ReadKeyword(const IniReader& ini, std::string_view section, std::string_view key,
                 std::span<const KeywordName> table) {
  return EnumFromKeyword<Enum>(table, ini.ReadString(section, key, table[0].keyword));
}

}  // namespace orvella::settings
