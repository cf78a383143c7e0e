#pragma once
// The texts the windows, menus and message boxes show, in one place.

#include "dialogs/dialog_messages.h"

namespace orvella::cli::gui_text {

inline constexpr const char* kMessageTitle = "Orvella";
inline constexpr const char* kProductName = "Bramlow Orvella";

inline constexpr const char* kJobWindowTitle = "Bramlow Orvella　ログ画面";
inline constexpr const char* kJobWindowTitleUnsupportedGl = "Bramlow Orvella＊ログ画面";
inline constexpr const char* kFolderWindowTitle = "Bramlow Orvella　フォルダ設定一覧";
inline constexpr const char* kFolderWindowTitleUnsupportedGl = "Bramlow Orvella＊フォルダ設定一覧";
inline constexpr const char* kTrayTip = "Bramlow Orvella";

// Menus.
inline constexpr const char* kFileMenu = "ファイル(&F)";
inline constexpr const char* kToolMenu = "出図ツール(&F)";
inline constexpr const char* kRunMenu = "稼動(&A)";
inline constexpr const char* kHelpMenu = "ヘルプ(&H)";
inline constexpr const char* kTrayMenu = "タスクトレイ　メニュー";

// Menu items.
inline constexpr const char* kPreference = "環境設定(&N)...";
inline constexpr const char* kNewFolder = "新規フォルダ設定(&I)...";
inline constexpr const char* kEditFolder = "フォルダ設定編集(&E)...";
inline constexpr const char* kDeleteFolder = "フォルダ設定削除(&D)";
inline constexpr const char* kPrinters = "プリンタ設定(&P)...";
inline constexpr const char* kStamps = "スタンプ設定(&S)...";
inline constexpr const char* kFolds = "紙折設定(&F)...";
inline constexpr const char* kClose = "閉じる(&C)";
inline constexpr const char* kHelp = "ヘルプ(&H)...\tF1";
inline constexpr const char* kVersion = "バージョン情報(&A)...";
inline constexpr const char* kExit = "終了(&X)";
inline constexpr const char* kStart = "開始(&B)";
inline constexpr const char* kStartLong = "稼動開始(&B)";
inline constexpr const char* kStop = "停止(&E)";
inline constexpr const char* kStopLong = "稼動停止(&E)";
inline constexpr const char* kShowFolderWindowDialog = "フォルダ設定画面(&F)...";
inline constexpr const char* kShowFolderWindow = "フォルダ設定画面(&F)";
inline constexpr const char* kShowJobWindow = "ログ画面(&L)";

// Buttons of the folder settings window.
inline constexpr const char* kNewButton = "新規";
inline constexpr const char* kEditButton = "編集";
inline constexpr const char* kDeleteButton = "削除";
inline constexpr const char* kCloseButton = "閉じる";

// List columns.
inline constexpr const char* kInputFolderColumn = "入力フォルダ";
inline constexpr const char* kMemoColumn = "説明";
inline constexpr const char* kAddedColumn = "受付時刻";
inline constexpr const char* kFileNameColumn = "ファイル名";
inline constexpr const char* kFolderColumn = "フォルダ";
inline constexpr const char* kStatusColumn = "状態";

// Messages.
inline constexpr const char* kDeleteQuestion = "選択されたフォルダ設定を削除します。\nよろしいですか？";
inline constexpr const char* kHelpFailed =
    "ヘルプファイルが見つからないか、\nPDFを開くアプリケーションがありません。";
inline constexpr const char* kHelpFile = "OrvellaUM.pdf";
inline constexpr const char* kUnexpectedError = "エラーが発生しました。アプリケーションを終了します。\n";
inline constexpr const char* kDetailHeading = dialogs::kDetailHeading;
inline constexpr const char* kWindowCreationFailed =
    "ウィンドウ作成時にエラーが発生しました。アプリケーションを終了します。";
// The single-instance lock could not even be tried (no second start).
inline constexpr const char* kInstanceLockFailed =
    "二重起動の確認ができませんでした。アプリケーションを終了します。";
inline constexpr const char* kHandOverFailed =
    "ウィンドウハンドル登録時にエラーが発生しました。アプリケーションを終了します。";
inline constexpr const char* kVersionTitle = "バージョン情報";

}  // namespace orvella::cli::gui_text
