#include "app/web/job_board.h"

#include <ctime>
#include <utility>

namespace orvella::web {

JobBoard::JobBoard(std::size_t maxRows)
    : maxRows_(maxRows == 0 ? 1 : maxRows), current_(std::make_shared<const BoardSnapshot>()) {}

template <typename Change>
void JobBoard::Publish(Change change) {
  std::lock_guard write(writeMutex_);
  auto next = std::make_shared<BoardSnapshot>(*Snapshot());
  ++next->version;
  change(*next);
  std::shared_ptr<const BoardSnapshot> published = std::move(next);
  std::shared_ptr<const BoardSnapshot> previous;
  {
    std::lock_guard swap(pointerMutex_);
    previous = std::exchange(current_, std::move(published));
  }
  // The old snapshot is freed here, outside the readers' lock (or later by
  // the last reader that still holds it).
}

void JobBoard::AddJobRow(std::string_view sourcePath, std::string_view text, jobs::StatusMark mark) {
  const jobs::JobRowColumns columns = jobs::MakeJobRowColumns(sourcePath, std::time(nullptr));
  Publish([&](BoardSnapshot& board) {
    auto row = std::make_shared<JobRow>();
    row->id = board.rows.empty() ? 1 : board.rows.back()->id + 1;
    row->revision = board.version;
    row->columns = columns;
    row->status = text;
    row->mark = mark;
    if (board.rows.size() >= maxRows_) board.rows.erase(board.rows.begin());
    board.rows.push_back(std::move(row));
  });
}

void JobBoard::SetJobStatus(std::string_view text, jobs::StatusMark mark) {
  Publish([&](BoardSnapshot& board) {
    if (board.rows.empty()) return;
    auto row = std::make_shared<JobRow>(*board.rows.back());
    row->revision = board.version;
    row->status = text;
    row->mark = mark;
    if (mark != jobs::StatusMark::kFailed) row->detail.clear();
    board.rows.back() = std::move(row);
  });
}

void JobBoard::NoteDetail(std::string_view detail) {
  Publish([&](BoardSnapshot& board) {
    if (board.rows.empty()) return;
    auto row = std::make_shared<JobRow>(*board.rows.back());
    row->revision = board.version;
    row->detail = detail;
    board.rows.back() = std::move(row);
  });
}

void JobBoard::SetRunState(jobs::RunState state) {
  Publish([&](BoardSnapshot& board) {
    board.state = state;
    board.stateRevision = board.version;
  });
}

void JobBoard::NotePassedOver(std::string_view path, std::string_view message, std::string_view reason) {
  constexpr std::size_t kMaxNotes = 100;
  PassedOverNote note{jobs::MakeJobRowColumns(path, std::time(nullptr)).added, std::string(path),
                      std::string(message), std::string(reason)};
  Publish([&](BoardSnapshot& board) {
    std::erase_if(board.passedOver, [&](const PassedOverNote& old) { return old.path == note.path; });
    if (board.passedOver.size() >= kMaxNotes) board.passedOver.erase(board.passedOver.begin());
    board.passedOver.push_back(std::move(note));
  });
}

std::shared_ptr<const BoardSnapshot> JobBoard::Snapshot() const {
  std::lock_guard lock(pointerMutex_);
  return current_;
}

}  // namespace orvella::web
