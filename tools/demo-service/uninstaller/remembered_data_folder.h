// The data folder the installer remembered (dl_path of its config.ini), or empty text.
#pragma once

#include <string>

namespace qv::demo {

std::u16string RememberedDataFolder();

}  // namespace qv::demo
