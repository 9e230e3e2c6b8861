// The argument line the installed client is started with: the featured game to open (its name
// Base64-encoded, its id), the package code the installer was distributed as, and where the
// user came from. Pure function of the record; any thread.
#pragma once

#include <string>
#include <string_view>

#include "workflow/packages/install_record.h"

namespace qv::workflow {

// " /startgame=<name>" when the game has a name, " /game_id=<id>" when it has an id,
// " /flag=<code>" when the code is not empty, and always " /user_frome=<user_from>".
std::u16string BuildLaunchArguments(const InstallRecord& record, std::string_view code);

}  // namespace qv::workflow
