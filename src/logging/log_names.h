#pragma once
// The names the logs are written under (job_log.h, error_record.h), as their
// readers recognise them.
#include <string_view>

namespace orvella::logging {

// "YYYYMMDD": eight digits.
bool IsLogDate(std::string_view date);

// "YYYYMMDD.csv", a daily job log in LOG.
bool IsDailyLogName(std::string_view name);

// "YYYYMMDD_HHMMSS_<file>", an error folder in ERROR.
bool IsErrorFolderName(std::string_view name);

}  // namespace orvella::logging
