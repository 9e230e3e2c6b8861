// The two default description paragraphs of the progress window. They are also keys of every
// language table (resources/languages/*.xml), and a table translates them only while these texts
// and the tables' keys stay byte for byte the same; the resource tests check that.
#pragma once

namespace qv::util {

// Shown while the featured game is not known, and on Thai systems, whose table lacks the game's
// paragraph.
inline constexpr char kPlatformDescription[] =
    "QVorvane is a free game platform that brings players from all around the world together "
    "in one place. Discover new games, meet friends and start playing in just a few clicks.";

// Shown once the featured game, "Tides of Valoria III", is known.
inline constexpr char kGameDescription[] =
    "Thank you for using the official desktop client of Tides of Valoria III. Set sail across "
    "the shattered seas of Valoria, build your fleet and join captains from every shore in the "
    "battle for the lost isles. Your voyage begins as soon as the installation is complete.";

}  // namespace qv::util
