#include <QComboBox>
#include <QRadioButton>
#include <QTreeWidget>

#include "dialog_fixture.h"
#include "dialogs/authentication_dialog.h"
#include "dialogs/printer_edit_dialog.h"
#include "dialogs/printer_list_dialog.h"
#include "settings/printer_settings.h"
#include "settings/validation.h"
#include "settings/window_settings.h"

namespace orvella::dialogs::test {
namespace {

using settings::PrinterSetting;

PrinterSetting Printer(const std::string& name, const std::string& address) {
  PrinterSetting printer;
  printer.name = name;
  printer.ipAddr = base::ParseIpv4Address(address);
  return printer;
}

class PrinterDialogsTest : public ::testing::Test {
 protected:
  orvella::test::SettingsHome home;
  RecordingMessages messages;
};

TEST_F(PrinterDialogsTest, FailedCheckShowsItsMessageAndFocusesItsField) {
  const std::vector<PrinterSetting> list{Printer("wide", "192.168.0.10"), Printer("a2", "192.168.0.11")};
  struct Case {
    std::string name, address, message;
    const char* field;
  };
  const Case cases[] = {
      {"  ", "192.168.0.20", "プリンタ設定名称を入力してください。", "name"},
      {"名前\u00e9", "192.168.0.20", *settings::CheckStorableText("\u00e9"), "name"},
      {"new", "0.0.0.0", "IPアドレスが正しくありません。", "ipAddr"},
      {"new", "192.168.0.11", "入力されたIPアドレスは既に登録されています。", "ipAddr"},
      {" wide ", "192.168.0.20", std::string(settings::kSettingNameTaken), "name"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name + " " + c.address);
    messages.warnings.clear();
    PrinterEditDialog dialog(nullptr, home.Path(), messages, PrinterSetting{}, list, std::nullopt);
    ShowActive(dialog);
    SetText(dialog, "name", c.name);
    SetText(dialog, "ipAddr", c.address);
    dialog.accept();
    ExpectFieldFailure(dialog, messages, c.message, c.field);
  }
}

TEST_F(PrinterDialogsTest, EditingARecordPassesItsOwnNameAndAddress) {
  const std::vector<PrinterSetting> list{Printer("wide", "192.168.0.10")};
  PrinterEditDialog dialog(nullptr, home.Path(), messages, list[0], list, 0);
  ShowActive(dialog);
  dialog.accept();
  EXPECT_TRUE(messages.warnings.empty());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(PrinterDialogsTest, AuthenticationKeepsTheLoginWhateverTheMode) {
  PrinterSetting printer = Printer("p", "127.0.0.1");
  AuthenticationDialog dialog(nullptr, printer);
  EXPECT_FALSE(Child<QLineEdit>(dialog, "loginUsername")->isEnabled());
  Child<QRadioButton>(dialog, "basic")->setChecked(true);
  EXPECT_TRUE(Child<QLineEdit>(dialog, "loginPassword")->isEnabled());
  EXPECT_EQ(Child<QLineEdit>(dialog, "loginPassword")->echoMode(), QLineEdit::Password);
  SetText(dialog, "loginUsername", "operator");
  SetText(dialog, "loginPassword", "secret");
  Screenshot(dialog, "authentication");
  Child<QRadioButton>(dialog, "none")->setChecked(true);
  dialog.StoreInto(printer);
  EXPECT_EQ(printer.authenticationMode, settings::AuthenticationMode::kNone);
  EXPECT_EQ(printer.loginUsername, "operator");
  EXPECT_EQ(printer.loginPassword, "secret");
}

// The list with the real edit dialog driven by the test in place of the operator.
class PrinterListTest : public PrinterDialogsTest {
 protected:
  PrinterEditor Fill(std::function<void(PrinterEditDialog&)> fill) {
    return [this, fill](QWidget* parent, PrinterSetting& printer, const std::vector<PrinterSetting>& list,
                        std::optional<size_t> index) {
      PrinterEditDialog dialog(parent, home.Path(), messages, printer, list, index);
      fill(dialog);
      Screenshot(dialog, "printer_edit");
      dialog.accept();
      if (dialog.result() != QDialog::Accepted) return false;
      printer = dialog.Result();
      return true;
    };
  }
};

TEST_F(PrinterListTest, NewAndEditWriteTheFile) {
  PrinterListDialog dialog(nullptr, home.Path(), messages, Fill([](PrinterEditDialog& edit) {
                             SetText(edit, "name", "  A2 room ");
                             SetText(edit, "ipAddr", "127.0.0.5");
                             Child<QRadioButton>(edit, "a2Class")->setChecked(true);
                             SetText(edit, "a2PrinterName", "Model 27");
                           }));
  ASSERT_TRUE(dialog.Loaded());
  dialog.New();
  auto saved = settings::LoadPrinterSettings(home.Path());
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(saved[0].name, "A2 room");
  EXPECT_EQ(base::FormatIpv4Address(saved[0].ipAddr), "127.0.0.5");
  EXPECT_EQ(saved[0].model, settings::kA2ModelNumber);
  EXPECT_EQ(saved[0].a2PrinterName, "Model 27");
  EXPECT_EQ(dialog.list()->topLevelItem(0)->text(1), "Model 27");

  PrinterListDialog again(nullptr, home.Path(), messages, Fill([](PrinterEditDialog& edit) {
                            Child<QRadioButton>(edit, "wideClass")->setChecked(true);
                            Child<QComboBox>(edit, "model")->setCurrentIndex(settings::kModel02Number);
                          }));
  ASSERT_EQ(again.list()->topLevelItemCount(), 1);
  again.Edit(0);
  saved = settings::LoadPrinterSettings(home.Path());
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(saved[0].model, settings::kModel02Number);
  EXPECT_EQ(again.list()->topLevelItem(0)->text(1), "Model 02");
  EXPECT_TRUE(messages.warnings.empty());
  Screenshot(again, "printer_list");
}

TEST_F(PrinterListTest, DeletingAUsedPrinterAsksWithTheFolderAndKeepsTheReference) {
  ASSERT_TRUE(
      settings::SavePrinterSettings(home.Path(), {Printer("p1", "127.0.0.1"), Printer("p2", "127.0.0.2")}));
  home.WriteIni("INPUT.INI",
                "[GLOBAL]\nNUM_INPUTS=\"1\"\n[INPUT_0]\nINPUT_DIR=\"/hot/a\"\nWIDE_PRINTER_NAME=\"p2\"\n");
  PrinterListDialog dialog(nullptr, home.Path(), messages);

  messages.answer = false;
  dialog.Delete(1);
  EXPECT_EQ(settings::LoadPrinterSettings(home.Path()).size(), 2u);

  messages.answer = true;
  dialog.Delete(1);
  ASSERT_EQ(messages.questions.size(), 2u);
  EXPECT_EQ(messages.questions[1],
            "選択されたプリンタ設定を削除します。よろしいですか？\nこの設定は入力フォルダ \"/hot/a\" "
            "で使用されています。");
  const auto saved = settings::LoadPrinterSettings(home.Path());
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(saved[0].name, "p1");
  EXPECT_EQ(dialog.list()->topLevelItemCount(), 1);
  EXPECT_EQ(settings::LoadInputSettings(home.Path())[0].widePrinterName, "p2");

  dialog.Delete(0);
  EXPECT_EQ(messages.questions.back(), "選択されたプリンタ設定を削除します。\nよろしいですか？");
}

TEST_F(PrinterListTest, AFailedSaveIsReportedAndTheListKeepsTheChange) {
  PrinterListDialog dialog(nullptr, home.Path(), messages, Fill([](PrinterEditDialog& edit) {
                             SetText(edit, "name", "p");
                             SetText(edit, "ipAddr", "127.0.0.9");
                           }));
  // A folder where the file belongs: the write cannot replace it.
  std::filesystem::create_directories(home.Ini("PRINTER.INI") / "x");
  dialog.New();
  EXPECT_EQ(messages.warnings, std::vector<std::string>{"プリンタ設定の保存に失敗しました。"});
  EXPECT_EQ(dialog.list()->topLevelItemCount(), 1);
}

TEST_F(PrinterListTest, ClosingRemembersThePositionAndTheColumnWidths) {
  {
    PrinterListDialog dialog(nullptr, home.Path(), messages);
    dialog.show();
    dialog.move(40, 30);
    dialog.list()->setColumnWidth(0, 150);
    dialog.reject();
  }
  const std::vector<int> widths =
      settings::RestoreColumnWidths(home.Path(), settings::window_section::kPrinterList, 2);
  ASSERT_EQ(widths.size(), 2u);
  EXPECT_EQ(widths[0], 150);
  EXPECT_GT(widths[1], 0);  // the last column fills the list
  const std::string window = home.ReadIni("WINDOW.INI");
  EXPECT_NE(window.find("[PRINTERLIST_WIN]"), std::string::npos) << window;
  PrinterListDialog again(nullptr, home.Path(), messages);
  EXPECT_EQ(again.list()->columnWidth(0), 150);
}

}  // namespace
}  // namespace orvella::dialogs::test
