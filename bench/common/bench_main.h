#pragma once
// The one main of the benchmark programs. Each program prints its figures in
// run mode; a program that measures its steps as child processes of itself
// (see child_measure.h) names the step and the main dispatches it.
//   PROGRAM run PAGES OUTDIR [REPEATS]   one line per figure, the best of
//                                        REPEATS runs (default 3)
//   PROGRAM STEP ARGS...                 one step, as a measured child
#include <string>
#include <vector>

namespace orvella::bench {

struct RunArgs {
  std::string self;    // this program, to start the steps with
  std::string pages;   // the benchmark pages (bench/make-pages)
  std::string outDir;  // scratch folder for what the steps write
  int repeats = 3;
};

struct BenchProgram {
  const char* name;
  int (*run)(const RunArgs& args);
  // The child step, or none: its word, the usage of its arguments and their count.
  const char* step = nullptr;
  const char* stepUsage = "";
  size_t stepArgCount = 0;
  int (*runStep)(const std::vector<std::string>& args) = nullptr;
};

// Each benchmark program defines its own.
extern const BenchProgram kProgram;

}  // namespace orvella::bench
