#include "settings/logfont.h"

#include <algorithm>
#include <cstring>

#include "base/text_codec.h"

namespace orvella::settings {
namespace {

void PutInt32(uint8_t* at, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(u >> (8 * i));
}

int32_t GetInt32(const uint8_t* at) {
  uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(at[i]) << (8 * i);
  return static_cast<int32_t>(u);
}

}  // namespace

std::array<uint8_t, LogFont::kRecordSize> LogFont::ToBytes() const {
  std::array<uint8_t, kRecordSize> b{};
  const int32_t longs[] = {height, width, escapement, orientation, weight};
  for (size_t i = 0; i < 5; ++i) PutInt32(&b[4 * i], longs[i]);
  const uint8_t bytes[] = {italic,       underline,     strikeOut, charSet,
                           outPrecision, clipPrecision, quality,   pitchAndFamily};
  std::copy(std::begin(bytes), std::end(bytes), b.begin() + 20);
  std::memcpy(&b[28], faceName.data(), kFaceNameSize);
  return b;
}

LogFont LogFont::FromBytes(const std::array<uint8_t, kRecordSize>& b) {
  LogFont f;
  f.height = GetInt32(&b[0]);
  f.width = GetInt32(&b[4]);
  f.escapement = GetInt32(&b[8]);
  f.orientation = GetInt32(&b[12]);
  f.weight = GetInt32(&b[16]);
  f.italic = b[20];
  f.underline = b[21];
  f.strikeOut = b[22];
  f.charSet = b[23];
  f.outPrecision = b[24];
  f.clipPrecision = b[25];
  f.quality = b[26];
  f.pitchAndFamily = b[27];
  std::memcpy(f.faceName.data(), &b[28], kFaceNameSize);
  return f;
}

std::string LogFont::FaceNameUtf8() const {
  const auto end = std::find(faceName.begin(), faceName.end(), '\0');
  return base::Cp932ToUtf8(std::string_view(faceName.data(), static_cast<size_t>(end - faceName.begin())));
}

bool LogFont::SetFaceNameUtf8(std::string_view utf8) {
  auto cp932 = base::Utf8ToCp932(utf8);
  if (!cp932 || cp932->size() >= kFaceNameSize || cp932->find('\0') != std::string::npos) return false;
  faceName.fill('\0');
  std::memcpy(faceName.data(), cp932->data(), cp932->size());
  return true;
}

}  // namespace orvella::settings
