#include "app/serve_home.h"

#include <gtest/gtest.h>

#include "settings/input_settings.h"
#include "settings/printer_settings.h"
#include "settings/program_folders.h"
#include "support/imaging/test_bitmap.h"

namespace orvella::test {

void PrepareServeHome(const std::filesystem::path& home, const std::filesystem::path& hot,
                      const SimulatedPrinter& sim) {
  std::filesystem::create_directories(hot);
  std::filesystem::create_directories(home);
  settings::CreateApplicationFolders(home);
  sim.Write("stat", "Plotter (Ready.)\r\nOnline/Offline : Online.\r\n");
  settings::InputFolderSetting folder;
  folder.inputDir = hot.string();
  folder.widePrinterName = "plotter";
  settings::SaveInputSettings(home, {folder});
  settings::PrinterSetting plotter;
  plotter.name = "plotter";
  plotter.ipAddr = {127, 0, 0, 1};
  plotter.model = 0;
  plotter.trays[0].size = settings::WideTraySize::kRoll297;
  ASSERT_TRUE(settings::SavePrinterSettings(home, {plotter}));
  WriteFileBytes(home / "INI/HIDDEN.INI", "[SETTING]\r\nCHECK_RETRY=\"0\"\r\nPRINTER_FTP_PORT=\"" +
                                              std::to_string(sim.FtpPort()) + "\"\r\nPRINTER_SNMP_PORT=\"" +
                                              std::to_string(sim.SnmpPort()) + "\"\r\n");
}

void WriteThreePages(const std::filesystem::path& file) {
  std::vector<imaging::test::Bitmap> pages;
  for (uint32_t seed = 1; seed <= 3; ++seed)
    pages.push_back(imaging::test::Bitmap::Random(827, 1169, seed, 0.3));
  imaging::test::TiffOptions options;
  options.xResolution = options.yResolution = 100;
  imaging::test::WriteTiff(file, pages, options);
}

}  // namespace orvella::test
