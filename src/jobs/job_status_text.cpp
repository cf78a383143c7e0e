#include "jobs/job_status_text.h"

#include <array>
#include <vector>

namespace orvella::jobs {
namespace {

// Which counters fill a format's %d fields, in order.
enum class Args { kCopiesPages, kCopiesCopiesPagesPages, kCopyCopiesPagePages, kCopyCopies };

struct Format {
  const char* text;  // %s is the message, each %d the next counter
  Args args;
};

using A = Args;
// Rows: unit; columns: step. A whole file keeps its row text while converting.
constexpr std::array<std::array<Format, kUnitStepCount>, kWorkUnitCount> kFormats{{
    {{{"部数%d/ ページ%d", A::kCopiesPages},
      {"部数%d/ ページ%d", A::kCopiesPages},
      {"転送中(部数%d ページ%d)", A::kCopiesPages},
      {"出力済(部数%d/%d ページ%d/%d)", A::kCopiesCopiesPagesPages},
      {"中止(部数%d ページ%d)", A::kCopiesPages},
      {"%s(部数%d ページ%d)", A::kCopiesPages}}},
    {{{"部数%d/%d ページ%d/%d", A::kCopyCopiesPagePages},
      {"変換中(部数%d/%d ページ%d/%d)", A::kCopyCopiesPagePages},
      {"転送中(部数%d/%d ページ%d/%d)", A::kCopyCopiesPagePages},
      {"出力済(部数%d/%d ページ%d/%d)", A::kCopyCopiesPagePages},
      {"中止(部数%d/%d ページ%d/%d)", A::kCopyCopiesPagePages},
      {"%s(部数%d/%d ページ%d/%d)", A::kCopyCopiesPagePages}}},
    {{{"部数%d/%d", A::kCopyCopies},
      {"変換中(部数%d/%d)", A::kCopyCopies},
      {"転送中(部数%d/%d)", A::kCopyCopies},
      {"出力済(部数%d/%d)", A::kCopyCopies},
      {"中止(部数%d/%d)", A::kCopyCopies},
      {"%s(部数%d/%d)", A::kCopyCopies}}},
}};

std::vector<int> Values(Args args, const UnitCounters& c) {
  switch (args) {
    case Args::kCopiesPages:
      return {c.copies, c.pages};
    case Args::kCopiesCopiesPagesPages:
      return {c.copies, c.copies, c.pages, c.pages};
    case Args::kCopyCopiesPagePages:
      return {c.copy, c.copies, c.page, c.pages};
    case Args::kCopyCopies:
      return {c.copy, c.copies};
  }
  return {};
}

}  // namespace

std::string JobStatusText(WorkUnit unit, UnitStep step, const UnitCounters& counters,
                          std::string_view message) {
  const Format& format = kFormats[static_cast<int>(unit)][static_cast<int>(step)];
  const std::vector<int> values = Values(format.args, counters);
  // Our own formats only ever hold %s and %d; the message is copied, never
  // read as a format.
  std::string text;
  size_t next = 0;
  for (const char* p = format.text; *p != '\0'; ++p) {
    if (p[0] == '%' && p[1] == 's') {
      text += message;
      ++p;
    } else if (p[0] == '%' && p[1] == 'd') {
      text += next < values.size() ? std::to_string(values[next++]) : std::string();
      ++p;
    } else {
      text += *p;
    }
  }
  return text;
}

}  // namespace orvella::jobs
