#pragma once
// A fresh program folder with an INI folder, for tests of the settings files.
#include <filesystem>
#include <string>
#include <string_view>

#include "base/text_codec.h"
#include "settings/program_folders.h"
#include "support/temp_dir.h"

namespace orvella::test {

class SettingsHome {
 public:
  SettingsHome() { std::filesystem::create_directory(dir_ / "INI"); }

  const std::filesystem::path& Path() const { return dir_.Path(); }
  std::filesystem::path Ini(std::string_view name) const { return dir_ / ("INI/" + std::string(name)); }

  // Writes an INI file as a hand editor would: CP932, CR LF line ends.
  void WriteIni(std::string_view name, std::string_view utf8Lines) const {
    std::string crlf;
    for (char c : utf8Lines) {
      if (c == '\n') crlf += '\r';
      crlf += c;
    }
    WriteFileBytes(Ini(name), base::Utf8ToCp932(crlf).value());
  }

  // The file as UTF-8 with LF line ends.
  std::string ReadIni(std::string_view name) const {
    std::string text = base::Cp932ToUtf8(ReadFileBytes(Ini(name)));
    std::erase(text, '\r');
    return text;
  }

 private:
  TempDir dir_;
};

}  // namespace orvella::test
