#include "jobs/unit_conversion.h"

namespace orvella::jobs {

bool IsWholeFileJob(const ConversionEnvironment&, const CurrentJob&, double, double, int) { return false; }

bool ConvertWholeFile(const ConversionEnvironment&, CurrentJob&, const std::filesystem::path&,
                      const std::filesystem::path&, int, base::Failure& failure, bool&) {
  failure = {"未実装", "not built yet"};
  return false;
}

bool ConvertPage(const ConversionEnvironment&, CurrentJob&, const std::filesystem::path&, int,
                 const std::filesystem::path&, base::Failure& failure, bool&) {
  failure = {"未実装", "not built yet"};
  return false;
}

bool ConvertPlot(const ConversionEnvironment&, CurrentJob&, const std::filesystem::path&,
                 const std::filesystem::path&, base::Failure& failure, bool&) {
  failure = {"未実装", "not built yet"};
  return false;
}

}  // namespace orvella::jobs
