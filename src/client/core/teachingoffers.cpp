#include "teachingoffers.h"

namespace bg {

bool seatPlayedByBot(const ClientState& state, int seat) {
    if (!isPlayer(seat)) return false;
    const ClientView& v = state.view();
    const std::string& hint = v.playerHint[static_cast<std::size_t>(seat)];
    return hint == kBotName && v.playerName[static_cast<std::size_t>(seat)] == hint;
}

bool hintOnOffer(const ClientState& state) {
    if (!state.amSeatPlayer() || state.currentplayer() != state.myplayer()) return false;
    if (state.dicemark() != 'u') return false;
    // Something left to play: a die, or the Acey-Deucey double to choose.
    const Dice& d = state.dice();
    if (d.die1 == kAwaitingRoll) return false;
    if (!isDieValue(d.die1) && !isDieValue(d.die2) && !state.view().chooseOpen) return false;
    const rec::GameRecorder& recorder = state.recorder();
    if (!recorder.hasGame() || recorder.record().finished() || recorder.record().turns.empty())
        return false;
    return seatPlayedByBot(state, opponentOf(state.myplayer()));
}

Board hintBoard(const ClientState& state) {
    const rec::GameRecord& record = state.recorder().record();
    Board b = rec::boardOf(state.recorder().position(), state.acey());
    b.currentplayer = state.myplayer();
    b.dice = state.dice();
    if (!record.turns.empty()) {
        const rec::Turn& turn = record.turns.back();
        b.aceypending = state.acey() && turn.die1 + turn.die2 == 3 && turn.chosenDouble == 0 &&
                        !rec::isOpening(record, record.turns.size() - 1);
    }
    return b;
}

bool reviewOnOffer(const ClientState& state) {
    const rec::GameRecorder& recorder = state.recorder();
    if (!recorder.hasGame() || recorder.record().turns.empty()) return false;
    return recorder.record().finished() || seatPlayedByBot(state, 1) || seatPlayedByBot(state, 2);
}

} // namespace bg
