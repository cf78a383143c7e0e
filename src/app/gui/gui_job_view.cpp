#include "app/gui/gui_job_view.h"

#include <ctime>
#include <utility>

namespace orvella::cli {

namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

GuiJobView::GuiJobView(WindowThreadGate& gate, JobListModel& model,
                       std::function<void(jobs::RunState)> showState)
    : gate_(gate), model_(model), showState_(std::move(showState)) {}

void GuiJobView::AddJobRow(std::string_view sourcePath, std::string_view text, jobs::StatusMark mark) {
  const jobs::JobRowColumns columns = jobs::MakeJobRowColumns(sourcePath, std::time(nullptr));
  const QString status = ToQString(text);
  gate_.Run([&] { model_.AddRow(columns, status, mark); });
}

void GuiJobView::SetJobStatus(std::string_view text, jobs::StatusMark mark) {
  const QString status = ToQString(text);
  gate_.Run([&] { model_.SetTopStatus(status, mark); });
}

void GuiJobView::NoteDetail(std::string_view detail) {
  const QString text = ToQString(detail);
  gate_.Run([&] { model_.SetTopDetail(text); });
}

void GuiJobView::SetRunState(jobs::RunState state) {
  gate_.Run([&] { showState_(state); });
}

}  // namespace orvella::cli
