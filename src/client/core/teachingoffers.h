#pragma once
// When the program offers its teaching, decided from the client's own state: a hint only to a
// player on turn, with the dice thrown, whose opponent's seat is played by the bot (so nobody
// plays another person with the engine's help); a review of a game between people only once it
// is over, of a game against the bot also while it runs.
//
// The client knows a seat is the bot's when no person sits in it: its name label shows the
// bot's name, the seat's name while nobody has taken it.

#include "board.h"
#include "clientstate.h"

namespace bg {

bool seatPlayedByBot(const ClientState& state, int seat);
bool hintOnOffer(const ClientState& state);
// The position a hint is asked for: the checkers as they stand, the dice left, this client's
// player on turn (after an Acey-Deucey 1-2 whose 1 and 2 are played, the double still to
// choose).
Board hintBoard(const ClientState& state);
bool reviewOnOffer(const ClientState& state);

} // namespace bg
