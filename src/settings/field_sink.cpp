#include "settings/field_sink.h"

#include "base/text_codec.h"

namespace orvella::settings {
namespace {

constexpr size_t kPasswordBytes = 32;

}  // namespace

void IniFieldSink::Text(std::string_view key, std::string_view value) {
  out_.WriteString(section_, key, value);
}

void IniFieldSink::Integer(std::string_view key, int value) { out_.WriteInt(section_, key, value); }

void IniFieldSink::Boolean(std::string_view key, bool value) { out_.WriteBool(section_, key, value ? 1 : 0); }

void IniFieldSink::Real(std::string_view key, double value) { out_.WriteDouble(section_, key, value); }

void IniFieldSink::Keyword(std::string_view key, int, std::string_view keyword) {
  if (keyword.empty()) {
    allInRange_ = false;
    return;
  }
  out_.WriteString(section_, key, keyword);
}

void IniFieldSink::Address(std::string_view key, const base::Ipv4Address& address) {
  out_.WriteString(section_, key, base::FormatIpv4Address(address));
}

void IniFieldSink::Secret(std::string_view key, std::string_view value) {
  auto bytes = base::Utf8ToCp932(value);
  if (!bytes) {
    out_.WriteString(section_, key, value);  // refuses the text with the key write error
    return;
  }
  if (!cipher_) cipher_.emplace();
  const std::string cut(base::TruncateCp932(*bytes, kPasswordBytes));
  out_.WriteString(section_, key, cipher_->Encrypt(cut));
}

void IniFieldSink::Font(std::string_view key, const LogFont& font) {
  const auto bytes = font.ToBytes();
  out_.WriteStruct(section_, key, bytes.data(), bytes.size());
}

}  // namespace orvella::settings
