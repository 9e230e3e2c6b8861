// What the user interface tests of both programs share: game records, files written whole, and
// a delegate that counts the progress view's requests.
#pragma once

#include <string>
#include <string_view>

#include "ui/core/client_view.h"
#include "workflow/packages/install_record.h"

namespace qv::ui::test {

class CountingDelegate : public ClientView::Delegate {
 public:
  int quits = 0;
  int no_connection_reports = 0;
  void Quit() override { ++quits; }
  void ReportNoConnection() override { ++no_connection_reports; }
};

// Writes `bytes` to the file at `path` (its folder must exist).
void WriteBytes(const std::string& path, std::string_view bytes);

// A GameInfo with the given texts.
workflow::GameInfo MakeGame(const std::string& name, const std::string& id = "1001",
                            const std::string& server_id = "", const std::string& desc = "");

}  // namespace qv::ui::test
