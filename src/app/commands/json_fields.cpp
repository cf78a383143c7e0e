#include "app/commands/json_fields.h"

#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace orvella::cli {

nlohmann::json ReadJsonObjectFile(const std::string& path) {
  // Request and settings files are small; a huge one is a mistake, not data
  // to load into memory.
  constexpr std::uintmax_t kMaxBytes = std::uintmax_t{16} << 20;
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (!ec && size > kMaxBytes) {
    throw JsonInputError(path + ": " + std::to_string(size) + " bytes; a JSON input holds at most " +
                         std::to_string(kMaxBytes) + " bytes");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) throw JsonInputError(path + ": cannot be read");
  nlohmann::json value = nlohmann::json::parse(in, nullptr, false);
  if (value.is_discarded()) throw JsonInputError(path + ": not valid JSON");
  if (!value.is_object()) throw JsonInputError(path + ": not a JSON object");
  return value;
}

JsonFields::JsonFields(const nlohmann::json& value, std::string where)
    : object_(value), where_(std::move(where)) {
  if (!object_.is_object()) throw JsonInputError(where_ + ": must be a JSON object");
}

void JsonFields::Int(const char* key, int& out) {
  const nlohmann::json* v = Find(key);
  if (!v) return;
  if (v->is_boolean()) {
    out = v->get<bool>() ? 1 : 0;
    return;
  }
  if (!v->is_number_integer()) throw Error(key, "must be a whole number");
  const auto value = v->get<long long>();
  if (value < INT_MIN || value > INT_MAX) throw Error(key, "must be a whole number within int range");
  out = static_cast<int>(value);
}

void JsonFields::Flag(const char* key, bool& out) {
  int value = out ? 1 : 0;
  Int(key, value);
  out = value != 0;
}

void JsonFields::Real(const char* key, double& out) {
  const nlohmann::json* v = Find(key);
  if (!v) return;
  if (!v->is_number()) throw Error(key, "must be a number");
  out = v->get<double>();
}

void JsonFields::Text(const char* key, std::string& out) {
  const nlohmann::json* v = Find(key);
  if (!v) return;
  if (!v->is_string()) throw Error(key, "must be a string");
  out = v->get<std::string>();
}

const nlohmann::json* JsonFields::Find(const char* key) {
  known_.insert(key);
  const auto it = object_.find(key);
  return it == object_.end() ? nullptr : &*it;
}

JsonInputError JsonFields::Error(const char* key, const std::string& problem) const {
  return JsonInputError(where_ + ": \"" + key + "\" " + problem);
}

void JsonFields::RejectUnknown() const {
  for (const auto& [key, value] : object_.items()) {
    if (!known_.count(key)) throw JsonInputError(where_ + ": unknown key \"" + key + "\"");
  }
}

}  // namespace orvella::cli
