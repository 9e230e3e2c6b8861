// The shortcuts an installation leaves: the platform client on the desktop and in the start
// menu, and the featured game on the desktop with its own icon; and the game list (games.ini).
//
// Called once near the end of the installing task, on its thread. Failures are not reported to
// the caller: a shortcut that cannot be made never stops the installation, and each shortcut is
// attempted whatever happened to the others.
#pragma once

#include <string>

#include "workflow/tasks/install_context.h"

namespace qv::workflow {

// Shortcut file names and the start-menu sub-folder they live in.
inline constexpr std::u16string_view kPlatformShortcutName = u"QVorvane.lnk";
inline constexpr std::u16string_view kPlatformShortcutDescription = u"QVorvane";
inline constexpr std::u16string_view kStartMenuSubPath = u"/Programs/QVorvane/";
inline constexpr std::u16string_view kShortcutFileExtension = u".lnk";

// The desktop folder (platform/known_folders.h) followed by '/'.
std::u16string DesktopShortcutFolder();

// The desktop shortcut of the featured game: `game_name` + ".lnk" on the desktop, starting
// `target` in the target's folder with show command 5, its icon made from `png_path`
// (MakeIconFromPng; none when that gives empty text). An existing shortcut of that name is
// replaced. True when saved; a game name holding a character forbidden in file names fails.
bool CreateGameShortcut(const std::u16string& png_path, const std::u16string& target,
                        const std::u16string& game_name);

// Makes every shortcut and the game list for the context's record. The client's shortcuts point
// at the platform folder's client, also when an existing installation lives elsewhere. With a
// game id: the game shortcut (its icon from "<game id>/icon.png" in the game-bag folder, only
// when the id is a plain file-name component; otherwise no icon) and the games.ini writes. Then
// the desktop and start-menu shortcuts of the client.
void CreateShortcuts(const InstallContext& context);

}  // namespace qv::workflow
