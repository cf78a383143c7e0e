#pragma once
// The font description stored in STAMP.INI: the 60-byte LOGFONTA record,
// little-endian, face name in CP932.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvella::settings {

struct LogFont {
  static constexpr size_t kRecordSize = 60;
  static constexpr size_t kFaceNameSize = 32;  // bytes, NUL included

  int32_t height = 0;
  int32_t width = 0;
  int32_t escapement = 0;
  int32_t orientation = 0;
  int32_t weight = 0;
  uint8_t italic = 0;
  uint8_t underline = 0;
  uint8_t strikeOut = 0;
  uint8_t charSet = 0;
  uint8_t outPrecision = 0;
  uint8_t clipPrecision = 0;
  uint8_t quality = 0;
  uint8_t pitchAndFamily = 0;
  // CP932 bytes up to the first NUL; kept whole so a record read from a file
  // is written back byte for byte.
  std::array<char, kFaceNameSize> faceName{};

  std::array<uint8_t, kRecordSize> ToBytes() const;
  static LogFont FromBytes(const std::array<uint8_t, kRecordSize>& bytes);

  // The face name as UTF-8 (up to the first NUL).
  std::string FaceNameUtf8() const;
  // False, leaving the face unchanged, when CP932 cannot hold the name or it
  // needs more than 31 bytes.
  bool SetFaceNameUtf8(std::string_view utf8);
  // A font counts as chosen once it has a face.
  bool HasFace() const { return faceName[0] != '\0'; }

  bool operator==(const LogFont&) const = default;
};

}  // namespace orvella::settings
