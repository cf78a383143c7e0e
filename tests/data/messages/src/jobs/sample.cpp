// Each kind of text the message list must take or leave.
// "コメントの中の文字列" is no message.
namespace sample {

constexpr const char* kTaken = "ファイル読み込みエラー";
constexpr char kPrefix[] = "プリンタエラー(";
/* "ブロックコメント" */
constexpr const char* kLines =
    "削除します。\r\n"
    "よろしいですか？";
constexpr Choice kRotations[] = {{0, "回転なし"}, {1, "右90度"}};

std::string Built(const std::string& name, int pages) {
  setWindowTitle("入力設定");
  auto* box = new QCheckBox("自動回転", this);
  Warning(Format("部数は%d～%dで指定してください。", 1, 999));
  std::string text = "スタンプ画像の生成エラー[" + name + "]";
  return std::string("ページ") + std::to_string(pages) + "枚目の変換エラー";
}

}  // namespace sample
