#pragma once
// PlayerInput: the player's clicks on the board, turned into requests to the host.
//
// The client proposes and the host decides: a click changes only what the board offers
// (targets shown or hidden) and sends one message; the position changes when the host's answer
// arrives. Every click first checks that it counts (logged in, this client's turn, its own
// checker, dice thrown) and that the control it came from was on offer, so a click out of turn,
// a spectator's click or a second click on a target already taken sends nothing.
//
// Entry points mirror the board's controls: selectChecker (any checker), moveClick (moveit_1,
// moveit_2), bearOffClick (image_home11 .. image_home22), cupClick, directionClick,
// chooseClick (image_choose1 .. 6), undoClick, concedeClick.

#include "clientstate.h"

namespace bg {

class PlayerInput {
  public:
    PlayerInput(ClientState& state, ClientSink& sink) : m_state(state), m_sink(sink) {}

    void selectChecker(int player, int piece);
    void moveClick(int die);
    void bearOffClick(int player, int die);
    void cupClick();
    void directionClick(int player);
    void chooseClick(int value);
    void undoClick();
    void concedeClick(int seat);

  private:
    bool myTurn() const;
    void hideMoveTargets();
    void hideAllTargets();
    void send(std::string_view message);

    ClientState& m_state;
    ClientSink& m_sink;
};

} // namespace bg
