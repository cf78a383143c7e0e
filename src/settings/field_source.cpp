#include "settings/field_source.h"

#include <array>

#include "base/text_codec.h"

namespace orvella::settings {

void IniFieldSource::Text(std::string_view key, std::string& value) const {
  value = in_.ReadString(section_, key, value);
}

void IniFieldSource::Integer(std::string_view key, int& value) const {
  value = in_.ReadInt(section_, key, value);
}

void IniFieldSource::Boolean(std::string_view key, bool& value) const {
  value = in_.ReadBool(section_, key, value ? 1 : 0) == 1;
}

void IniFieldSource::Real(std::string_view key, double& value) const {
  value = in_.ReadDouble(section_, key, value);
}

void IniFieldSource::Address(std::string_view key, base::Ipv4Address& value) const {
  value = base::ParseIpv4Address(in_.ReadString(section_, key, base::FormatIpv4Address(value)));
}

void IniFieldSource::Secret(std::string_view key, std::string& value) {
  const std::string stored = in_.ReadString(section_, key, "");
  if (stored.empty()) {
    value.clear();
    return;
  }
  if (!cipher_) cipher_.emplace();
  value = base::Cp932ToUtf8(cipher_->Decrypt(stored));
}

void IniFieldSource::Font(std::string_view key, LogFont& value) const {
  std::array<uint8_t, LogFont::kRecordSize> bytes{};
  if (in_.ReadStruct(section_, key, bytes.data(), bytes.size())) value = LogFont::FromBytes(bytes);
}

std::string IniFieldSource::Word(std::string_view key, std::string_view def) const {
  return in_.ReadString(section_, key, def);
}

}  // namespace orvella::settings
