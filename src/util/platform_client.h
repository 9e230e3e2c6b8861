// What the platform client and the archives it comes in must provide, in one place.
//
// The client, its uninstaller, its companion processes and the archives are made elsewhere; the
// installer only places, registers, starts and stops them by these names. File names are matched
// on disk without regard to letter case (platform/path_resolution.h); process names exactly.
#pragma once

#include <array>
#include <string_view>

namespace qv::util {

// In the platform folder after the platform archive is unpacked; both present mark an existing
// installation.
inline constexpr std::u16string_view kClientExecutable = u"QVorvane.exe";
inline constexpr std::u16string_view kUninstallerExecutable = u"uninstall.exe";

// The client's processes, closed by image name before a fresh installation.
inline constexpr std::array<std::u16string_view, 6> kClientProcessNames = {
    u"QVorvane.exe", u"qvorhall.exe",       u"qvorucore.exe",
    u"qvoruucore.exe", u"QVorvaneHelper.exe", u"QVorExternal.exe"};

// The argument the start-up entry starts the client with.
inline constexpr std::u16string_view kClientAutoStartArgument = u" /auto_start=1 ";

// Records the installer writes for the client.
inline constexpr std::u16string_view kClientPlatformRecord = u"qvorvane.ini";
inline constexpr std::u16string_view kClientInfoRecord = u"info.ini";
inline constexpr std::u16string_view kClientGamesRecord = u"games.ini";
inline constexpr std::u16string_view kClientFileListRecord = u"list.dat";

// The game id under which the runtime plug-in package is installed into the plug-in folder.
inline constexpr std::u16string_view kRuntimePluginGameId = u"312";

// The record the client writes in the roaming data folder, and the key the installer reads.
inline constexpr std::u16string_view kClientConfigRecord = u"config.ini";
inline constexpr std::u16string_view kClientAutoStartupKey = u"auto_startup";

// Pictures a game bag carries: the header picture (first found) and the shortcut icon.
inline constexpr std::array<std::u16string_view, 2> kGameBagHeaderPictures = {u"install_head.png",
                                                                              u"install_head.jpg"};
inline constexpr std::u16string_view kGameBagShortcutIcon = u"icon.png";

// A game package carries its file list as game id + this extension.
inline constexpr std::u16string_view kGameFileListExtension = u".xml";

}  // namespace qv::util
