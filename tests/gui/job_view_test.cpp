// Rows from the worker thread reach the list in order and before the worker
// goes on; a long list stays cheap.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTreeView>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "app/gui/gui_job_view.h"
#include "app/gui/job_window.h"
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

// The cause behind a failed row: its tooltip, and the line under the list
// while the row is selected; a later status that is no failure takes it away.
TEST(GuiJobView, TheDetailOfAFailedRowIsItsTooltipAndTheSelectedRowsLine) {
  ViewOnThisThread v;
  JobWindow window("Orvella", v.model);
  window.show();
  v.view.AddJobRow("/hot/a.tif", "部数1/1 ページ1/1", StatusMark::kInProgress);
  v.view.SetJobStatus("転送エラー(部数1/1 ページ1/1)", StatusMark::kFailed);
  v.view.NoteDetail("the printer at 127.0.0.1 did not answer (curl: Timeout was reached)");
  const QModelIndex top = v.model.index(0, 1);
  EXPECT_EQ(v.model.data(top, Qt::ToolTipRole).toString().toStdString(),
            "the printer at 127.0.0.1 did not answer (curl: Timeout was reached)");
  EXPECT_TRUE(window.DetailLine().isHidden());
  window.List().setCurrentIndex(top);
  EXPECT_FALSE(window.DetailLine().isHidden());
  EXPECT_EQ(window.DetailLine().text().toStdString(),
            "the printer at 127.0.0.1 did not answer (curl: Timeout was reached)");

  v.view.AddJobRow("/hot/b.tif", "部数1/1 ページ1/1", StatusMark::kInProgress);
  window.List().setCurrentIndex(v.model.index(0, 0));
  EXPECT_TRUE(window.DetailLine().isHidden());
  v.view.SetJobStatus("出力済(部数1/1 ページ1/1)", StatusMark::kDone);
  EXPECT_FALSE(v.model.data(v.model.index(0, 1), Qt::ToolTipRole).isValid());
  EXPECT_EQ(v.model.data(v.model.index(1, 3), JobListModel::kDetailRole).toString().toStdString(),
            "the printer at 127.0.0.1 did not answer (curl: Timeout was reached)");
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
