#pragma once
// The stored fields of a record, in file order, each under its INI key.
// Savers write them to a file; diagnostic tools show them. Each record has one
// enumeration of its fields, which drives these sinks and the loader's
// IniFieldSource alike, so key names and order are written once.
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

class FieldSink {
 public:
  virtual ~FieldSink() = default;

  virtual void Text(std::string_view key, std::string_view value) = 0;
  virtual void Integer(std::string_view key, int value) = 0;
  virtual void Boolean(std::string_view key, bool value) = 0;
  virtual void Real(std::string_view key, double value) = 0;
  // An enumeration: its number, and its keyword (empty when the number lies
  // outside the enumeration).
  virtual void Keyword(std::string_view key, int number, std::string_view keyword) = 0;
  virtual void Address(std::string_view key, const base::Ipv4Address& address) = 0;
  // The printer login password, kept enciphered on disk.
  virtual void Secret(std::string_view key, std::string_view value) = 0;
  // A stamp's font description, kept as a profile structure.
  virtual void Font(std::string_view key, const LogFont& font) = 0;

  // A value outside the table has no keyword: IniFieldSink refuses it.
  template <typename Enum>
  void Keyword(std::string_view key, std::span<const KeywordName> table, Enum value) {
    const int number = static_cast<int>(value);
    Keyword(key, number, KeywordOf(table, number));
  }
  // A value outside the table is stored as the keyword of fallback.
  template <typename Enum>
  void Keyword(std::string_view key, std::span<const KeywordName> table, Enum value, Enum fallback) {
    const int number = static_cast<int>(value);
    const std::string_view keyword = KeywordOf(table, number);
    Keyword(key, number, keyword.empty() ? KeywordOf(table, static_cast<int>(fallback)) : keyword);
  }
};

// Writes the fields as keys of the current section.
class IniFieldSink : public FieldSink {
 public:
  explicit IniFieldSink(IniWriter& out) : out_(out) {}

  void SetSection(std::string section) { section_ = std::move(section); }
  // False once an enumeration held a number outside its table; such a field
  // is not written.
  bool AllInRange() const { return allInRange_; }

  void Text(std::string_view key, std::string_view value) override;
  void Integer(std::string_view key, int value) override;
  void Boolean(std::string_view key, bool value) override;
  void Real(std::string_view key, double value) override;
  void Keyword(std::string_view key, int number, std::string_view keyword) override;
  void Address(std::string_view key, const base::Ipv4Address& address) override;
  // The first 32 bytes (in the file's character set) through PasswordCipher;
  // one cipher serves the whole save.
  void Secret(std::string_view key, std::string_view value) override;
  void Font(std::string_view key, const LogFont& font) override;
  using FieldSink::Keyword;

 private:
  IniWriter& out_;
  std::string section_;
  bool allInRange_ = true;
  std::optional<PasswordCipher> cipher_;
};

}  // namespace orvella::settings
