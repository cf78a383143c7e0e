#include "app/web/board_json.h"

#include <array>

namespace orvella::web {
namespace {

const char* MarkName(jobs::StatusMark mark) {
  switch (mark) {
    case jobs::StatusMark::kDone:
      return "done";
    case jobs::StatusMark::kInProgress:
      return "in_progress";
    case jobs::StatusMark::kFailed:
      return "failed";
  }
  return "";
}

const char* StateName(jobs::RunState state) {
  static constexpr std::array<const char*, jobs::kRunStateCount> kNames{"stopped", "running", "stop_pending",
                                                                        "forced_stop_pending"};
  const int index = static_cast<int>(state);
  return index >= 0 && index < jobs::kRunStateCount ? kNames[static_cast<std::size_t>(index)] : "";
}

}  // namespace

Json RowJson(const JobRow& row) {
  return {{"id", row.id},
          {"added", row.columns.added},
          {"file", row.columns.fileName},
          {"folder", row.columns.folder},
          {"status", row.status},
          {"mark", static_cast<int>(row.mark)},
          {"mark_name", MarkName(row.mark)},
          {"icon", std::string("/static/icons/mark_") + MarkName(row.mark) + ".png"},
          {"detail", row.detail.empty() ? Json(nullptr) : Json(row.detail)}};
}

Json StateJson(jobs::RunState state) {
  return {{"state", static_cast<int>(state)},
          {"name", StateName(state)},
          {"text", jobs::RunStateText(state)},
          {"icon", std::string("/static/icons/state_") + StateName(state) + ".png"}};
}

Json RowsJson(const BoardSnapshot& board) {
  Json rows = Json::array();
  for (auto row = board.rows.rbegin(); row != board.rows.rend(); ++row) rows.push_back(RowJson(**row));
  return rows;
}

Json PassedOverJson(const BoardSnapshot& board) {
  Json notes = Json::array();
  for (auto note = board.passedOver.rbegin(); note != board.passedOver.rend(); ++note) {
    notes.push_back(
        {{"time", note->time}, {"path", note->path}, {"message", note->message}, {"reason", note->reason}});
  }
  return notes;
}

}  // namespace orvella::web
