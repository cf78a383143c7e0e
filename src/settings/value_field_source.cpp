#include "settings/value_field_source.h"

#include <climits>

namespace orvella::settings {

std::vector<std::string> ValueFieldSource::UnreadKeys() const {
  std::vector<std::string> unread;
  for (const auto& [key, value] : values_)
    if (!read_.count(key)) unread.push_back(key);
  return unread;
}

void ValueFieldSource::Fail(std::string_view key, std::string detail, bool invalidValue) {
  if (!problem_) problem_ = Problem{std::string(key), std::move(detail), invalidValue};
}

template <typename T>
const T* ValueFieldSource::Get(std::string_view key, const char* takes, bool optional) {
  read_.emplace(key);
  if (problem_) return nullptr;
  const auto it = values_.find(key);
  if (it == values_.end()) {
    if (!optional) Fail(key, std::string("missing; it takes ") + takes, false);
    return nullptr;
  }
  const T* value = std::get_if<T>(&it->second);
  if (!value) Fail(key, std::string("must be ") + takes, false);
  return value;
}

void ValueFieldSource::Text(std::string_view key, std::string& value) {
  if (const auto* text = Get<std::string>(key, "a string")) value = *text;
}

void ValueFieldSource::Integer(std::string_view key, int& value) {
  const auto* number = Get<long long>(key, "a whole number");
  if (!number) return;
  if (*number < INT_MIN || *number > INT_MAX)
    return Fail(key, "must be a whole number within int range", false);
  value = static_cast<int>(*number);
}

void ValueFieldSource::Boolean(std::string_view key, bool& value) {
  const auto* number = Get<long long>(key, "0 or 1");
  if (!number) return;
  if (*number != 0 && *number != 1) return Fail(key, "must be 0 or 1", false);
  value = *number == 1;
}

void ValueFieldSource::Real(std::string_view key, double& value) {
  read_.emplace(key);
  const auto it = values_.find(key);
  if (it != values_.end() && std::holds_alternative<long long>(it->second)) {
    if (!problem_) value = static_cast<double>(std::get<long long>(it->second));
    return;
  }
  if (const auto* real = Get<double>(key, "a number")) value = *real;
}

void ValueFieldSource::Address(std::string_view key, base::Ipv4Address& value) {
  const auto* text = Get<std::string>(key, "dotted IPv4 text such as \"192.168.1.20\"");
  if (!text) return;
  const base::Ipv4Address address = base::ParseIpv4Address(*text);
  if (base::FormatIpv4Address(address) != *text) {
    return Fail(key, "\"" + *text + "\" is not four numbers 0 to 255 separated by dots", true);
  }
  value = address;
}

void ValueFieldSource::Secret(std::string_view key, std::string& value) {
  if (const auto* text = Get<std::string>(key, "a string", true)) value = *text;
}

void ValueFieldSource::Font(std::string_view key, LogFont& value) {
  if (const auto* font = Get<LogFont>(key, "a font object")) value = *font;
}

std::optional<int> ValueFieldSource::Number(std::string_view key, int count) {
  const auto* number = Get<long long>(key, "a whole number");
  if (!number) return std::nullopt;
  if (*number < 0 || *number >= count) {
    Fail(key, std::to_string(*number) + " is not one of the numbers 0 to " + std::to_string(count - 1), true);
    return std::nullopt;
  }
  return static_cast<int>(*number);
}

}  // namespace orvella::settings
