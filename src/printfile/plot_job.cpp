#include "printfile/plot_job.h"

#include "base/fixed_format.h"
#include "printfile/fold_commands.h"
#include "printfile/job_option_checks.h"
#include "printfile/pjl_bytes.h"
#include "printfile/print_file_writer.h"

namespace orvella::printfile {

std::string BuildPlotJobHeader(const PlotJobOptions& o) {
  using base::FormatFixed;
  std::string h(kUniversalExit);
  h += "@PJL\r\n@PJL JOB\n@PJL SET USERID=\"DEFAULT\"\n";
  AppendFoldCommands(h, o.foldType, o.foldMargin);
  h += "@PJL SET COPIERSTAMP=OFF\n@PJL ENTER LANGUAGE=GL2\r\n";
  if (o.programNumber != 0) {
    h += "\x1b\x12!0@P" + std::to_string(o.programNumber) + "\x1b ";
  } else {
    h += "\x1b\x12!-1,1,2@GL2\x1b ";
  }
  if (o.rollFlag != 0) {
    h += "\x1b\x12?5" + std::to_string(o.paperWidth) + "," + std::to_string(o.paperHeight) + ",R\x1b ";
  }
  h += "MS-1,6,2;MS-1,18,2;MS-1,24," + std::to_string(o.trayNumber) + ";MS-1,43,1;MS-1,23,3;";
  h += "MS-1,20," + base::FormatFixed(o.scale, 1) + ";";
  h += "MS-1,21," + base::FormatFixed(o.firstScale, 2) + ";";
  h += "MS-1,22," + base::FormatFixed(o.secondScale, 2) + ";";
  h += "MS-1,47,1;";
  return h;
}

bool WritePlotJob(const std::filesystem::path& plot, const std::filesystem::path& output,
                  const PlotJobOptions& options, std::string* detail) {
  if (const auto refused = CheckPlotJobOptions(options)) {
    if (detail) *detail = *refused;
    return false;
  }
  PrintFileWriter out;
  bool written = out.Create(output) && out.Write(BuildPlotJobHeader(options)) && out.Copy(plot) &&
                 out.Write(kPlotPartEnd);
  for (const auto& stamp : options.stampFiles) {
    if (written && !stamp.empty()) written = out.Copy(stamp) && out.Write(kPlotPartEnd);
  }
  written = written && out.Write(kJobTrailer);
  return out.Finish(written, detail);
}

}  // namespace orvella::printfile
