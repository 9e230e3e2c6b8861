// The featured game: the one whose description the progress window knows by itself and whose web
// page the "Play on Browser" link opens.
//
// Pure functions of a GameInfo; any thread.
#pragma once

#include <string>
#include <string_view>

#include "workflow/packages/install_record.h"

namespace qv::ui {

inline constexpr std::string_view kFeaturedGameName = "Tides of Valoria III";
// Appended to the build's game web base (settings::kGameWebBaseUrl); %s is the server id.
inline constexpr char kGamePagePathFormat[] = "/game/?sid=%s";

// Whether `game` names the featured game.
bool IsFeaturedGame(const workflow::GameInfo& game);

// The game page of `game`'s server: the game web base, "/game/?sid=" and the server id as it
// stands (narrow text, not escaped).
std::string GamePageUrl(const workflow::GameInfo& game);

// Whether the link is drawn: it has a text, the game has a server id and is the featured game.
bool LinkShown(std::u16string_view link_text, const workflow::GameInfo& game);

}  // namespace qv::ui
