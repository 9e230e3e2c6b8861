// The archives the demo service hands out, where they lie below its content folder (which is
// also their URL path on the content host), and how the content builder makes them.
#pragma once

#include <string>

namespace qv::demo {

// The platform archive: the demo client as "QVorvane.exe" and "uninstall.exe", both executable.
inline constexpr char kPlatformArchive[] = "qvorvane/repository/install/QVorvaneSetup_3.2.1.45.zip";
// The same files with a stored CRC that does not match the client's bytes.
inline constexpr char kDamagedPlatformArchive[] =
    "qvorvane/repository/install/QVorvaneSetup_3.2.1.45_damaged.zip";
// The runtime plug-in "312".
inline constexpr char kPluginPackage[] = "qvorvane/repository/plugin/air/air_runtime_27.zip";
// A game package with its file list "1045.xml". The installer's second download is recognised
// by the plug-in path, so game packages lie below it too.
inline constexpr char kGamePackage[] =
    "qvorvane/repository/plugin/air/game/1045/tov3_1.0.3_103.zip";
inline constexpr char kGamePackageId[] = "1045";
// The featured game's bag: "install_head.png" and "icon.png".
inline constexpr char kGameBag[] = "qvorvane/repository/gamebag/tov3_bag_2.zip";

struct DemoContentSources {
  std::string sources_folder;  // tools/demo-service/content
  std::string client_program;  // becomes "QVorvane.exe"
  std::string uninstaller;     // becomes "uninstall.exe"
};

// Builds every archive above below `out_folder` (made when missing), replacing earlier ones.
// Throws std::runtime_error on failure.
void BuildDemoContent(const DemoContentSources& sources, const std::string& out_folder);

}  // namespace qv::demo
