#include "support/process_setup.h"

#include "app/setup/process_setup.h"

namespace orvella::test {
namespace {

settings::ProcessFolders& Folders() {
  static settings::ProcessFolders folders;
  return folders;
}

}  // namespace

void SetUpTestProcess() { Folders() = cli::SetUpProcess(); }

const settings::ProcessFolders& ProcessFolders() { return Folders(); }

}  // namespace orvella::test
