#pragma once
// A record's stored fields by the address of their members: the record's
// one enumeration of its fields (see field_sink.h) run over the record
// itself, so code that names a member (a check that failed, say) gives its
// INI key without spelling the key again.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/keywords.h"

namespace orvella::settings {

struct StoredField {
  std::string key;
  const void* member = nullptr;
};

// Takes the fields as an enumeration gives them, with their addresses.
class StoredFieldList {
 public:
  std::vector<StoredField> fields;

  template <typename T>
  void Text(std::string_view key, const T& value) {
    Add(key, &value);
  }
  template <typename T>
  void Integer(std::string_view key, const T& value) {
    Add(key, &value);
  }
  template <typename T>
  void Boolean(std::string_view key, const T& value) {
    Add(key, &value);
  }
  template <typename T>
  void Real(std::string_view key, const T& value) {
    Add(key, &value);
  }
  template <typename T>
  void Address(std::string_view key, const T& value) {
    Add(key, &value);
  }
  template <typename T>
  void Secret(std::string_view key, const T& value) {
    Add(key, &value);
  }
  template <typename T>
  void Font(std::string_view key, const T& value) {
    Add(key, &value);
  }
  template <typename Enum, typename... Fallback>
  void Keyword(std::string_view key, std::span<const KeywordName>, const Enum& value, Fallback...) {
    Add(key, &value);
  }

 private:
  void Add(std::string_view key, const void* member) { fields.push_back({std::string(key), member}); }
};

// The key the member of record is stored under; empty for a member that is
// not stored. Each record type has its StoredFields(record).
template <typename Record>
std::string FieldKey(const Record& record, const void* member) {
  for (StoredField& field : StoredFields(record)) {
    if (field.member == member) return std::move(field.key);
  }
  return {};
}

}  // namespace orvella::settings
