#include "app/web/board_json.h"

#include <algorithm>
#include <array>

namespace orvella::web {
namespace {

// The mark's name in words with "_" for the space: also its icon's name.
std::string MarkName(jobs::StatusMark mark) {
  std::string name(jobs::StatusMarkName(mark));
  std::replace(name.begin(), name.end(), ' ', '_');
  return name;
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
          {"icon", "/static/icons/mark_" + MarkName(row.mark) + ".png"},
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
