// Gives the calling process (and every process it starts afterwards) a mount namespace of its
// own in which `folder` shows the contents of `private_folder` instead. An end-to-end run makes
// its service's certificates in the demo PKI folder the installer was built to trust; in its own
// view of that folder it never replaces the certificates a running demo depends on. Needs
// CAP_SYS_ADMIN (root); call it once, on the test's main thread, before starting any process.
#pragma once

#include <string>

namespace qv::test {

// False, with the reason, when the namespace could not be made or the folder not covered.
// Creates both folders when missing.
bool EnterOwnViewOfFolder(const std::string& folder, const std::string& private_folder,
                          std::string& why_not);

}  // namespace qv::test
