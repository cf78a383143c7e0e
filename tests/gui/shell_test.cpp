// The shell's flows: start, stop, close and exit, the folder list, the menus
// as they open, placement and the hand-over to the first instance.
#include "app/gui/shell.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "app/gui/command_menu.h"
#include "app/gui/instance_handover.h"
#include "gui/gui_fixture.h"
#include "settings/app_data.h"
#include "settings/input_settings.h"
#include "settings/printer_settings.h"
#include "settings/window_settings.h"

namespace orvella::cli {
namespace {

using jobs::RunState;
using test::ServeEventsUntil;

constexpr const char* kStartQuestion = "稼動を開始しますか？";

class ShellTest : public ::testing::Test, public test::ShellFixture {
 protected:
  // Whether the menu's item for id is enabled once the menu has opened.
  static bool EnabledWhenOpened(QMenu& menu, CommandId id) {
    emit menu.aboutToShow();
    for (QAction* action : menu.actions()) {
      if (CommandOf(*action) == id) return action->isEnabled();
    }
    ADD_FAILURE() << "no item " << static_cast<int>(id);
    return false;
  }

  // Runs the exit command and serves events until the shell has finished.
  static bool Exit(Shell& shell) {
    bool finished = false;
    QObject::connect(&shell, &Shell::Finished, [&] { finished = true; });
    shell.Dispatch(CommandId::kExit);
    return ServeEventsUntil([&] { return finished; });
  }
};

TEST_F(ShellTest, ClosingTheJobWindowWhileStoppedAsksAndHidesItEitherWay) {
  WriteStartableSettings();
  for (const bool answer : {false, true}) {
    auto shell = MakeShell();
    shell->StartUp();
    shell->Dispatch(CommandId::kShowJobWindow);
    ASSERT_TRUE(shell->Jobs().isVisible());
    messages.questions.clear();
    messages.answers = {answer};
    shell->Jobs().close();
    EXPECT_EQ(messages.questions, std::vector<std::string>{kStartQuestion});
    EXPECT_EQ(shell->Operation().State(), answer ? RunState::kRunning : RunState::kStopped);
    EXPECT_FALSE(shell->Jobs().isVisible());
    // Running, the close asks nothing.
    shell->Dispatch(CommandId::kShowJobWindow);
    shell->Jobs().close();
    EXPECT_EQ(messages.questions.size(), answer ? 1u : 2u);
  }
}

TEST_F(ShellTest, AYesToTheCloseQuestionThatCannotStartWarnsAndStaysStopped) {
  auto shell = MakeShell();  // no input folder
  shell->StartUp();
  shell->Dispatch(CommandId::kShowJobWindow);
  messages.answers = {true};
  shell->Jobs().close();
  EXPECT_EQ(messages.warnings, std::vector<std::string>{"入力設定がありません。"});
  EXPECT_EQ(shell->Operation().State(), RunState::kStopped);
  EXPECT_FALSE(shell->Jobs().isVisible());
}

// Resuming operation at start-up with a hot folder gone (an unmounted share):
// the system runs, and a message box names the folder.
TEST_F(ShellTest, AStartUpWithAMissingHotFolderRunsAndWarnsOfIt) {
  const std::string gone = (hot / "gone").string();
  home.WriteIni("INPUT.INI", "[GLOBAL]\nNUM_INPUTS=\"1\"\n[INPUT_0]\nINPUT_DIR=\"" + gone + "\"\n");
  settings::SetAutorun(home.Path(), true);
  auto shell = MakeShell();
  shell->StartUp();
  EXPECT_EQ(shell->Operation().State(), RunState::kRunning);
  EXPECT_EQ(messages.warnings,
            std::vector<std::string>{"入力フォルダ " + gone + " が見つからないか、読み込めません。"});
}

TEST_F(ShellTest, StartHidesTheFolderWindowAndStopWaitsInStopPending) {
  WriteStartableSettings();
  auto shell = MakeShell();
  shell->StartUp();
  shell->Dispatch(CommandId::kShowFolderWindow);
  ASSERT_TRUE(shell->Folders().isVisible());
  QMenu& tray = shell->Tray()->Menu();
  EXPECT_TRUE(EnabledWhenOpened(tray, CommandId::kStart));
  EXPECT_FALSE(EnabledWhenOpened(tray, CommandId::kStop));

  shell->Dispatch(CommandId::kStart);
  EXPECT_EQ(shell->Operation().State(), RunState::kRunning);
  EXPECT_FALSE(shell->Folders().isVisible());
  EXPECT_TRUE(shell->Jobs().isVisible());
  EXPECT_FALSE(EnabledWhenOpened(tray, CommandId::kShowFolderWindow));
  EXPECT_FALSE(EnabledWhenOpened(tray, CommandId::kStart));
  EXPECT_TRUE(EnabledWhenOpened(tray, CommandId::kStop));

  shell->Dispatch(CommandId::kStop);
  EXPECT_EQ(shell->Operation().State(), RunState::kStopPending);
  EXPECT_FALSE(EnabledWhenOpened(tray, CommandId::kStop));
  EXPECT_TRUE(ServeEventsUntil([&] { return shell->Operation().State() == RunState::kStopped; }));
  EXPECT_TRUE(EnabledWhenOpened(tray, CommandId::kShowFolderWindow));
}

// The stop-pending wait must not freeze the windows: other events keep being
// served while it lasts.
TEST_F(ShellTest, TheStopPendingWaitLeavesTheWindowsResponsive) {
  WriteStartableSettings();
  auto shell = MakeShell(true, std::chrono::milliseconds(500));
  shell->StartUp();
  shell->Dispatch(CommandId::kStart);
  ASSERT_EQ(shell->Operation().State(), RunState::kRunning);
  shell->Dispatch(CommandId::kStop);

  QTimer heartbeat;
  auto last = std::chrono::steady_clock::now();
  std::chrono::steady_clock::duration longestGap{};
  QObject::connect(&heartbeat, &QTimer::timeout, [&] {
    const auto now = std::chrono::steady_clock::now();
    longestGap = std::max(longestGap, now - last);
    last = now;
  });
  heartbeat.start(20);
  EXPECT_TRUE(ServeEventsUntil([&] { return shell->Operation().State() == RunState::kStopped; }));
  // A wait that blocked would end with the stop itself, before another beat.
  longestGap = std::max(longestGap, std::chrono::steady_clock::now() - last);
  EXPECT_LT(longestGap, std::chrono::milliseconds(300));
}

TEST_F(ShellTest, AModalDialogDisablesEveryMenuItem) {
  auto shell = MakeShell();
  shell->StartUp();
  shell->Dispatch(CommandId::kShowJobWindow);
  QDialog dialog(&shell->Jobs());
  dialog.setModal(true);
  dialog.show();
  for (QAction* action : shell->Tray()->Menu().actions()) action->setEnabled(true);
  emit shell->Tray()->Menu().aboutToShow();
  for (QAction* action : shell->Tray()->Menu().actions()) {
    if (CommandOf(*action)) {
      EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    }
  }
  dialog.hide();
  EXPECT_TRUE(EnabledWhenOpened(shell->Tray()->Menu(), CommandId::kExit));
}

TEST_F(ShellTest, DeleteAsksAndRewritesInputIniOnlyOnYesWithARowSelected) {
  home.WriteIni("INPUT.INI",
                "[GLOBAL]\nNUM_INPUTS=\"2\"\n[INPUT_0]\nINPUT_DIR=\"/hot/a\"\nMEMO=\"first\"\n"
                "[INPUT_1]\nINPUT_DIR=\"/hot/b\"\nMEMO=\"second\"\n");
  auto shell = MakeShell();
  QTreeWidget& list = shell->Folders().List();
  ASSERT_EQ(list.topLevelItemCount(), 2);
  EXPECT_EQ(list.topLevelItem(1)->text(1).toStdString(), "second");

  list.setCurrentItem(list.topLevelItem(0));
  messages.answers = {false};
  shell->Dispatch(CommandId::kDeleteFolder);
  EXPECT_EQ(settings::LoadInputSettings(home.Path()).size(), 2u);

  messages.answers = {true};
  shell->Dispatch(CommandId::kDeleteFolder);
  const auto left = settings::LoadInputSettings(home.Path());
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].inputDir, "/hot/b");
  EXPECT_EQ(list.topLevelItemCount(), 1);

  list.clearSelection();
  messages.answers = {true};
  shell->Dispatch(CommandId::kDeleteFolder);
  EXPECT_EQ(settings::LoadInputSettings(home.Path()).size(), 1u);
  EXPECT_EQ(messages.questions.size(), 3u);
}

TEST_F(ShellTest, EditGoesThroughTheInputFolderDialogAndRewritesInputIniOnOk) {
  settings::PrinterSetting plotter;
  plotter.name = "plotter";
  plotter.ipAddr = {127, 0, 0, 1};
  ASSERT_TRUE(settings::SavePrinterSettings(home.Path(), {plotter}));
  home.WriteIni("INPUT.INI", "[GLOBAL]\nNUM_INPUTS=\"1\"\n[INPUT_0]\nINPUT_DIR=\"" + hot.Path().string() +
                                 "\"\nMEMO=\"first\"\nWIDE_PRINTER_NAME=\"plotter\"\n");
  auto shell = MakeShell();
  QTreeWidget& list = shell->Folders().List();
  list.setCurrentItem(list.topLevelItem(0));
  // The operator changes the memo and presses OK; a dialog that refuses is
  // cancelled, so the test cannot hang on it.
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    for (auto* edit : dialog->findChildren<QLineEdit*>()) {
      if (edit->text() == "first") edit->setText("changed");
    }
    dialog->accept();
    if (dialog->isVisible()) dialog->reject();
  });
  shell->Dispatch(CommandId::kEditFolder);

  const auto stored = settings::LoadInputSettings(home.Path());
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].memo, "changed") << (messages.warnings.empty() ? "" : messages.warnings[0]);
  EXPECT_EQ(list.topLevelItem(0)->text(1).toStdString(), "changed");
}

TEST_F(ShellTest, ExitStoresTheWindowAndWhetherToRunAtTheNextStart) {
  WriteStartableSettings();
  {
    auto shell = MakeShell();
    shell->StartUp();
    shell->Dispatch(CommandId::kShowFolderWindow);
    ASSERT_TRUE(Exit(*shell));
    EXPECT_FALSE(shell->Folders().isVisible());
  }
  EXPECT_EQ(settings::GetLastMainWindow(home.Path()), settings::kLastWindowFolderSettings);
  EXPECT_FALSE(settings::GetAutorun(home.Path()));

  {
    auto shell = MakeShell();
    shell->StartUp();  // shows the folder window again
    EXPECT_TRUE(shell->Folders().isVisible());
    shell->Dispatch(CommandId::kStart);  // and swaps it for the job window
    ASSERT_TRUE(Exit(*shell));
  }
  EXPECT_EQ(settings::GetLastMainWindow(home.Path()), settings::kLastWindowJob);
  EXPECT_TRUE(settings::GetAutorun(home.Path()));

  auto shell = MakeShell();
  shell->StartUp();
  EXPECT_EQ(shell->Operation().State(), RunState::kRunning);
  EXPECT_TRUE(shell->Jobs().isVisible());
}

TEST_F(ShellTest, WithoutATrayHostClosingMinimisesAndTheTitleShowsTheState) {
  auto shell = MakeShell(/*trayHost=*/false);
  settings::SetLastMainWindow(home.Path(), settings::kLastWindowNone);
  shell->StartUp();
  // No window was open at the last exit, yet the program stays in reach.
  EXPECT_TRUE(shell->Jobs().isVisible());
  EXPECT_TRUE(shell->Jobs().windowTitle().endsWith(QStringLiteral("停止中")));
  shell->Dispatch(CommandId::kShowJobWindow);
  shell->Jobs().close();  // answered no
  EXPECT_TRUE(shell->Jobs().isVisible());
  EXPECT_TRUE(shell->Jobs().isMinimized());
  // With the other window showing, hiding is safe.
  shell->Dispatch(CommandId::kShowFolderWindow);
  EXPECT_FALSE(shell->Jobs().isVisible());
  EXPECT_TRUE(shell->Folders().windowTitle().endsWith(QStringLiteral("停止中")));
}

TEST_F(ShellTest, PlacementAndColumnWidthsComeFromWindowIniAndGoBackOnHide) {
  settings::WindowState stored;
  stored.current = {40, 50, 420, 260};
  stored.normal = stored.current;
  settings::SaveWindowPlacement(home.Path(), settings::window_section::kJob, stored);
  settings::SaveColumnWidths(home.Path(), settings::window_section::kJob, {90, -1, 150, 170});
  auto shell = MakeShell();
  shell->Dispatch(CommandId::kShowJobWindow);
  EXPECT_EQ(shell->Jobs().geometry(), QRect(40, 50, 420, 260));
  QHeaderView& header = *shell->Jobs().List().header();
  EXPECT_EQ(header.sectionSize(0), 90);
  EXPECT_EQ(header.sectionSize(1), 200);  // not stored: the built-in width
  EXPECT_EQ(header.sectionSize(3), 170);

  shell->Jobs().setGeometry(60, 70, 500, 300);
  header.resizeSection(2, 111);
  shell->Dispatch(CommandId::kShowFolderWindow);  // hides the job window
  const auto restored =
      settings::RestoreWindowPlacement(home.Path(), settings::window_section::kJob, {0, 0, 1, 1},
                                       std::nullopt, {1, 1, 4000, 4000, {0, 0, 4000, 4000}});
  EXPECT_EQ(restored.rect, (settings::WindowRect{60, 70, 500, 300}));
  EXPECT_EQ(settings::RestoreColumnWidths(home.Path(), settings::window_section::kJob, 4)[2], 111);
}

TEST_F(ShellTest, ASecondStartBringsTheJobWindowOrTheShowingFolderWindowForward) {
  auto shell = MakeShell();
  HandOverServer server;
  const QString name = HandOverName(home.Path());
  ASSERT_TRUE(server.Listen(name));
  QObject::connect(&server, &HandOverServer::ShowRequested, shell.get(), &Shell::BringForward);
  const auto askFromAnotherThread = [&] {
    std::atomic<bool> answered = false;
    std::atomic<bool> done = false;
    std::thread second([&] {
      answered = AskFirstInstanceToShow(name);
      done = true;
    });
    const bool served = ServeEventsUntil([&] { return done.load(); });
    second.join();
    return served && answered;
  };
  ASSERT_TRUE(askFromAnotherThread());
  EXPECT_TRUE(shell->Jobs().isVisible());

  shell->Dispatch(CommandId::kShowFolderWindow);
  ASSERT_TRUE(askFromAnotherThread());
  EXPECT_TRUE(shell->Folders().isVisible());
  EXPECT_FALSE(shell->Jobs().isVisible());
}

TEST_F(ShellTest, HelpWithoutTheManualWarns) {
  auto shell = MakeShell();
  shell->Dispatch(CommandId::kHelp);
  EXPECT_EQ(
      messages.warnings,
      std::vector<std::string>{"ヘルプファイルが見つからないか、\nPDFを開くアプリケーションがありません。"});
}

}  // namespace
}  // namespace orvella::cli
