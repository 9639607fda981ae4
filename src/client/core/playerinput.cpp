#include "playerinput.h"

#include "movetargets.h"

namespace bg {

bool PlayerInput::myTurn() const {
    return m_state.loggedin() && m_state.currentplayer() == m_state.myplayer() &&
           isPlayer(m_state.myplayer());
}

void PlayerInput::send(std::string_view message) {
    m_sink.sendBytes(frame(message));
}

void PlayerInput::hideMoveTargets() {
    for (int i = 1; i <= 2; ++i)
        m_state.view().moveTargets[i] = {
            {false, geo::kMoveTargetRestLeft, geo::kMoveTargetRestTop}, 0, 0};
}

void PlayerInput::hideAllTargets() {
    ClientView& v = m_state.view();
    v.undoVisible = false;
    for (int p = 1; p <= 2; ++p)
        for (int i = 1; i <= 2; ++i)
            v.homeTargets[p][i].visible = false;
    hideMoveTargets();
}

void PlayerInput::selectChecker(int player, int piece) {
    hideMoveTargets();
    // A bear-off target left from the previous selection would bear off that other checker.
    ClientView& v = m_state.view();
    if (isPlayer(m_state.myplayer()))
        for (int i = 1; i <= 2; ++i)
            v.homeTargets[m_state.myplayer()][i].visible = false;
    if (!myTurn() || m_state.dicemark() != 'u' || player != m_state.myplayer() || !isPiece(piece) ||
        m_state.pawn(player, piece).point == kBorneOff)
        return;

    const CheckerTargets t = targetsFor(m_state, player, piece);
    for (int i = 1; i <= 2; ++i) {
        if (t.home[i].shown) {
            Target& h = v.homeTargets[player][i];
            h.visible = true;
            h.piece = piece;
            h.value = t.home[i].die;
        }
        if (t.move[i].shown) {
            const int to = t.move[i].point;
            v.moveTargets[i] = {{true, geo::getleft(to),
                                 to <= 12 ? geo::kMoveTargetUpperTop : geo::kMoveTargetLowerTop},
                                piece,
                                to};
        }
    }
    if (t.bothBlocked()) {
        m_sink.playSound("unable");
        v.status = "Unable to move that chip.";
    }
}

void PlayerInput::moveClick(int die) {
    if (die < 1 || die > 2) return;
    const Target t = m_state.view().moveTargets[die];
    hideAllTargets();
    if (!t.visible || t.piece == 0) return;
    if (myTurn()) send(msg::moveit(m_state.myplayer(), t.piece, t.value));
}

void PlayerInput::bearOffClick(int player, int die) {
    if (!isPlayer(player) || die < 1 || die > 2) return;
    Target& target = m_state.view().homeTargets[player][die];
    const Target t = target;
    hideAllTargets();
    if (!t.visible || !myTurn() || t.piece == 0 || t.value == 0) return;
    send(msg::placehome(m_state.myplayer(), t.piece, t.value));
    target.piece = 0;
    target.value = 0;
}

void PlayerInput::cupClick() {
    ClientView& v = m_state.view();
    if (!v.cup.visible || !myTurn() || m_state.dicemark() != 't') return;
    v.cup.visible = false;
    v.cupAnimating = false;
    send(msg::rolldice(m_state.myplayer()));
}

void PlayerInput::directionClick(int player) {
    if (!isPlayer(player)) return;
    bool& shown = m_state.view().directionVisible[player];
    if (!shown) return;
    shown = false;
    if (m_state.loggedin()) send(msg::pressstart(m_state.myplayer()));
}

void PlayerInput::chooseClick(int value) {
    ClientView& v = m_state.view();
    v.chooseVisible = false;
    if (!v.chooseOpen || value < 1 || value > 6) return;
    // One choice per question: the host asks again if it wants another.
    v.chooseOpen = false;
    if (m_state.loggedin()) send(msg::mydoubles(m_state.myplayer(), value));
}

void PlayerInput::undoClick() {
    const bool offered = m_state.view().undoVisible;
    hideAllTargets();
    if (offered && myTurn()) send(msg::undo(m_state.myplayer()));
}

void PlayerInput::concedeClick(int seat) {
    if (!isPlayer(seat) || !m_state.view().concedeVisible[seat]) return;
    if (m_state.loggedin() && isPlayer(m_state.myplayer())) send(msg::concede(m_state.myplayer()));
}

} // namespace bg
