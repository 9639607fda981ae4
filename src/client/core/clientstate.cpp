#include "clientstate.h"

#include "codes.h"

#include "protocol.h"

#include <algorithm>
#include <initializer_list>

namespace bg {

namespace {

// A die picture has faces 0 (used) to 6; 100 means "not thrown yet" and shows as a blank.
bool isDieField(int v) {
    return (v >= 0 && v <= 6) || v == kAwaitingRoll;
}
bool isShownDie(int v) {
    return v >= 0 && v <= 6;
}
bool isLevel(int v) {
    return v >= 1 && v <= kLevels;
}
bool isGridLevel(int v) {
    return v >= 0 && v <= kLevels;
}

// The last field of a message that has no "+" after it: cut it if a "+" still follows,
// otherwise everything that is left.
std::string lastText(Fields& f) {
    if (f.remaining().find('+') != std::string::npos) return f.text();
    std::string rest = f.remaining();
    f = Fields(std::string());
    return rest;
}
int lastNumber(Fields& f) {
    return toIntOrThrow(lastText(f));
}

using msg::readDice;

bool diceShowable(const Dice& d) {
    return isShownDie(d.die1) && isShownDie(d.die2) && isShownDie(d.double1) &&
           isShownDie(d.double2);
}

// The free text of a message that ends with "+": everything but that last "+", so a name that
// itself holds "+" survives.
std::string trailingText(const std::string& rest) {
    if (!rest.empty() && rest.back() == '+') return rest.substr(0, rest.size() - 1);
    return rest;
}

const char* errorText(int code) {
    switch (code) {
    case kErrorInvalidMove:
        return "Invalid Move";
    case kErrorNotAllHome:
        return "Cannot place your pieces into home yet.";
    case kErrorNotIntoHome:
        return "Cannot move that piece into home.";
    case kErrorOffTheBarFirst:
        return "You must move your piece off the bar.";
    case kErrorExactFirst:
        return "You must move exactly into home if able.";
    case kErrorHighestFirst:
        return "You must move home from the highest point.";
    default:
        return nullptr;
    }
}

// Where a piece-moving message's checker lands. Board points always; the start pile only for
// the mover's own pile, which is where an undone entry of an Acey-Deucey checker returns.
bool isLanding(int mover, int point, int level) {
    if (!isLevel(level)) return false;
    return isBoardPoint(point) || point == pilePoint(mover);
}

// The cell a message says a checker leaves: only looked at when the point is a grid point.
bool isLeaving(int point, int level) {
    return !isGridPoint(point) || isGridLevel(level);
}

} // namespace

ClientState::ClientState(ClientSink& sink) : m_sink(sink) {
    for (int p = 1; p <= 2; ++p)
        for (int id = 1; id <= kPieces; ++id)
            putpawnhome(p, id);
    m_view.moveTargets[1] = {{false, geo::kMoveTargetRestLeft, geo::kMoveTargetRestTop}, 0, 0};
    m_view.moveTargets[2] = m_view.moveTargets[1];
    for (int p = 1; p <= 2; ++p) {
        m_view.homeTargets[p][1] = {{false, geo::kHomeTarget1Left, geo::kHomeTargetTop}, 0, 0};
        m_view.homeTargets[p][2] = {{false, geo::kHomeTarget2Left, geo::kHomeTargetTop}, 0, 0};
    }
    m_view.cup.top = geo::kCupTop;
    m_view.double1.top = geo::kDouble1Top;
    m_view.double2.top = geo::kDouble2Top;
    placeDiceForTurn(1);
}

// ---- command line and connection ----------------------------------------------------------

void ClientState::beginParams() {
    m_view.startButtonVisible = false;
    m_view.startGameEnabled = false;
    m_loginstring.clear();
}

void ClientState::setSolo() {
    m_hostaddress = kLoopback;
    m_playername = kSoloName;
}

void ClientState::setMultiplayer(std::string_view name, std::string_view address) {
    m_playername = name;
    m_hostaddress = address;
}

void ClientState::hostpress() {
    m_loginstring = m_playername + kTerminator;
    m_hosting = true;
    m_view.startButtonVisible = true;
    m_view.startGameEnabled = true;
    m_view.spyKickEnabled = true;
}

void ClientState::joinpress() {
    m_loginstring = m_playername + kTerminator;
    m_view.startButtonVisible = false;
    m_view.startGameEnabled = false;
}

void ClientState::sendMessage(std::string_view message) {
    m_sink.sendBytes(frame(message));
}

void ClientState::kicking(int number) {
    if (m_hosting && m_loggedin) sendMessage(msg::kickhim(m_myplayer, number));
}

// ---- receiving and dispatch -----------------------------------------------------------------

void ClientState::sockRead(std::string_view bytes) {
    std::vector<std::string> lines;
    // A host that never ends its message would grow the buffer without bound: drop the rest.
    if (!m_splitter.feed(bytes, lines)) m_splitter.clear();
    for (auto& line : lines)
        m_receivedlist.push_back(std::move(line));
}

bool ClientState::processsocktimer() {
    if (m_receivedlist.empty()) return false;
    const std::string line = std::move(m_receivedlist.front());
    m_receivedlist.pop_front();
    dispatch(line);
    return true;
}

void ClientState::dispatch(std::string_view line) {
    using Handler = void (ClientState::*)(const std::string&);
    struct Row {
        std::string_view word;
        Handler handler;
    };
    // The order of comparison is part of the protocol; the word must match exactly.
    static const Row rows[] = {
        {"CMD_sendlogininfo", &ClientState::sendloginfo},
        {"CMD_chat", nullptr},
        {"CMD_action", nullptr},
        {"CMD_newplayerinfo", &ClientState::newplayerinfo},
        {"CMD_havewrongversion", nullptr},
        {"CMD_wrongversion", nullptr},
        {"CMD_existingplayers", &ClientState::newplayerinfo},
        {"CMD_playerdisconnected", &ClientState::playerdisconnected},
        {"CMD_startgame", &ClientState::startthegame},
        {"CMD_nextplayer", &ClientState::getnextplayer},
        {"CMD_winner", &ClientState::winner},
        {"CMD_full", nullptr},
        {"CMD_justwatching", &ClientState::justwatching},
        {"CMD_threwdice", &ClientState::threwdice},
        {"CMD_movehispiece", &ClientState::movehispiece},
        {"CMD_pounce", &ClientState::pounce},
        {"CMD_gothome", &ClientState::gothome},
        {"CMD_error", &ClientState::error},
        {"CMD_nomoveoffbar", &ClientState::nomoveoffbar},
        {"CMD_firstroll", &ClientState::firstroll},
        {"CMD_choosedouble", &ClientState::choosedouble},
        {"CMD_loadboard", &ClientState::loadboard},
        {"CMD_thetime", &ClientState::thetime},
        {"CMD_conceded", &ClientState::conceded},
        {"CMD_playasound", nullptr},
    };
    m_recorder.feed(line);
    const Command cmd = splitCommand(line);
    if (cmd.word.empty()) return;
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        if (rows[i].word != cmd.word) continue;
        try {
            switch (i) {
            case 1:
            case 2:
                m_sink.chatReceived(cmd.rest);
                break;
            case 4:
                addLine(cmd.rest + " has a different version of the game then you.");
                break;
            case 5:
                addLine("You have a differnt version of the game then the host.");
                break;
            case 11:
                m_sink.gameIsFull();
                break;
            case 24:
                m_sink.playasound(cmd.rest);
                break;
            default: {
                // Through a local copy: GCC 12's undefined-behaviour sanitizer reports a false
                // out-of-bounds index when the member pointer is read from the table in place.
                const Handler handler = rows[i].handler;
                (this->*handler)(cmd.rest);
                break;
            }
            }
        } catch (const FieldError&) {
            // A field that is not a number ends this handler only; the queue goes on.
        }
        return;
    }
}

// ---- connection handlers ----------------------------------------------------------------------

void ClientState::sendloginfo(const std::string& fields) {
    Fields f(fields);
    m_myplayer = lastNumber(f);
    m_loggedin = true;
    // The log-in string already ends in a terminator, so an empty message follows on the wire.
    sendMessage(msg::logininfo(m_myplayer, kVersion, m_loginstring));
}

void ClientState::newplayerinfo(const std::string& fields) {
    Fields f(fields);
    const int number = f.number();
    const std::string name = f.remaining();
    if (number < 1) return;
    if (number == m_myplayer) {
        addLine("You are Connected.");
        m_sink.loadSettings();
    } else {
        addLine(name + " is Connected.");
    }
    if (isSeat(number)) {
        m_view.playerName[number] = name;
        m_view.playerNameVisible[number] = true;
    } else {
        m_view.spies.push_back(std::to_string(number) + ": " + name);
        addLine(number == m_myplayer ? std::string("You are spying.") : name + " is spying.");
    }
    m_sink.playSound("entered");
}

void ClientState::playerdisconnected(const std::string& fields) {
    Fields f(fields);
    const int number = f.number();
    const std::string name = f.remaining();
    if (number < 1) return;
    if (isSeat(number)) {
        std::string& caption = m_view.playerName[number];
        const std::string& hint = m_view.playerHint[number];
        if (caption != kWaiting && caption != hint) addLine(caption + " disconnected.");
        caption = hint;
        m_view.eyesVisible[number] = false;
        return;
    }
    const std::string entry = std::to_string(number) + ": " + name;
    auto it = std::find(m_view.spies.begin(), m_view.spies.end(), entry);
    if (it == m_view.spies.end()) return;
    addLine(name + " has left.");
    m_view.spies.erase(it);
}

// ---- game handlers ------------------------------------------------------------------------------

void ClientState::startthegame(const std::string& fields) {
    // starter+seconds+acey+ : the starter's name may itself hold "+", so read from the right.
    std::string rest = trailingText(fields);
    auto cutLast = [&rest]() {
        const std::size_t plus = rest.rfind('+');
        if (plus == std::string::npos) {
            std::string all = rest;
            rest.clear();
            return all;
        }
        std::string last = rest.substr(plus + 1);
        rest.erase(plus);
        return last;
    };
    const std::string aceyFlag = cutLast();
    cutLast(); // seconds per turn: the host keeps the clock
    const std::string starter = rest;

    m_view.startButtonVisible = false;
    m_view.justWatchChecked = false;
    m_view.winnerVisible = false;
    clearall();
    m_acey = aceyFlag == "1";
    m_view.gameType = m_acey ? kAceyCaption : "";
    setpawnsbeginning();
    addLine(starter + " has started a game.");
    if (m_view.playerName[2] == kWaiting) m_view.playerName[2] = m_view.playerHint[2];
    if (amSeatPlayer()) {
        m_view.concedeVisible[m_myplayer] = true;
        m_sink.playSound("startgame");
        m_view.directionVisible[m_myplayer] = true;
    }
}

void ClientState::firstroll(const std::string& fields) {
    Fields f(fields);
    const int r1 = f.number();
    const int r2 = f.number();
    const int starter = f.number();
    const std::string canMove = f.text();
    if (!isShownDie(r1) || !isShownDie(r2) || !isPlayer(starter)) return;

    m_view.directionVisible[1] = m_view.directionVisible[2] = false;
    m_dice = Dice{r1, r2, 0, 0};
    m_currentplayer = starter;
    m_view.dice1.left = geo::kOpeningDice1Left;
    m_view.dice1.top = geo::kOpeningDiceTop;
    m_view.dice2.left = geo::kOpeningDice2Left;
    m_view.dice2.top = geo::kOpeningDiceTop;
    setdice();
    showTurnBar(starter);
    if (canMove == "t") {
        if (starter == m_myplayer) {
            m_dicemark = 'u';
            setStatus("You play first - Your Turn Now");
            playTurnSound();
        } else {
            setStatus("You play next");
        }
    } else {
        setStatus(starter == m_myplayer ? "You play first - No Valid Moves" : "You play next");
    }
}

void ClientState::threwdice(const std::string& fields) {
    Fields f(fields);
    const int player = f.number();
    const Dice d = readDice(f);
    const std::string canMove = f.text();
    if (!isPlayer(player) || !diceShowable(d)) return;

    m_view.cup.visible = false;
    m_view.cupAnimating = false;
    m_view.chooseOpen = false;
    m_view.chooseVisible = false;
    m_dice = d;
    if (canMove == "f")
        setStatus("No Valid Moves");
    else if (player == m_myplayer)
        m_dicemark = 'u';
    m_sink.playSound("dice");
    setdice();
}

void ClientState::choosedouble(const std::string& fields) {
    Fields f(fields);
    if (f.number() != m_myplayer) return;
    m_view.chooseOpen = true;
    m_view.chooseVisible = true;
    m_sink.playSound("choosedouble");
}

void ClientState::movehispiece(const std::string& fields) {
    Fields f(fields);
    Dice d;
    // Which die was used needs no picture: the dice themselves say enough.
    const auto [mover, next, slot, pips, piece, fromPoint, fromLevel, toPoint, toLevel] =
        msg::readMoveReport(f, d);
    const std::string more = f.text();
    if (!isPlayer(mover) || !isPiece(piece) || !diceShowable(d) ||
        !isLeaving(fromPoint, fromLevel) || !isLanding(mover, toPoint, toLevel))
        return;

    m_view.undoVisible = false;
    setStatus("");
    m_view.chooseVisible = false;
    m_dice = d;
    setPips(mover, pips);
    if (isGridPoint(fromPoint)) emptyCell(fromPoint, fromLevel);
    placeOnBoard(mover, piece, toPoint, toLevel);
    setdice();
    if (next == m_myplayer) {
        m_currentplayer = m_myplayer;
        if (more == "t" && isBoardPoint(fromPoint)) m_view.undoVisible = true;
    }
    if (next == 0) setStatus("Turn Over.");
    m_sink.playSound("movechip");
}

void ClientState::pounce(const std::string& fields) {
    Fields f(fields);
    Dice d;
    const auto [mover, next, slot, pips, piece, fromPoint, fromLevel, toPoint, toLevel] =
        msg::readMoveReport(f, d);
    const int opponent = f.number();
    const int hitPiece = f.number();
    const int opponentPips = f.number();
    const int hitLevel = f.number();
    const int barSlot = f.number();
    if (!isPlayer(mover) || !isPlayer(opponent) || !isPiece(piece) || !isPiece(hitPiece) ||
        !diceShowable(d) || !isLeaving(fromPoint, fromLevel) || !isBoardPoint(toPoint) ||
        !isLevel(toLevel) || !isLevel(hitLevel) || !isLevel(barSlot))
        return;

    setStatus("");
    m_view.chooseVisible = false;
    hideTargets();
    m_dice = d;
    setPips(mover, pips);
    setPips(opponent, opponentPips);
    m_pawns[opponent][hitPiece] = Pawn{pilePoint(opponent), barSlot};
    emptyCell(toPoint, hitLevel);
    setbar(opponent, hitPiece, barSlot);
    if (isGridPoint(fromPoint)) emptyCell(fromPoint, fromLevel);
    placeOnBoard(mover, piece, toPoint, toLevel);
    setdice();
    if (next == m_myplayer) m_currentplayer = m_myplayer;
    if (next == 0) setStatus("Turn Over.");
    m_sink.playSound(mover == m_myplayer ? "putbar" : "getbar");
}

void ClientState::gothome(const std::string& fields) {
    Fields f(fields);
    const int mover = f.number();
    const int next = f.number();
    const Dice d = readDice(f);
    f.number(); // die used
    const int piece = f.number();
    const int homeCount = f.number();
    const int fromPoint = f.number();
    const int fromLevel = f.number();
    const int pips = f.number();
    if (!isPlayer(mover) || !isPiece(piece) || !diceShowable(d) || !isGridPoint(fromPoint) ||
        !isGridLevel(fromLevel) || homeCount < 0 || homeCount > kPieces)
        return;

    setStatus("");
    m_view.chooseVisible = false;
    hideTargets();
    m_dice = d;
    setPips(mover, pips);
    m_pawns[mover][piece] = Pawn{kBorneOff, 0};
    emptyCell(fromPoint, fromLevel);
    placeChecker(mover, piece, geo::kPileLeft, geo::bearOffPileTop(mover, homeCount), homeCount);
    setdice();
    if (next == m_myplayer) m_currentplayer = m_myplayer;
    if (next == 0) setStatus("Turn Over.");
    m_sink.playSound("movehome");
}

void ClientState::error(const std::string& fields) {
    Fields f(fields);
    const int seat = f.number();
    const int code = f.number();
    if (seat != m_myplayer) return;
    if (const char* text = errorText(code)) setStatus(text);
    m_currentplayer = m_myplayer;
    m_sink.playSound("invalid");
}

void ClientState::nomoveoffbar(const std::string&) {
    setStatus("Cannot move off the bar - Turn Over.");
}

void ClientState::getnextplayer(const std::string& fields) {
    Fields f(fields);
    const int player = f.number();
    if (!isPlayer(player)) return;

    m_view.turntimerRunning = false;
    m_view.timerVisible = false;
    m_currentplayer = player;
    showTurnBar(player);
    m_view.dice1.visible = m_view.dice2.visible = false;
    m_view.double1.visible = m_view.double2.visible = false;
    if (player == m_myplayer)
        startOfTurnForMe();
    else
        setStatus(m_view.playerName[player] + "'s turn.");
    placeDiceForTurn(player);
}

void ClientState::thetime(const std::string& fields) {
    Fields f(fields);
    const int code = f.number();
    if (code == kTimeWarning) {
        m_view.turntimerRunning = true;
        m_view.timerVisible = true;
    } else if (code == kTimeUp) {
        m_currentplayer = 0;
        hideTargets();
        m_view.turntimerRunning = false;
        setStatus("Out of Time - Bot will play for you.");
        addLine("Out of Time - Bot will play for you.");
        m_view.timerVisible = false;
        m_sink.playSound("timeup");
    }
}

void ClientState::conceded(const std::string& fields) {
    Fields f(fields);
    const int seat = f.number();
    if (!isPlayer(seat)) return;
    hideTargets();
    if (seat == m_myplayer)
        setStatus("You conceded the game.");
    else
        setStatus(m_view.playerName[seat] + " conceded the game.");
}

void ClientState::winner(const std::string& fields) {
    const std::string name = trailingText(fields);
    m_view.concedeVisible[1] = m_view.concedeVisible[2] = false;
    m_view.turntimerRunning = false;
    m_view.timerVisible = false;
    m_currentplayer = 0;
    m_view.turnBar.visible = false;
    m_view.dice1.visible = m_view.dice2.visible = false;
    m_view.double1.visible = m_view.double2.visible = false;
    m_view.undoVisible = false;
    for (int p = 1; p <= 2; ++p)
        for (int i = 1; i <= 2; ++i)
            m_view.homeTargets[p][i].visible = false;
    m_sink.playSound("winner");

    const bool won = amSeatPlayer() && m_view.playerName[m_myplayer] == name;
    m_view.winnerText = won ? std::string("You have Won the Game!") : name + " has Won the Game!";
    addLine(m_view.winnerText);
    m_view.winnerVisible = true;
    if (m_hosting) m_view.startButtonVisible = true;
    if (amSeatPlayer()) m_sink.addGame(won ? std::string_view("addtomine") : name);
}

void ClientState::justwatching(const std::string& fields) {
    Fields f(fields);
    const int seat = f.number();
    const std::string mode = lastText(f);
    if (!isPlayer(seat)) return;
    const std::string& caption = m_view.playerName[seat];
    const bool watching = mode == "1";
    if (seat == m_myplayer) m_view.justWatchChecked = watching;
    addLine(caption + (watching ? " is just watching" : " is now playing again"));
    m_view.eyesVisible[seat] = watching;
}

void ClientState::loadboard(const std::string& fields) {
    Fields f(fields);
    if (f.number() != m_myplayer) return;
    const int current = f.number();
    const std::string type = f.text();
    const Dice d = readDice(f);

    struct Entry {
        int player, piece, point, level;
    };
    std::vector<Entry> entries;
    bool convertedAll = true;
    try {
        while (!f.remaining().empty()) {
            Entry e{};
            e.player = f.number();
            e.piece = f.number();
            e.point = f.number();
            e.level = lastNumber(f);
            entries.push_back(e);
        }
    } catch (const FieldError&) {
        convertedAll = false; // the entries before it still count, as in any handler
    }

    // Nothing changes unless every number has a place to go.
    if (current < 0 || current > 2) return;
    for (int v : {d.die1, d.die2, d.double1, d.double2})
        if (!isDieField(v)) return;
    for (const Entry& e : entries) {
        if (!isPlayer(e.player) || !isPiece(e.piece) || e.point < 0) return;
        const bool pile = e.point > kBarPoint || e.point == kPile1 || e.point == kPile2;
        if (pile ? !isGridLevel(e.level) : !isLevel(e.level)) return;
    }

    // A checker on the bar is listed first with the point where it was hit, where the hitter
    // now stands: that earlier entry must not take the hitter's cell.
    std::array<std::array<bool, kPieces + 1>, 3> onBar{};
    for (const Entry& e : entries)
        if (e.point == kBarPoint) onBar[e.player][e.piece] = true;

    m_currentplayer = current;
    m_acey = type == "acey";
    m_view.gameType = m_acey ? kAceyCaption : "";
    m_dice = d;
    for (const Entry& e : entries) {
        // A checker listed again (on the bar) must not leave its earlier cell behind.
        const Pawn old = m_pawns[e.player][e.piece];
        if (isGridPoint(old.point) && isGridLevel(old.level) &&
            m_boardgrid[old.point][old.level] == Cell{e.player, e.piece})
            emptyCell(old.point, old.level);
        if (e.point == kPile1 || e.point == kPile2) {
            m_pawns[e.player][e.piece] = Pawn{e.point, e.level};
            m_boardgrid[e.point][e.level] = Cell{e.player, e.piece};
            placeChecker(e.player, e.piece, geo::kPileLeft, geo::startPileTop(e.player, e.level),
                         e.level);
        } else if (e.point == kBarPoint) {
            m_pawns[e.player][e.piece] = Pawn{pilePoint(e.player), e.level};
            setbar(e.player, e.piece, e.level);
        } else if (isBoardPoint(e.point)) {
            if (onBar[e.player][e.piece]) {
                m_pawns[e.player][e.piece] = Pawn{e.point, e.level};
                placeChecker(e.player, e.piece, geo::getleft(e.point),
                             geo::gettop(e.point, e.level), e.level);
            } else {
                placeOnBoard(e.player, e.piece, e.point, e.level);
            }
        } else {
            m_pawns[e.player][e.piece] = Pawn{kBorneOff, 0};
            placeChecker(e.player, e.piece, geo::kPileLeft, geo::bearOffPileTop(e.player, e.level),
                         e.level);
        }
    }
    if (!convertedAll) return;

    // The message carries no pip counts; the position it lists gives them.
    for (int p = 1; p <= 2; ++p) {
        int pips = 0;
        for (int id = 1; id <= kPieces; ++id) {
            const Pawn& pw = m_pawns[p][id];
            if (isBoardPoint(pw.point))
                pips += homeDistance(p, pw.point);
            else if (pw.point == pilePoint(p) &&
                     !(isLevel(pw.level) && m_boardgrid[pw.point][pw.level] == Cell{p, id}))
                pips += 25; // on the bar
        }
        setPips(p, pips);
    }
    if (isPlayer(m_currentplayer)) {
        showTurnBar(m_currentplayer);
        placeDiceForTurn(m_currentplayer);
    }
    if (m_dice.die1 == kAwaitingRoll) {
        if (m_currentplayer == m_myplayer) startOfTurnForMe();
    } else {
        setdice();
    }
    if (amSeatPlayer()) m_view.concedeVisible[m_myplayer] = true;
}

// ---- display operations
// ---------------------------------------------------------------------------

void ClientState::clearall() {
    m_view.dice1.visible = m_view.dice2.visible = false;
    m_view.double1.visible = m_view.double2.visible = false;
    m_view.cup.visible = false;
    m_view.cupAnimating = false;
    hideTargets();
    for (int p = 1; p <= 2; ++p) {
        m_view.pips[p] = kInitialPips;
        m_view.eyesVisible[p] = false;
    }
}

void ClientState::hideTargets() {
    m_view.undoVisible = false;
    for (int p = 1; p <= 2; ++p)
        for (int i = 1; i <= 2; ++i)
            m_view.homeTargets[p][i].visible = false;
    m_view.moveTargets[1].visible = m_view.moveTargets[2].visible = false;
}

void ClientState::setpawnsbeginning() {
    // Points 0 and 25 are cleared too, so a normal game after an Acey-Deucey one starts clean.
    for (auto& point : m_boardgrid)
        point.fill(Cell{});
    for (auto& side : m_pawns)
        side.fill(Pawn{kBorneOff, 0});
    if (m_acey) {
        for (int p = 1; p <= 2; ++p)
            for (int k = 1; k <= kPieces; ++k) {
                m_pawns[p][k] = Pawn{pilePoint(p), k};
                m_boardgrid[pilePoint(p)][k] = Cell{p, k};
                placeChecker(p, k, geo::kPileLeft, geo::startPileTop(p, k), k);
            }
        return;
    }
    for (const StartGroup& g : kNormalStart)
        for (int k = g.first; k <= g.last; ++k) {
            placeOnBoard(1, k, g.point, k - g.first + 1);
            placeOnBoard(2, k, mirrorPoint(g.point), k - g.first + 1);
        }
}

void ClientState::setdice() {
    auto show = [](DieSprite& s, int value) { s.value = value; };
    show(m_view.dice1, m_dice.die1);
    show(m_view.dice2, m_dice.die2);
    show(m_view.double1, m_dice.double1);
    show(m_view.double2, m_dice.double2);
    m_view.dice1.visible = m_view.dice2.visible = true;
    m_view.double1.visible = m_dice.double1 > 0;
    m_view.double2.visible = m_dice.double2 > 0;
}

void ClientState::putpawnhome(int player, int piece) {
    placeChecker(player, piece, geo::kPileLeft, geo::bearOffPileTop(player, piece), piece);
}

void ClientState::setbar(int player, int piece, int level) {
    placeChecker(player, piece, geo::kBarLeft, geo::barTop(player, level), level);
}

void ClientState::placeDiceForTurn(int player) {
    const geo::TurnPlaces at = geo::turnPlaces(player);
    m_view.dice1.left = at.dice1Left;
    m_view.dice1.top = geo::kDice1Top;
    m_view.dice2.left = at.dice2Left;
    m_view.dice2.top = geo::kDice2Top;
    m_view.double1.left = at.double1Left;
    m_view.double2.left = at.double2Left;
    m_view.cup.left = at.cupLeft;
}

void ClientState::showTurnBar(int player) {
    m_view.turnBar.left = geo::kTurnBarLeft;
    m_view.turnBar.top = geo::turnBarTop(player);
    m_view.turnBar.visible = true;
}

// ---- helpers
// --------------------------------------------------------------------------------------

void ClientState::playTurnSound() {
    m_sink.playSound(m_newTurnSound ? "turnnew" : "turn");
}

void ClientState::startOfTurnForMe() {
    m_dicemark = 't';
    setStatus("Your Turn.");
    m_view.cup.visible = true;
    m_view.cupAnimating = true;
    playTurnSound();
}

void ClientState::setPips(int player, int pips) {
    m_view.pips[player] = "Pips: " + std::to_string(pips);
}

void ClientState::emptyCell(int point, int level) {
    m_boardgrid[point][level] = Cell{};
}

void ClientState::placeOnBoard(int player, int piece, int point, int level) {
    m_pawns[player][piece] = Pawn{point, level};
    m_boardgrid[point][level] = Cell{player, piece};
    if (isBoardPoint(point))
        placeChecker(player, piece, geo::getleft(point), geo::gettop(point, level), level);
    else // an entry taken back returns to its start pile
        placeChecker(player, piece, geo::kPileLeft, geo::startPileTop(player, level), level);
}

void ClientState::placeChecker(int player, int piece, int left, int top, int layer) {
    m_view.checkers[player][piece] = CheckerSprite{left, top, layer};
}

} // namespace bg
