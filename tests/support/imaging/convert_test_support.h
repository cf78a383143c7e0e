#pragma once
// Shared by the page conversion tests: a program folder of their own, and a
// print file read back into its header options and decoded pages.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "imaging/page_conversion_request.h"
#include "printfile/print_file_reader.h"
#include "settings/work_folder.h"
#include "support/imaging/test_bitmap.h"
#include "support/temp_dir.h"

namespace orvella::imaging::test {

// Each test runs in a fresh program folder whose TEMP folder is the work
// folder, so the work files of one test never meet another's.
class ConversionTest : public ::testing::Test {
 protected:
  void SetUp() override;
  std::filesystem::path Temp() const;
  settings::WorkContext Work() const;
  // A4 at 100 dpi, scaled on the host, for an A2-class printer's tray 1.
  static PageConversionRequest A4Request();
  orvella::test::TempDir home_;
};

struct PrintedPage {
  std::string bytes;  // the page's own TIFF file
  printfile::TiffDirectoryInfo header;
  Bitmap image;
};

struct PrintedJob {
  printfile::PrintFileView view;
  std::vector<std::string> pjl;      // header lines through ENTER LANGUAGE
  std::vector<std::string> options;  // of the print conditions, ESC DC2 "?z"
  std::string body;
  std::vector<PrintedPage> pages;

  bool HasOption(const std::string& option) const;
  bool HasPjl(const std::string& line) const;
};

// Reads a raster print file back; fails the test when it does not read cleanly.
PrintedJob ReadPrintedJob(const std::filesystem::path& file, const std::filesystem::path& scratch);

// The w x h part of image at (x, y), white where it lies outside.
Bitmap Crop(const Bitmap& image, uint32_t x, uint32_t y, uint32_t w, uint32_t h);
size_t BlackPixels(const Bitmap& image);

}  // namespace orvella::imaging::test
