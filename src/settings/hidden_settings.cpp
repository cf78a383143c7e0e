#include "settings/hidden_settings.h"

#include "settings/field_source.h"
#include "settings/ini_file.h"

namespace orvella::settings {
namespace {

constexpr std::string_view kSection = "SETTING";

// The stored fields in file order, for loading (Fields is an IniFieldSource,
// Hidden the defaults) and for showing (a FieldSink and a const record).
template <typename Fields, typename Hidden>
void HiddenFields(Fields& f, Hidden& h) {
  f.Integer("MAX_MEM", h.maxMem);
  f.Integer("OUT_PER_SEC", h.outPerSec);
  f.Integer("CHECK_RETRY", h.checkRetry);
  f.Integer("SEND_RETRY", h.sendRetry);
  f.Integer("SEND_TIMEOUT", h.sendTimeout);
  f.Boolean("ENABLE_PANELOFF_AND_ENERGYSAVE_SETTING", h.enablePanelOffAndEnergySaveSetting);
  f.Boolean("ENABLE_UNSUPPORTED_GL", h.enableUnsupportedGl);
  f.Integer("FIND_INTERVAL", h.findInterval);
  f.Boolean("TIFF_ERROR_PRINT", h.tiffErrorPrint);
  f.Integer("UNFIXED_ADD_LEN", h.unfixedAddLen);
  f.Boolean("ENABLE_A4_FOLD", h.enableA4Fold);
  f.Boolean("ENABLE_Z_FOLD", h.enableZFold);
  f.Integer("AUTOPAPER_PERCENT", h.autopaperPercent);
  f.Boolean("ENABLE_PAPER_SIZE_B", h.enablePaperSizeB);
  f.Integer("PRINTER_FTP_PORT", h.printerFtpPort);
  f.Integer("PRINTER_SNMP_PORT", h.printerSnmpPort);
  f.Integer("FILE_QUIET_SECONDS", h.fileQuietSeconds);
}

int ValidPort(int port, int fallback) { return port >= 1 && port <= 65535 ? port : fallback; }

}  // namespace

HiddenSettings LoadHiddenSettings(const std::filesystem::path& program) {
  const IniSnapshot ini(IniFile{program, std::string(kHiddenIniFile)});
  IniFieldSource source(ini);
  source.SetSection(std::string(kSection));
  HiddenSettings hidden;  // the defaults
  HiddenFields(source, hidden);
  const HiddenSettings defaults;
  hidden.printerFtpPort = ValidPort(hidden.printerFtpPort, defaults.printerFtpPort);
  hidden.printerSnmpPort = ValidPort(hidden.printerSnmpPort, defaults.printerSnmpPort);
  return hidden;
}

void VisitHiddenSettings(const HiddenSettings& hidden, FieldSink& sink) { HiddenFields(sink, hidden); }

}  // namespace orvella::settings
