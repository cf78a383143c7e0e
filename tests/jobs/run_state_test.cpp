#include "jobs/run_state.h"

#include <gtest/gtest.h>

#include <vector>

#include "jobs/job_status_text.h"
#include "jobs/job_view.h"

namespace orvella::jobs {
namespace {

struct RecordingView : JobView {
  std::vector<RunState> states;
  void AddJobRow(std::string_view, std::string_view, StatusMark) override {}
  void SetJobStatus(std::string_view, StatusMark) override {}
  void SetRunState(RunState state) override { states.push_back(state); }
};

TEST(RunState, TextsAreIndexedByState) {
  EXPECT_STREQ(RunStateText(RunState::kStopped), "停止中");
  EXPECT_STREQ(RunStateText(RunState::kRunning), "稼動中");
  EXPECT_STREQ(RunStateText(RunState::kStopPending), "停止待機中");
  EXPECT_STREQ(RunStateText(RunState::kForcedStopPending), "強制停止待機中");
  EXPECT_STREQ(RunStateText(static_cast<RunState>(7)), "");
}

TEST(RequestStopOnError, OnlyARunningSystemGoesToStopPending) {
  const RunState states[] = {RunState::kStopped, RunState::kRunning, RunState::kStopPending,
                             RunState::kForcedStopPending};
  for (const RunState from : states) {
    RunControl control;
    control.SetState(from);
    RecordingView view;
    RequestStopOnError(control, view);
    const bool running = from == RunState::kRunning;
    EXPECT_EQ(control.State(), running ? RunState::kStopPending : from);
    EXPECT_EQ(control.AbortRequested(), running);
    EXPECT_EQ(view.states.size(), running ? 1U : 0U);
  }
}

TEST(JobStatusText, EveryUnitAndStepHasItsText) {
  const UnitCounters c{2, 3, 4, 5};
  struct Case {
    WorkUnit unit;
    UnitStep step;
    const char* text;
  };
  const Case cases[] = {
      {WorkUnit::kWholeTiff, UnitStep::kAdded, "部数3/ ページ5"},
      {WorkUnit::kWholeTiff, UnitStep::kConverting, "部数3/ ページ5"},
      {WorkUnit::kWholeTiff, UnitStep::kTransferring, "転送中(部数3 ページ5)"},
      {WorkUnit::kWholeTiff, UnitStep::kDone, "出力済(部数3/3 ページ5/5)"},
      {WorkUnit::kWholeTiff, UnitStep::kAborted, "中止(部数3 ページ5)"},
      {WorkUnit::kWholeTiff, UnitStep::kFailed, "E%d(部数3 ページ5)"},
      {WorkUnit::kTiffPage, UnitStep::kAdded, "部数2/3 ページ4/5"},
      {WorkUnit::kTiffPage, UnitStep::kConverting, "変換中(部数2/3 ページ4/5)"},
      {WorkUnit::kTiffPage, UnitStep::kTransferring, "転送中(部数2/3 ページ4/5)"},
      {WorkUnit::kTiffPage, UnitStep::kDone, "出力済(部数2/3 ページ4/5)"},
      {WorkUnit::kTiffPage, UnitStep::kAborted, "中止(部数2/3 ページ4/5)"},
      {WorkUnit::kTiffPage, UnitStep::kFailed, "E%d(部数2/3 ページ4/5)"},
      {WorkUnit::kHpglCopy, UnitStep::kAdded, "部数2/3"},
      {WorkUnit::kHpglCopy, UnitStep::kConverting, "変換中(部数2/3)"},
      {WorkUnit::kHpglCopy, UnitStep::kTransferring, "転送中(部数2/3)"},
      {WorkUnit::kHpglCopy, UnitStep::kDone, "出力済(部数2/3)"},
      {WorkUnit::kHpglCopy, UnitStep::kAborted, "中止(部数2/3)"},
      {WorkUnit::kHpglCopy, UnitStep::kFailed, "E%d(部数2/3)"},
  };
  for (const Case& k : cases) {
    // A message holding a format directive is copied as it stands.
    EXPECT_EQ(JobStatusText(k.unit, k.step, c, "E%d"), k.text);
  }
}

TEST(JobRowColumns, SplitThePathAndStampTheLocalTime) {
  std::tm local{};
  local.tm_year = 107;
  local.tm_mon = 2;
  local.tm_mday = 2;
  local.tm_hour = 14;
  local.tm_min = 5;
  local.tm_sec = 9;
  local.tm_isdst = -1;
  const JobRowColumns row = MakeJobRowColumns("/hot/in/plan.tif", std::mktime(&local));
  EXPECT_EQ(row.added, "2007/03/02 14:05:09");
  EXPECT_EQ(row.fileName, "plan.tif");
  EXPECT_EQ(row.folder, "/hot/in");
}

}  // namespace
}  // namespace orvella::jobs
