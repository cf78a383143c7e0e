#pragma once
// In-memory form of an INI file: its lines as CP932 bytes. Knows the
// private-profile lookup and replacement rules; no file access.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvella::settings {

class IniDocument {
 public:
  IniDocument() = default;
  // Splits the bytes into lines (LF or CR LF).
  explicit IniDocument(std::string_view bytes);

  // The raw value: blanks trimmed and one pair of enclosing quotes removed.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  // Replaces the first matching key line, or appends the key at the end of
  // its section, or appends the section at the end.
  void Set(std::string_view section, std::string_view key, std::string_view quotedValue);
  // Lines joined with CR LF, each ended.
  std::string Serialize() const;

 private:
  // Index of the header line of the first section named so, or npos.
  size_t FindSection(std::string_view section) const;
  // End of the section whose header is at index: the next header or the end.
  size_t SectionEnd(size_t header) const;

  std::vector<std::string> lines_;
  // Header index of the section last found or appended (first occurrence of
  // its name); npos when none.
  mutable size_t cachedHeader_ = static_cast<size_t>(-1);
  // Header index of the first section of each name (ASCII lower case), made
  // at the first lookup: a damaged list count asks for thousands of missing
  // sections, each of which would otherwise cost a pass over every line.
  mutable std::unordered_map<std::string, size_t> headers_;
  mutable bool indexed_ = false;
};

}  // namespace orvella::settings
