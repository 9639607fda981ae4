#pragma once
// Where things sit on the board panel, in pixels from the panel's top left corner.
//
// The board picture is drawn for exactly these places, so every number here is tied to the
// artwork: the top row holds points 1 (right) to 12 (left), the bottom row 13 (left) to 24
// (right), a point and its mirror share a column, and five checkers fit on a point before the
// next five are drawn over them a little higher. Player 1 sits at the bottom of the screen.

#include <array>

namespace bg::geo {

inline constexpr int kPanelWidth = 763;
inline constexpr int kPanelHeight = 548;

// Window sizes: the default (and "Reset Screen Location") bounds, and the smallest client area.
inline constexpr int kResetLeft = 3;
inline constexpr int kResetTop = 3;
inline constexpr int kDefaultWidth = 774;
inline constexpr int kDefaultHeight = 595;
inline constexpr int kPanelMargin = 4;
inline constexpr int kMinClientWidth = kPanelWidth + kPanelMargin;   // 767
inline constexpr int kMinClientHeight = kPanelHeight + kPanelMargin; // 552

inline constexpr int kMainBoardLeft = 8;
inline constexpr int kMainBoardTop = 19;
inline constexpr int kMainBoardWidth = 753;
inline constexpr int kMainBoardHeight = 322;

inline constexpr int kCheckerWidth = 21;
inline constexpr int kCheckerHeight = 20;
inline constexpr int kDieSize = 32;
inline constexpr int kCupWidth = 75;
inline constexpr int kCupHeight = 66;
inline constexpr int kCupTop = 146;
inline constexpr int kCupFrames = 4;
inline constexpr int kCupFrameMs = 100;
inline constexpr int kLittleDieWidth = 19;
inline constexpr int kLittleDieHeight = 18;
inline constexpr int kHomeDieWidth = 19;
inline constexpr int kHomeDieHeight = 44;
inline constexpr int kDouble1Top = 175;
inline constexpr int kDouble2Top = 148;

// Columns of points 1..12; point p >= 13 shares the column of 25 - p.
inline constexpr std::array<int, 13> kColumns = {0,   657, 607, 557, 507, 457, 407,
                                                 305, 255, 205, 156, 106, 56};
inline constexpr int kLevelsPerRow = 5;
inline constexpr int kLevelStep = 22;
inline constexpr int kOverlayRise = 2; // each further five are drawn this much higher
inline constexpr int kUpperBase = 38;  // top of level 1 on points 1..12
inline constexpr int kLowerBase = 298; // top of level 1 on points 13..24

// Left of a checker on point 1..24; -1 for anything else (callers never pass it).
constexpr int getleft(int point) {
    if (point >= 1 && point <= 12) return kColumns[static_cast<std::size_t>(point)];
    if (point >= 13 && point <= 24) return kColumns[static_cast<std::size_t>(25 - point)];
    return -1;
}

// Top of a checker on point 1..24 at level 1..15; -1 for anything else.
constexpr int gettop(int point, int level) {
    if (level < 1 || level > 15) return -1;
    const int row = (level - 1) % kLevelsPerRow; // place within its five
    const int layer = (level - 1) / kLevelsPerRow;
    if (point >= 1 && point <= 12) return kUpperBase + kLevelStep * row - kOverlayRise * layer;
    if (point >= 13 && point <= 24) return kLowerBase - kLevelStep * row - kOverlayRise * layer;
    return -1;
}

// The bar: player 1's checkers stack upwards from the middle, player 2's downwards.
inline constexpr int kBarLeft = 356;
constexpr int barTop(int player, int level) {
    return player == 1 ? 172 - kLevelStep * level : 163 + kLevelStep * level;
}

// The side piles at the right edge grow by a few pixels per checker so that fifteen fit.
inline constexpr int kPileLeft = 708;
inline constexpr int kPileStep = 6;
inline constexpr int kUpperPileBase = 38;
inline constexpr int kLowerPileBase = 206;
constexpr int upperPileTop(int level) {
    return kUpperPileBase + kPileStep * level;
}
constexpr int lowerPileTop(int level) {
    return kLowerPileBase + kPileStep * level;
}
// Checkers waiting to enter (Acey-Deucey): player 1 on the upper pile, player 2 on the lower.
constexpr int startPileTop(int player, int level) {
    return player == 1 ? upperPileTop(level) : lowerPileTop(level);
}
// Borne-off checkers: player 1 on the lower pile, player 2 on the upper.
constexpr int bearOffPileTop(int player, int level) {
    return player == 1 ? lowerPileTop(level) : upperPileTop(level);
}

// Dice and cup for a turn, per player to move.
inline constexpr int kDice1Top = 177;
inline constexpr int kDice2Top = 149;
inline constexpr int kOpeningDiceTop = 149;
inline constexpr int kOpeningDice1Left = 291;
inline constexpr int kOpeningDice2Left = 387;
struct TurnPlaces {
    int dice1Left, dice2Left, double1Left, double2Left, cupLeft;
};
constexpr TurnPlaces turnPlaces(int player) {
    return player == 1 ? TurnPlaces{291, 315, 251, 275, 262} : TurnPlaces{411, 387, 451, 427, 406};
}

// Labels and marks along the two name rows (player 1 at the bottom).
inline constexpr int kNameLeft = 532;
constexpr int nameTop(int player) {
    return player == 1 ? 343 : 1;
}
inline constexpr int kPipsLeft = 628;
constexpr int eyesLeft(int player) {
    return player == 1 ? 500 : 502;
}
constexpr int eyesTop(int player) {
    return player == 1 ? 346 : 4;
}
inline constexpr int kTurnBarLeft = 496;
inline constexpr int kTurnBarWidth = 225;
inline constexpr int kTurnBarHeight = 21;
inline constexpr int kTurnBarRise = 2;
constexpr int turnBarTop(int player) {
    return nameTop(player) - kTurnBarRise;
}
inline constexpr int kConcedeLeft = 724;
constexpr int concedeTop(int player) {
    return player == 1 ? 341 : 1;
}

inline constexpr int kStatusLeft = 28;
inline constexpr int kStatusTop = 343;
inline constexpr int kStatusWidth = 373;
inline constexpr int kGameTypeLeft = 288;
inline constexpr int kGameTypeTop = 2;
inline constexpr int kTimerLeft = 80;
inline constexpr int kTimerTop = 2;

inline constexpr int kDirectionLeft = 47;
inline constexpr int kDirectionTop = 81;
inline constexpr int kDirectionWidth = 634;
inline constexpr int kDirectionHeight = 191;
inline constexpr int kWinnerLeft = 121;
inline constexpr int kWinnerTop = 123;
inline constexpr int kWinnerWidth = 502;
inline constexpr int kWinnerHeight = 41;
inline constexpr int kChooseLeft = 184;
inline constexpr int kChooseTop = 141;
inline constexpr int kChooseWidth = 361;
inline constexpr int kChooseHeight = 91;

// Bear-off targets (both players share the places) and the move targets' resting place.
inline constexpr int kHomeTarget1Left = 704;
inline constexpr int kHomeTarget2Left = 724;
inline constexpr int kHomeTargetTop = 158;
inline constexpr int kMoveTargetRestLeft = 728;
inline constexpr int kMoveTargetRestTop = 174;
inline constexpr int kMoveTargetUpperTop = 20;
inline constexpr int kMoveTargetLowerTop = 320;

inline constexpr int kWebLinkLeft = 616;
inline constexpr int kWebLinkTop = 525;

} // namespace bg::geo
