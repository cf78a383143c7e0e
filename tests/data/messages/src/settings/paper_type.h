// Names of choices: none of them is a message.
inline constexpr Name kPaperTypes[] = {{"PLAIN", "普通紙"}, {"OTHER", "普通紙以外"}};
