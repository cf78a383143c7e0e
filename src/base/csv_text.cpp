#include "base/csv_text.h"

namespace orvella::base {
namespace {

using State = CsvBoundaryFinder::State;

enum class Action { kNone, kAppend, kEndField, kEndRecord };

struct Step {
  State next;
  Action action;
};

// One character of CSV: where it leads and what it does to the field.
Step Next(State state, char c) {
  switch (state) {
    case State::kQuoted:
      return c == '"' ? Step{State::kQuoteInQuoted, Action::kNone} : Step{State::kQuoted, Action::kAppend};
    case State::kQuoteInQuoted:
      if (c == '"') return {State::kQuoted, Action::kAppend};  // a doubled quote
      break;
    case State::kFieldStart:
      if (c == '"') return {State::kQuoted, Action::kNone};
      break;
    case State::kUnquoted:
      break;
  }
  if (c == ',') return {State::kFieldStart, Action::kEndField};
  if (c == '\n') return {State::kFieldStart, Action::kEndRecord};
  return {State::kUnquoted, Action::kAppend};
}

}  // namespace

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

std::vector<CsvRecord> SplitCsvRecords(std::string_view text) {
  std::vector<CsvRecord> records;
  CsvRecord record;
  std::string field;
  State state = State::kFieldStart;
  bool endsInLineEndCr = false;  // the field's last character is a CR outside quotes
  const auto endRecord = [&] {
    // The CR of a CRLF line end came in as a character of the last field.
    if (endsInLineEndCr) field.pop_back();
    if (!record.empty() || !field.empty()) {
      record.push_back(std::move(field));
      records.push_back(std::move(record));
    }
    record.clear();
    field.clear();
    endsInLineEndCr = false;
  };
  for (const char c : text) {
    const Step step = Next(state, c);
    state = step.next;
    switch (step.action) {
      case Action::kNone:
        endsInLineEndCr = false;
        break;
      case Action::kAppend:
        field += c;
        endsInLineEndCr = c == '\r' && state == State::kUnquoted;
        break;
      case Action::kEndField:
        record.push_back(std::move(field));
        field.clear();
        endsInLineEndCr = false;
        break;
      case Action::kEndRecord:
        endRecord();
        break;
    }
  }
  endRecord();
  return records;
}

std::size_t CsvBoundaryFinder::Feed(std::string_view piece) {
  std::size_t first = std::string_view::npos;
  for (std::size_t i = 0; i < piece.size(); ++i) {
    const Step step = Next(state_, piece[i]);
    state_ = step.next;
    if (step.action == Action::kEndRecord && first == std::string_view::npos) first = i + 1;
  }
  return first;
}

}  // namespace orvella::base
