#include "settings/hidden_settings.h"

#include "settings/ini_file.h"

namespace orvella::settings {
namespace {

constexpr std::string_view kFile = "/INI/HIDDEN.INI";
constexpr std::string_view kSection = "SETTING";

// One table drives both reading and showing, so keys and order agree.
template <typename Hidden, typename Fn>
void ForEachField(Hidden& h, Fn&& fn) {
  fn("MAX_MEM", h.maxMem);
  fn("OUT_PER_SEC", h.outPerSec);
  fn("CHECK_RETRY", h.checkRetry);
  fn("SEND_RETRY", h.sendRetry);
  fn("SEND_TIMEOUT", h.sendTimeout);
  fn("ENABLE_PANELOFF_AND_ENERGYSAVE_SETTING", h.enablePanelOffAndEnergySaveSetting);
  fn("ENABLE_UNSUPPORTED_GL", h.enableUnsupportedGl);
  fn("FIND_INTERVAL", h.findInterval);
  fn("TIFF_ERROR_PRINT", h.tiffErrorPrint);
  fn("UNFIXED_ADD_LEN", h.unfixedAddLen);
  fn("ENABLE_A4_FOLD", h.enableA4Fold);
  fn("ENABLE_Z_FOLD", h.enableZFold);
  fn("AUTOPAPER_PERCENT", h.autopaperPercent);
  fn("ENABLE_PAPER_SIZE_B", h.enablePaperSizeB);
  fn("PRINTER_FTP_PORT", h.printerFtpPort);
  fn("PRINTER_SNMP_PORT", h.printerSnmpPort);
}

struct Reader {
  const IniReader& ini;
  void operator()(std::string_view key, int& value) const { value = ini.ReadInt(kSection, key, value); }
  void operator()(std::string_view key, bool& value) const {
    value = ini.ReadBool(kSection, key, value ? 1 : 0) == 1;
  }
};

struct Shower {
  FieldSink& sink;
  void operator()(std::string_view key, int value) const { sink.Integer(key, value); }
  void operator()(std::string_view key, bool value) const { sink.Boolean(key, value); }
};

int ValidPort(int port, int fallback) { return port >= 1 && port <= 65535 ? port : fallback; }

}  // namespace

HiddenSettings LoadHiddenSettings(const std::filesystem::path& program) {
  const IniSnapshot ini(IniFile{program, std::string(kFile)});
  HiddenSettings hidden;  // the defaults
  ForEachField(hidden, Reader{ini});
  const HiddenSettings defaults;
  hidden.printerFtpPort = ValidPort(hidden.printerFtpPort, defaults.printerFtpPort);
  hidden.printerSnmpPort = ValidPort(hidden.printerSnmpPort, defaults.printerSnmpPort);
  return hidden;
}

void VisitHiddenSettings(const HiddenSettings& hidden, FieldSink& sink) {
  ForEachField(hidden, Shower{sink});
}

}  // namespace orvella::settings
