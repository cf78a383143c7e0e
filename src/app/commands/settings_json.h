#pragma once
// Settings records as the JSON of `settings dump` and `settings apply`:
// fields under their INI key names, enumerations as their numbers, booleans
// as 0/1, addresses as dotted text, a stamp's font as an object.
#include <filesystem>
#include <nlohmann/json.hpp>
#include <vector>

#include "settings/field_sink.h"
#include "settings/logfont.h"

namespace orvella::cli {

using OrderedJson = nlohmann::ordered_json;

// One object from a visitor of fields; secrets only when asked for.
template <typename Visit>
OrderedJson FieldObject(Visit&& visit, bool showSecrets = false);

// Records of a list, each through its own field visitor.
template <typename Record, typename Visit>
OrderedJson RecordArray(const std::vector<Record>& records, Visit&& visit, bool showSecrets = false);

// The font object of a stamp; JsonInputError (naming where) for anything
// else: a member missing, unknown or out of its range, a face name that
// CP932 cannot hold in 31 bytes.
settings::LogFont FontFromJson(const nlohmann::json& value, const std::string& where);

// The members the program keeps for itself, as dump prints them.
OrderedJson DumpFolderModels(const std::filesystem::path& program);
OrderedJson DumpHidden(const std::filesystem::path& program);
OrderedJson DumpAppData(const std::filesystem::path& program);

class JsonFieldSink : public settings::FieldSink {
 public:
  JsonFieldSink(OrderedJson& out, bool showSecrets) : out_(out), showSecrets_(showSecrets) {}

  void Text(std::string_view key, std::string_view value) override { out_[std::string(key)] = value; }
  void Integer(std::string_view key, int value) override { out_[std::string(key)] = value; }
  void Boolean(std::string_view key, bool value) override { out_[std::string(key)] = value ? 1 : 0; }
  void Real(std::string_view key, double value) override { out_[std::string(key)] = value; }
  void Keyword(std::string_view key, int number, std::string_view) override {
    out_[std::string(key)] = number;
  }
  void Address(std::string_view key, const base::Ipv4Address& address) override;
  void Secret(std::string_view key, std::string_view value) override;
  void Font(std::string_view key, const settings::LogFont& font) override;
  using FieldSink::Keyword;

 private:
  OrderedJson& out_;
  bool showSecrets_;
};

template <typename Visit>
OrderedJson FieldObject(Visit&& visit, bool showSecrets) {
  OrderedJson object = OrderedJson::object();
  JsonFieldSink sink(object, showSecrets);
  visit(sink);
  return object;
}

template <typename Record, typename Visit>
OrderedJson RecordArray(const std::vector<Record>& records, Visit&& visit, bool showSecrets) {
  OrderedJson array = OrderedJson::array();
  for (const auto& r : records)
    array.push_back(FieldObject([&](settings::FieldSink& sink) { visit(r, sink); }, showSecrets));
  return array;
}

}  // namespace orvella::cli
