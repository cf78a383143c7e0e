#pragma once
// Reads the stored fields of a record from values given by key, as a command
// takes them from a JSON object of the shape `settings dump` prints: the
// same enumeration of a record's fields that drives IniFieldSource and
// FieldSink, so no other list of keys exists. Unlike the INI reading nothing
// is defaulted: a missing key (a secret apart), a value of the wrong kind or
// a number outside its enumeration is a problem, and so is a key no field
// read (see UnreadKeys).
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "base/ipv4_address.h"
#include "settings/keywords.h"
#include "settings/logfont.h"

namespace orvella::settings {

class ValueFieldSource {
 public:
  // Whole numbers, reals, texts and fonts; 0/1 stand for booleans and
  // enumerations are their numbers, as the dump prints them.
  using Value = std::variant<long long, double, std::string, LogFont>;
  using Values = std::map<std::string, Value, std::less<>>;

  struct Problem {
    std::string key;
    std::string detail;
    // A value of the right kind that no record may hold (a number outside
    // its enumeration, an address that does not read); otherwise the value
    // is not of the shape the key takes at all.
    bool invalidValue = false;
  };

  explicit ValueFieldSource(Values values) : values_(std::move(values)) {}

  // The first problem met, if any; fields read after it are left as they were.
  const std::optional<Problem>& FirstProblem() const { return problem_; }
  // Keys of the values that no field asked for, in key order.
  std::vector<std::string> UnreadKeys() const;
  bool Has(std::string_view key) const { return values_.count(key) != 0; }

  void Text(std::string_view key, std::string& value);
  void Integer(std::string_view key, int& value);
  void Boolean(std::string_view key, bool& value);  // 0 or 1
  void Real(std::string_view key, double& value);
  void Address(std::string_view key, base::Ipv4Address& value);  // dotted text
  // Plain text; a missing key leaves value as it is.
  void Secret(std::string_view key, std::string& value);
  void Font(std::string_view key, LogFont& value);
  // For fields with their own reading: the number of key when it lies in
  // [0, count), else nullopt with the problem noted.
  std::optional<int> Number(std::string_view key, int count);

  template <typename Enum>
  void Keyword(std::string_view key, std::span<const KeywordName> table, Enum& value) {
    if (const auto number = Number(key, static_cast<int>(table.size()))) value = static_cast<Enum>(*number);
  }
  // The fallback is how a sink stores a value outside the table; none is read.
  template <typename Enum>
  void Keyword(std::string_view key, std::span<const KeywordName> table, Enum& value, Enum) {
    Keyword(key, table, value);
  }

 private:
  // The value of key when it holds T; otherwise nullptr and, unless the key
  // is missing and optional, a problem saying what the key takes.
  template <typename T>
  const T* Get(std::string_view key, const char* takes, bool optional = false);
  void Fail(std::string_view key, std::string detail, bool invalidValue);

  Values values_;
  std::set<std::string, std::less<>> read_;
  std::optional<Problem> problem_;
};

}  // namespace orvella::settings
