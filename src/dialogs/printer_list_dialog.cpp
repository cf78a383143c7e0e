#include "dialogs/printer_list_dialog.h"

#include <QPushButton>
#include <QTreeWidget>
#include <utility>

#include "dialogs/delete_question.h"
#include "dialogs/dialog_messages.h"
#include "dialogs/printer_check_text.h"
#include "dialogs/printer_edit_dialog.h"
#include "dialogs/qt_text.h"
#include "settings/settings_error.h"
#include "settings/window_settings.h"

namespace orvella::dialogs {
namespace {

using settings::PrinterSetting;

constexpr const char* kLoadFailed = "プリンタ設定の読み込みに失敗しました。";
constexpr const char* kSaveFailed = "プリンタ設定の保存に失敗しました。";
constexpr const char* kDeleteUsed =
    "選択されたプリンタ設定を削除します。よろしいですか？\nこの設定は入力フォルダ \"%s\" "
    "で使用されています。";
constexpr const char* kDelete = "選択されたプリンタ設定を削除します。\nよろしいですか？";

// The catalogue name of a wide model, the free-text model of an A2 printer.
QString ModelText(const PrinterSetting& printer) {
  if (!settings::IsWidePrinter(printer)) return ToQ(printer.a2PrinterName);
  return ToQ(settings::kPrinterModels[static_cast<size_t>(printer.model)].displayName);
}

}  // namespace

PrinterListDialog::PrinterListDialog(QWidget* parent, const std::filesystem::path& program,
                                     DialogMessages& messages, PrinterEditor editor)
    : EditableRecordList(parent, program, std::string(settings::window_section::kPrinterList), "プリンタ一覧",
                         {"設定名称", "機種"}, std::move(editor)),
      messages_(messages),
      check_(new QPushButton("チェック", this)) {
  check_->setObjectName("check");
  AddButton(check_);
  connect(check_, &QPushButton::clicked, this, [this] {
    if (SelectedRow() >= 0) Check(SelectedRow());
  });
  connect(list(), &QTreeWidget::itemSelectionChanged, this, [this] { UpdateCheckButton(); });
  UpdateCheckButton();
  if (!editor_) {
    editor_ = [this](QWidget* owner, PrinterSetting& printer, const std::vector<PrinterSetting>& list,
                     std::optional<size_t> index) {
      return EditPrinter(owner, this->program(), messages_, printer, list, index);
    };
  }
  list()->setColumnWidth(0, 180);
  list()->setColumnWidth(1, 120);
  RestoreLayout();
  try {
    Take(settings::LoadPrinterSettings(program));
  } catch (const settings::SettingsError&) {
    messages_.Warning(kLoadFailed);
  }
}

PrinterListDialog::~PrinterListDialog() {
  if (checker_.joinable()) checker_.join();
}

void PrinterListDialog::ShowRow(int row) {
  const PrinterSetting& printer = records_[static_cast<size_t>(row)];
  SetRow(row, {ToQ(printer.name), ModelText(printer)});
}

void PrinterListDialog::Save() {
  bool saved = false;
  try {
    saved = settings::SavePrinterSettings(program(), records_);
  } catch (const settings::SettingsError&) {
  }
  if (!saved) messages_.Warning(kSaveFailed);
}

bool PrinterListDialog::ConfirmDelete(const std::string& name) {
  return messages_.Question(
      DeleteQuestion(program(), name, settings::FindInputByPrinter, kDelete, kDeleteUsed));
}

void PrinterListDialog::Check(int row) {
  printer::PrinterCheckContext context;
  try {
    context = printer::LoadPrinterCheckContext(program());
  } catch (const settings::SettingsError& e) {
    messages_.Warning(e.what());
    return;
  }
  check_->setEnabled(false);
  checker_ = std::thread([this, printer = records_[static_cast<size_t>(row)], context = std::move(context)] {
    const printer::PrinterCheck check = printer::CheckPrinter(printer, context);
    // Queued to the window's thread; the destructor joins this thread first.
    QMetaObject::invokeMethod(
        this, [this, check] { ShowCheck(check); }, Qt::QueuedConnection);
  });
}

void PrinterListDialog::ShowCheck(const printer::PrinterCheck& check) {
  checker_.join();
  UpdateCheckButton();
  if (check.Fit())
    messages_.Information(PrinterCheckText(check));
  else
    messages_.Warning(PrinterCheckText(check));
}

void PrinterListDialog::UpdateCheckButton() {
  check_->setEnabled(SelectedRow() >= 0 && !checker_.joinable());
}

void ShowPrinterList(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages) {
  PrinterListDialog dialog(parent, program, messages);
  if (dialog.Loaded()) dialog.exec();
}

}  // namespace orvella::dialogs
