// Rows from the worker thread reach the list in order and before the worker
// goes on; a long list stays cheap.
#include <gtest/gtest.h>

#include <QTreeView>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "app/gui/gui_job_view.h"
#include "gui/gui_fixture.h"

namespace orvella::cli {
namespace {

using jobs::StatusMark;
using test::ServeEventsUntil;

QString Cell(const JobListModel& model, int row, int column) {
  return model.data(model.index(row, column), Qt::DisplayRole).toString();
}

struct ViewOnThisThread {
  QObject context;
  WindowThreadGate gate{context};
  JobListModel model;
  jobs::RunState shown = jobs::RunState::kStopped;
  GuiJobView view{gate, model, [this](jobs::RunState state) { shown = state; }};
};

TEST(GuiJobView, WorkerRowsArriveInOrderBeforeTheWorkerGoesOn) {
  ViewOnThisThread v;
  constexpr int kJobs = 200;
  std::atomic<bool> done = false;
  std::atomic<int> lateRows = 0;
  std::thread worker([&] {
    for (int i = 0; i < kJobs; ++i) {
      v.view.AddJobRow("/hot/in/f" + std::to_string(i) + ".tif", "部数1/ ページ1", StatusMark::kInProgress);
      if (v.model.rowCount() != i + 1) ++lateRows;
      v.view.SetJobStatus("出力済(部数1/1 ページ1/1)", StatusMark::kDone);
    }
    v.view.SetRunState(jobs::RunState::kStopPending);
    done = true;
  });
  const bool finished = ServeEventsUntil([&] { return done.load(); });
  worker.join();
  ASSERT_TRUE(finished);
  EXPECT_EQ(lateRows, 0);
  ASSERT_EQ(v.model.rowCount(), kJobs);
  EXPECT_EQ(Cell(v.model, 0, 1).toStdString(), "f199.tif");
  EXPECT_EQ(Cell(v.model, 0, 2).toStdString(), "/hot/in");
  EXPECT_EQ(Cell(v.model, kJobs - 1, 1).toStdString(), "f0.tif");
  for (int row = 0; row < kJobs; ++row) {
    ASSERT_EQ(Cell(v.model, row, 3).toStdString(), "出力済(部数1/1 ページ1/1)") << row;
  }
  EXPECT_EQ(v.shown, jobs::RunState::kStopPending);

  // On the window thread itself the call runs at once.
  v.view.SetJobStatus("中止(部数1 ページ1)", StatusMark::kFailed);
  EXPECT_EQ(Cell(v.model, 0, 3).toStdString(), "中止(部数1 ページ1)");
  EXPECT_EQ(Cell(v.model, 1, 3).toStdString(), "出力済(部数1/1 ページ1/1)");
}

TEST(GuiJobView, ClosingTheGateReleasesAWaitingWorker) {
  ViewOnThisThread v;
  std::atomic<bool> returned = false;
  std::thread worker([&] {
    v.view.AddJobRow("/hot/a.tif", "部数1/1", StatusMark::kInProgress);
    v.view.AddJobRow("/hot/b.tif", "部数1/1", StatusMark::kInProgress);
    returned = true;
  });
  // The window thread serves no events, as while it waits for the worker at
  // shutdown.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(returned);
  v.gate.Close();
  worker.join();
  EXPECT_TRUE(returned);
  QCoreApplication::processEvents();  // the queued call finds the gate closed
  EXPECT_EQ(v.model.rowCount(), 0);
}

TEST(GuiJobView, TenThousandRowsStayCheap) {
  ViewOnThisThread v;
  QTreeView list;
  list.setUniformRowHeights(true);
  list.setModel(&v.model);
  list.resize(700, 400);
  list.show();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 10000; ++i) {
    v.view.AddJobRow("/hot/in/drawing" + std::to_string(i) + ".tif", "部数1/1", StatusMark::kInProgress);
    v.view.SetJobStatus("出力済(部数1/1)", StatusMark::kDone);
    if (i % 100 == 0) QCoreApplication::processEvents();
  }
  list.scrollToBottom();
  QCoreApplication::processEvents();
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(v.model.rowCount(), 10000);
  // Rows widgets or a copy per insert take far longer; the bound leaves room
  // for a busy machine.
  EXPECT_LT(elapsed, std::chrono::seconds(5));
}

}  // namespace
}  // namespace orvella::cli
