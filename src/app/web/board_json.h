#pragma once
// The job window's rows and the run state as the status page's JSON. Texts
// stay exactly as the job window shows them.
#include <nlohmann/json.hpp>

#include "app/web/job_board.h"

namespace orvella::web {

using Json = nlohmann::ordered_json;

Json RowJson(const JobRow& row);
Json StateJson(jobs::RunState state);
// The rows newest first, as the job window lists them.
Json RowsJson(const BoardSnapshot& board);
// The passed-over entries, newest first.
Json PassedOverJson(const BoardSnapshot& board);

}  // namespace orvella::web
