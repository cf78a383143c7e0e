#pragma once
// The process set-up main() does, run once by each test process's main before
// any test, and what it found.
#include "settings/program_folders.h"

namespace orvella::test {

// Runs cli::SetUpProcess once; the test mains call it first.
void SetUpTestProcess();

// The folders the set-up found: for a test binary in the build tree, the
// shipped data (Halftone/, web/) lies beside it.
const settings::ProcessFolders& ProcessFolders();

}  // namespace orvella::test
