#include "support/imaging/convert_test_support.h"

#include <algorithm>

#include "support/process_setup.h"

namespace orvella::imaging::test {

void ConversionTest::SetUp() { std::filesystem::create_directory(Temp()); }

std::filesystem::path ConversionTest::Temp() const { return home_ / "TEMP"; }

settings::WorkContext ConversionTest::Work() const {
  return {home_.Path(), Temp(), orvella::test::ProcessFolders().data};
}

PageConversionRequest ConversionTest::A4Request() {
  PageConversionRequest request;
  request.sheetWidthMm = 210;
  request.sheetHeightMm = 297;
  request.hostMagnification = true;
  request.header.resolution = 100;
  request.header.printerClass = 1;
  request.header.trayName = "1";
  return request;
}

bool PrintedJob::HasOption(const std::string& option) const {
  return std::find(options.begin(), options.end(), option) != options.end();
}

bool PrintedJob::HasPjl(const std::string& line) const {
  return std::find(pjl.begin(), pjl.end(), line) != pjl.end();
}

PrintedJob ReadPrintedJob(const std::filesystem::path& file, const std::filesystem::path& scratch) {
  PrintedJob job;
  std::string error;
  auto view = printfile::ReadPrintFile(file, error);
  EXPECT_TRUE(view) << error;
  if (!view) return job;
  EXPECT_TRUE(view->Clean());
  EXPECT_TRUE(view->trailerFound);
  job.view = *view;
  for (const auto& line : view->pjl) job.pjl.push_back(line.text);
  for (const auto& escape : view->escapes) {
    if (escape.command == "?z") job.options = escape.arguments;
  }
  const std::string bytes = orvella::test::ReadFileBytes(file);
  job.body = bytes.substr(view->bodyOffset, view->trailerOffset - view->bodyOffset);
  for (const auto& part : view->body) {
    EXPECT_EQ(part.kind, printfile::BodyPartKind::kTiff);
    if (part.kind != printfile::BodyPartKind::kTiff || !part.tiff || part.tiff->directories.size() != 1) {
      ADD_FAILURE() << "body part at " << part.offset << " is not a one-page TIFF";
      continue;
    }
    PrintedPage page;
    page.bytes = bytes.substr(part.offset, part.size);
    page.header = part.tiff->directories[0];
    const auto path = scratch / ("printed_page" + std::to_string(job.pages.size()) + ".tif");
    orvella::test::WriteFileBytes(path, page.bytes);
    page.image = ReadTiff(path);
    job.pages.push_back(std::move(page));
  }
  return job;
}

Bitmap Crop(const Bitmap& image, uint32_t x, uint32_t y, uint32_t w, uint32_t h) {
  Bitmap out(w, h);
  for (uint32_t j = 0; j < h; ++j) {
    for (uint32_t i = 0; i < w; ++i) {
      if (x + i < image.width && y + j < image.length) out.Set(i, j, image.At(x + i, y + j));
    }
  }
  return out;
}

size_t BlackPixels(const Bitmap& image) { return std::count(image.pixels.begin(), image.pixels.end(), 1); }

}  // namespace orvella::imaging::test
