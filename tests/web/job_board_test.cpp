// The board the status page reads: rows newest last with ids that count up,
// a cap that drops the oldest, and snapshots that never change once taken.
#include "app/web/job_board.h"

#include <gtest/gtest.h>

#include "app/web/board_json.h"

namespace orvella::web {
namespace {

using jobs::StatusMark;

TEST(JobBoardTest, RowsAreCappedAndAStatusChangesOnlyTheNewestRow) {
  JobBoard board(2);
  board.AddJobRow("/hot/a.tif", "部数1/1 ページ1/1", StatusMark::kInProgress);
  const auto first = board.Snapshot();
  board.AddJobRow("/hot/b.tif", "部数1/1 ページ1/1", StatusMark::kInProgress);
  board.AddJobRow("/hot/c.plt", "部数1/2", StatusMark::kInProgress);
  board.SetJobStatus("出力済(部数1/2)", StatusMark::kDone);
  board.SetRunState(jobs::RunState::kStopPending);

  const auto now = board.Snapshot();
  ASSERT_EQ(now->rows.size(), 2u);
  EXPECT_EQ(now->rows[0]->columns.fileName, "b.tif");
  EXPECT_EQ(now->rows[1]->id, 3u);
  EXPECT_EQ(now->rows[1]->columns.folder, "/hot");
  EXPECT_EQ(now->rows[1]->status, "出力済(部数1/2)");
  EXPECT_EQ(now->rows[1]->mark, StatusMark::kDone);
  EXPECT_EQ(now->rows[0]->status, "部数1/1 ページ1/1");
  // What a stream has seen is told from what changed since by the revisions.
  EXPECT_LT(now->rows[0]->revision, now->rows[1]->revision);
  EXPECT_EQ(now->stateRevision, now->version);
  EXPECT_EQ(now->state, jobs::RunState::kStopPending);

  ASSERT_EQ(first->rows.size(), 1u);
  EXPECT_EQ(first->rows[0]->columns.fileName, "a.tif");
  EXPECT_EQ(first->state, jobs::RunState::kStopped);
}

// The cause behind a failure travels with its row (and its revision, so the
// page's stream sends it) until the row shows something else than a failure.
TEST(JobBoardTest, TheDetailStaysWithTheFailedRowOnly) {
  JobBoard board;
  board.AddJobRow("/hot/a.tif", "部数1/1 ページ1/2", StatusMark::kInProgress);
  board.SetJobStatus("TIFFファイルのオープンエラー(部数1/1 ページ1/2)", StatusMark::kFailed);
  const auto before = board.Snapshot()->rows[0]->revision;
  board.NoteDetail("row 12 of page 1 of /hot/a.tif cannot be read");
  auto row = board.Snapshot()->rows[0];
  EXPECT_EQ(row->detail, "row 12 of page 1 of /hot/a.tif cannot be read");
  EXPECT_GT(row->revision, before);
  EXPECT_EQ(RowJson(*row)["detail"], "row 12 of page 1 of /hot/a.tif cannot be read");

  board.SetJobStatus("出力済(部数1/1 ページ1/2)", StatusMark::kDone);
  row = board.Snapshot()->rows[0];
  EXPECT_TRUE(row->detail.empty());
  EXPECT_TRUE(RowJson(*row)["detail"].is_null());
}

// The page's names for the marks (also its icons' names) are the service's
// words with "_" for the space; both are read from outside.
TEST(JobBoardTest, EachMarkHasItsNameAndIcon) {
  const struct {
    StatusMark mark;
    const char* words;
    const char* name;
  } kMarks[] = {{StatusMark::kDone, "done", "done"},
                {StatusMark::kInProgress, "in progress", "in_progress"},
                {StatusMark::kFailed, "failed", "failed"}};
  for (const auto& m : kMarks) {
    EXPECT_EQ(jobs::StatusMarkName(m.mark), m.words);
    JobRow row;
    row.mark = m.mark;
    EXPECT_EQ(RowJson(row)["mark_name"], m.name);
    EXPECT_EQ(RowJson(row)["icon"], std::string("/static/icons/mark_") + m.name + ".png");
  }
}

TEST(JobBoardTest, AStatusBeforeAnyRowChangesNothingButTheVersion) {
  JobBoard board;
  board.SetJobStatus("出力済(部数1/1)", StatusMark::kDone);
  EXPECT_TRUE(board.Snapshot()->rows.empty());
}

}  // namespace
}  // namespace orvella::web
