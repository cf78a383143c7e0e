#include "jobs/worker_fixture.h"

#include <sys/stat.h>

#include <cmath>
#include <ctime>
#include <stdexcept>

#include "base/text_codec.h"
#include "logging/job_log.h"
#include "settings/program_folders.h"
#include "support/imaging/test_bitmap.h"
#include "support/process_setup.h"

namespace orvella::jobs::test {

void RecordingView::AddJobRow(std::string_view sourcePath, std::string_view text, StatusMark mark) {
  if (onAdd) onAdd(static_cast<int>(rows.size()) + 1);
  if (throwOnAdd) throw std::runtime_error("the view failed");
  rows.push_back({std::string(sourcePath), std::string(text), mark, {std::string(text)}});
}

void RecordingView::SetJobStatus(std::string_view text, StatusMark mark) {
  if (rows.empty()) return;
  rows.back().text = text;
  rows.back().mark = mark;
  rows.back().history.emplace_back(text);
}

WorkerFixture::WorkerFixture() {
  settings::CreateApplicationFolders(program.Path());
  folder.inputDir = hot.Path().string();
  folder.quantity = 1;
  control.SetState(RunState::kRunning);
}

std::string WorkerFixture::DropFile(const std::string& name, const std::string& bytes) {
  orvella::test::WriteFileBytes(hot / name, bytes);
  return (hot / name).string();
}

std::string WorkerFixture::DropTiff(const std::string& name, const std::vector<PageMm>& pages, double dpi) {
  const auto dots = [dpi](double mm) { return static_cast<uint32_t>(std::lround(mm / 25.4 * dpi)); };
  std::vector<imaging::test::Bitmap> bitmaps;
  uint32_t seed = 7;
  for (const PageMm& page : pages) {
    bitmaps.push_back(imaging::test::Bitmap::Random(dots(page.width), dots(page.length), seed++, 0.02));
  }
  imaging::test::TiffOptions options;
  options.xResolution = options.yResolution = static_cast<float>(dpi);
  imaging::test::WriteTiff(hot / name, bitmaps, options);
  return (hot / name).string();
}

WorkerContext WorkerFixture::Context(JobView& view) {
  WorkerContext context(program.Path(), std::make_shared<const OperationSettings>(loaded), control, view,
                        memory);
  // As the operation hands them over.
  context.data = orvella::test::ProcessFolders().data;
  context.notices = logging::NetSendBeside(orvella::test::ProcessFolders().executable);
  if (tune) tune(context);
  return context;
}

JobOutcome WorkerFixture::Run(const std::string& source, JobView& view) {
  const WorkerContext context = Context(view);
  struct stat info {};
  if (::lstat(source.c_str(), &info) != 0) ADD_FAILURE() << source << " is not there to run";
  JobOutcome outcome = RunJob({folder, source, StampOf(info)}, context);
  if (outcome.end == JobEnd::kStopped) RequestStopOnError(control, context.view);
  return outcome;
}

std::string WorkerFixture::TodayLog() const {
  const auto path = logging::DailyLogPath(program.Path(), std::time(nullptr));
  return std::filesystem::exists(path) ? base::Cp932ToUtf8(orvella::test::ReadFileBytes(path)) : "";
}

int WorkerFixture::CountErrorCopies(const std::string& name) const {
  int count = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(program / "ERROR")) {
    if (entry.path().filename() == name) ++count;
  }
  return count;
}

void WorkerFixture::ClearErrorFolder() const {
  for (const auto& entry : std::filesystem::directory_iterator(program / "ERROR")) {
    std::filesystem::remove_all(entry.path());
  }
}

}  // namespace orvella::jobs::test
