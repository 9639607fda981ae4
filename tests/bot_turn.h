#pragma once
// A solo game (seat 2 is the host's bot) set up for one bot decision in a position built by
// hand.

#include "board_setup.h"
#include "bot.h"
#include "sim_harness.h"

#include <string>

namespace bg {

// Every piece home, the bot on turn with `dice`, the opening book switched off.
struct BotTurn {
    explicit BotTurn(Dice dice, bool notLimited = true, bool acey = false)
        : s(7, 1000, notLimited) {
        s.join("You");
        s.send(1, msg::startgame("You", "120", acey ? "1" : "0"));
        s.send(1, msg::pressstart(1));
        s.settle();
        Board& b = s.host->mutableBoard();
        setup::clearToHome(b);
        b.currentplayer = 2;
        b.dice = dice;
        s.host->mutableSeat(2).movesmade = 10; // past the opening book
        s.outbox.clear();
    }
    Board& board() { return s.host->mutableBoard(); }
    std::string play() {
        BotPlayer(*s.host).computerplay();
        return s.outbox.to(1).empty() ? std::string() : s.outbox.to(1).front();
    }
    sim::Sim s;
};

} // namespace bg
