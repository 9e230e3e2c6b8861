// The program's one controller, set up with what only the program has: its embedded resources.
// A file of its own so that tests, which make controllers of their own, need no resource table.
#include "controller/message_context_delegate_downloader.h"
#include "platform/resources.h"

namespace qv::controller {
namespace {

// The program icon's pictures in resources/manifest.txt: 256 and 16 pixels across.
constexpr int kLargeIconResource = 107;
constexpr int kSmallIconResource = 108;

ControllerSetup ProgramSetup() {
  ControllerSetup setup;
  setup.installing.program_icons = {platform::FindResource(kLargeIconResource),
                                    platform::FindResource(kSmallIconResource)};
  return setup;
}

}  // namespace

MessageContextDelegateDownloader& MessageContextDelegateDownloader::Instance() {
  // Never destroyed: a worker abandoned at exit may still report through it.
  static auto* const instance = new MessageContextDelegateDownloader(ProgramSetup());
  return *instance;
}

}  // namespace qv::controller
