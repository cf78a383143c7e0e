#include "app/web/web_routes.h"

#include <array>
#include <cctype>
#include <fstream>

#include "app/web/http_reply.h"
#include "base/file_io.h"
#include "base/ipv4_address.h"
#include "jobs/start_operation.h"
#include "logging/error_folder_reader.h"
#include "logging/job_log.h"
#include "logging/job_log_reader.h"
#include "settings/input_settings.h"
#include "settings/printer_models.h"
#include "settings/printer_settings.h"
#include "settings/program_folders.h"

namespace orvella::web {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kLogDays = 31;
constexpr std::size_t kErrorRecords = 200;
// The page shows the end of a day's log; the CSV download has all of it.
constexpr std::uintmax_t kLogTailBytes = 1024 * 1024;
constexpr std::size_t kMaxStaticFile = 1024 * 1024;
constexpr std::size_t kChunk = 64 * 1024;

struct StaticFile {
  const char* path;  // as requested
  const char* file;  // under web/ of the data folder
  const char* type;
};

constexpr std::array<StaticFile, 10> kStaticFiles{{
    {"/", "index.html", "text/html; charset=utf-8"},
    {"/static/page.js", "page.js", "text/javascript; charset=utf-8"},
    {"/static/page.css", "page.css", "text/css; charset=utf-8"},
    {"/static/icons/state_stopped.png", "icons/state_stopped.png", "image/png"},
    {"/static/icons/state_running.png", "icons/state_running.png", "image/png"},
    {"/static/icons/state_stop_pending.png", "icons/state_stop_pending.png", "image/png"},
    {"/static/icons/state_forced_stop_pending.png", "icons/state_forced_stop_pending.png", "image/png"},
    {"/static/icons/mark_done.png", "icons/mark_done.png", "image/png"},
    {"/static/icons/mark_in_progress.png", "icons/mark_in_progress.png", "image/png"},
    {"/static/icons/mark_failed.png", "icons/mark_failed.png", "image/png"},
}};

std::string EscapeRegex(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '.') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

// RFC 5987, for file names beyond ASCII.
std::string PercentEncode(const std::string& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const unsigned char c : text) {
    if (std::isalnum(c) || c == '.' || c == '-' || c == '_') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

// Streams the file, so a large log or drawing is never held in memory whole.
void SendFile(httplib::Response& res, const fs::path& path, const std::string& type,
              const std::string& name) {
  auto in = std::make_shared<std::ifstream>(path, std::ios::binary);
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  if (!*in || ec) return ReplyError(res, 404, "the file cannot be read");
  res.set_header("Content-Disposition",
                 "attachment; filename=\"download\"; filename*=UTF-8''" + PercentEncode(name));
  res.set_header("Cache-Control", "no-store");
  res.set_content_provider(static_cast<std::size_t>(size), type,
                           [in](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                             std::array<char, kChunk> buffer;
                             in->seekg(static_cast<std::streamoff>(offset));
                             in->read(buffer.data(), static_cast<std::streamsize>(std::min(length, kChunk)));
                             const auto got = static_cast<std::size_t>(in->gcount());
                             return got > 0 && sink.write(buffer.data(), got);
                           });
}

Json LogDayJson(const logging::LogDay& day) {
  return {{"date", day.date},
          {"size", day.size},
          {"json", "/api/logs/" + day.date},
          {"csv", "/api/logs/" + day.date + ".csv"}};
}

Json ErrorJson(const logging::ErrorFolder& record) {
  Json json{{"id", record.id},
            {"written", record.written},
            {"folder", record.folder},
            {"file", record.fileName},
            {"message", record.message},
            {"download", nullptr},
            {"detail", record.detail.empty() ? Json(nullptr) : Json(record.detail)}};
  if (!record.kept.empty()) json["download"] = "/api/errors/" + PercentEncode(record.id) + "/file";
  return json;
}

}  // namespace

void WebRoutes::Register(httplib::Server& server) {
  for (const StaticFile& file : kStaticFiles) {
    server.Get(EscapeRegex(file.path), [this, &file](const httplib::Request&, httplib::Response& res) {
      std::string bytes;
      const fs::path path =
          settings::FindDataFile(options_.program, options_.data, std::string("/web/") + file.file);
      if (base::ReadWholeFile(path, bytes, kMaxStaticFile) != base::ReadStatus::kOk)
        return ReplyError(res, 500, "the page's file " + path.string() + " cannot be read");
      // The page runs its own script: its policy replaces the one of every
      // other reply.
      res.headers.erase(kPolicyHeader);
      res.set_header(kPolicyHeader,
                     "default-src 'self'; img-src 'self'; style-src 'self'; script-src 'self'; "
                     "connect-src 'self'; frame-ancestors 'none'");
      res.set_content(bytes, file.type);
    });
  }
  server.Get("/api/state", [this](const httplib::Request&, httplib::Response& res) { State(res); });
  server.Get("/api/jobs", [this](const httplib::Request&, httplib::Response& res) { Jobs(res); });
  server.Get("/api/logs", [this](const httplib::Request&, httplib::Response& res) { Logs(res); });
  server.Get(R"(/api/logs/(\d{8}))", [this](const httplib::Request& req, httplib::Response& res) {
    Log(req.matches[1], false, res);
  });
  server.Get(R"(/api/logs/(\d{8})\.csv)",
             [this](const httplib::Request& req, httplib::Response& res) { Log(req.matches[1], true, res); });
  server.Get("/api/errors", [this](const httplib::Request&, httplib::Response& res) { Errors(res); });
  server.Get(R"(/api/errors/([^/]+)/file)",
             [this](const httplib::Request& req, httplib::Response& res) { ErrorFile(req.matches[1], res); });
  server.Get("/api/folders", [this](const httplib::Request&, httplib::Response& res) { Folders(res); });
  server.Get("/api/printers", [this](const httplib::Request&, httplib::Response& res) { Printers(res); });
  server.Post("/api/printers/check",
              [this](const httplib::Request& req, httplib::Response& res) { CheckPrinter(req, res); });
  server.Post("/api/start",
              [this](const httplib::Request&, httplib::Response& res) { Run(RunCommand::kStart, res); });
  server.Post("/api/stop",
              [this](const httplib::Request&, httplib::Response& res) { Run(RunCommand::kStop, res); });
}

void WebRoutes::State(httplib::Response& res) const {
  const auto board = board_.Snapshot();
  Json state = StateJson(board->state);
  state["address"] = options_.address.Text();
  state["network"] = !options_.address.Loopback();
  ReplyJson(res, 200, state);
}

void WebRoutes::Jobs(httplib::Response& res) const {
  const auto board = board_.Snapshot();
  ReplyJson(res, 200, Json{{"rows", RowsJson(*board)}, {"passed_over", PassedOverJson(*board)}});
}

void WebRoutes::Logs(httplib::Response& res) const {
  Json days = Json::array();
  for (const logging::LogDay& day : logging::ListLogDays(options_.program, kLogDays))
    days.push_back(LogDayJson(day));
  ReplyJson(res, 200, Json{{"days", days}});
}

void WebRoutes::Log(const std::string& date, bool csv, httplib::Response& res) const {
  const auto file = logging::FindLogDay(options_.program, date);
  if (!file) return ReplyError(res, 404, "no job log for " + date);
  if (csv) return SendFile(res, *file, "text/csv; charset=Shift_JIS", date + ".csv");
  const auto content = logging::ReadJobLog(*file, kLogTailBytes);
  if (!content) return ReplyError(res, 500, "the job log of " + date + " cannot be read");
  Json lines = Json::array();
  for (const logging::JobLogRecord& record : content->records) lines.push_back(record.Columns());
  ReplyJson(res, 200,
            Json{{"date", date},
                 {"header", logging::ParseJobLogRecord(logging::kJobLogHeader).Columns()},
                 {"lines", lines},
                 {"truncated", content->truncated},
                 {"csv", "/api/logs/" + date + ".csv"}});
}

void WebRoutes::Errors(httplib::Response& res) const {
  Json records = Json::array();
  for (const logging::ErrorFolder& record : logging::ListErrorFolders(options_.program, kErrorRecords))
    records.push_back(ErrorJson(record));
  ReplyJson(res, 200, Json{{"records", records}});
}

void WebRoutes::ErrorFile(const std::string& id, httplib::Response& res) const {
  const auto record = logging::FindErrorFolder(options_.program, id);
  if (!record || record->kept.empty()) return ReplyError(res, 404, "no kept file for that error record");
  SendFile(res, record->kept, "application/octet-stream", record->fileName);
}

// Each input folder with whether the scan can read it, so a folder that is
// missing (which stops nothing) is seen.
void WebRoutes::Folders(httplib::Response& res) const {
  const std::vector<settings::InputFolderSetting> inputs = settings::LoadInputSettings(options_.program);
  Json list = Json::array();
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const auto notice = jobs::InputFolderNotice(i, inputs[i]);
    list.push_back({{"path", inputs[i].inputDir},
                    {"memo", inputs[i].memo},
                    {"readable", !notice},
                    {"message", notice ? Json(notice->message) : Json(nullptr)},
                    {"detail", notice ? Json(notice->detail) : Json(nullptr)}});
  }
  ReplyJson(res, 200, Json{{"folders", list}});
}

void WebRoutes::Printers(httplib::Response& res) {
  const std::vector<settings::PrinterSetting> printers = settings::LoadPrinterSettings(options_.program);
  Json list = Json::array();
  std::lock_guard lock(lastChecksMutex_);
  for (const settings::PrinterSetting& printer : printers) {
    const auto model = settings::PrinterModelInfo(printer.model);
    const auto last = lastChecks_.find(printer.name);
    list.push_back({{"name", printer.name},
                    {"address", base::FormatIpv4Address(printer.ipAddr)},
                    {"model", model ? std::string(model->key) : ""},
                    {"last_check", last == lastChecks_.end() ? Json(nullptr) : last->second}});
  }
  ReplyJson(res, 200, Json{{"printers", list}});
}

void WebRoutes::CheckPrinter(const httplib::Request& req, httplib::Response& res) {
  const Json body = Json::parse(req.body, nullptr, false);
  if (!body.is_object() || !body.contains("name") || !body["name"].is_string())
    return ReplyError(res, 400, "expected {\"name\": PRINTER}");
  const std::string name = body["name"];
  std::unique_lock check(checkMutex_, std::try_to_lock);
  if (!check.owns_lock()) return ReplyError(res, 409, "another printer check is running");
  const auto result = options_.checkPrinter(name);
  if (!result) return ReplyError(res, 404, "no printer named '" + name + "' in PRINTER.INI");
  {
    std::lock_guard lock(lastChecksMutex_);
    lastChecks_[name] = *result;
  }
  ReplyJson(res, 200, *result);
}

void WebRoutes::Run(RunCommand command, httplib::Response& res) const {
  const auto result = options_.runCommand(command);
  if (!result) return ReplyError(res, 503, "the service did not carry out the command in time");
  Json body = StateJson(result->state);
  if (command == RunCommand::kStart) body["started"] = result->started;
  body["messages"] = result->messages;
  if (!result->detail.empty()) body["detail"] = result->detail;
  ReplyJson(res, result->refused ? 409 : 200, body);
}

}  // namespace orvella::web
