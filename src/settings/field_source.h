#pragma once
// Reads the stored fields of a record from one section of a file: the load
// side of the one enumeration of a record's fields that also drives
// FieldSink (save, dump), so key names and order are written once. A key
// left out, or a keyword that is not in its table, leaves the field as it
// was: a record holding the values that missing keys read as is filled in.
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/ipv4_address.h"
#include "settings/ini_file.h"
#include "settings/keywords.h"
#include "settings/logfont.h"
#include "settings/password_cipher.h"

namespace orvella::settings {

class IniFieldSource {
 public:
  explicit IniFieldSource(const IniReader& in) : in_(in) {}

  void SetSection(std::string section) { section_ = std::move(section); }
  // False once a field with its own reading met a stored value it cannot
  // take (see MarkUnreadable).
  bool AllReadable() const { return allReadable_; }
  void MarkUnreadable() { allReadable_ = false; }

  void Text(std::string_view key, std::string& value) const;
  void Integer(std::string_view key, int& value) const;
  void Boolean(std::string_view key, bool& value) const;  // TRUE or FALSE
  void Real(std::string_view key, double& value) const;
  void Address(std::string_view key, base::Ipv4Address& value) const;
  // Deciphered; "" when the key is missing or holds no cipher text.
  void Secret(std::string_view key, std::string& value);
  void Font(std::string_view key, LogFont& value) const;
  // The stored text of key, else def: for fields with their own reading.
  std::string Word(std::string_view key, std::string_view def) const;

  template <typename Enum>
  void Keyword(std::string_view key, std::span<const KeywordName> table, Enum& value) const {
    const auto number = FindKeyword(table, Word(key, KeywordOf(table, static_cast<int>(value))));
    if (number) value = static_cast<Enum>(*number);
  }
  // How a value outside the table is stored matters to sinks only.
  template <typename Enum>
  void Keyword(std::string_view key, std::span<const KeywordName> table, Enum& value, Enum) const {
    Keyword(key, table, value);
  }

 private:
  const IniReader& in_;
  std::string section_;
  bool allReadable_ = true;
  std::optional<PasswordCipher> cipher_;
};

}  // namespace orvella::settings
