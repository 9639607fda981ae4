#pragma once
// Every picture of the program, painted in code at the sizes the board layout fixes.
//
// Each function paints at the requested device pixel ratio, so a picture stays sharp on a
// high-density screen: the pixmap has size × ratio pixels and reports the logical size to Qt.
// Pictures are cheap to paint but are cached by the callers (the window keeps one pixmap per
// face, frame and checker colour). Player 1 plays the light checkers from the bottom of the
// screen, player 2 the dark ones from the top.

#include <QColor>
#include <QPixmap>

namespace art {

// The board picture (753 × 322): frame, felt, 24 points, bar and bear-off tray.
QPixmap board(qreal dpr);
// A checker (21 × 20) of player 1 or 2.
QPixmap checker(int player, qreal dpr);
// The same checker with the mark of a checker moved in the last play.
QPixmap markedChecker(int player, qreal dpr);
// A die face (32 × 32): 1..6, 0 for a used die; anything else paints an empty face.
QPixmap dieFace(int value, qreal dpr);
// A small die face (19 × 18) for the move targets.
QPixmap littleDie(int value, qreal dpr);
// A bear-off target (19 × 44) of player 1 or 2 with the die value 1..6.
QPixmap homeDie(int player, int value, qreal dpr);
// The dice cup (75 × 66), frame 0..3 of its shake.
QPixmap cup(int frame, qreal dpr);
// The direction-of-play picture of player 1 or 2 (634 × 191).
QPixmap direction(int player, qreal dpr);
// The bar behind the name of the player to move (225 × 21).
QPixmap turnBar(qreal dpr);
// The winner banner's background (502 × 41).
QPixmap winnerBanner(qreal dpr);
// The doubles chooser's background (361 × 91).
QPixmap chooserPanel(qreal dpr);
// The "just watching" mark (26 × 14).
QPixmap eyes(qreal dpr);
// A small white flag for the concede buttons (16 × 16).
QPixmap flag(qreal dpr);
// The speaker on the chatter-sounds button (16 × 16).
QPixmap speaker(qreal dpr);
// The web-link picture at the lower right (140 × 20).
QPixmap webLink(qreal dpr);
// The tile behind every window.
QPixmap backgroundTile(qreal dpr);

QColor nameColour();
QColor pipsColour();

// The costliest pictures without text (the board, the doubles chooser and the background tile,
// a few hundred wood-grain strokes each) are painted once at build time by this same code
// and read back at start, pixel for pixel, when the screen's pixel ratio is 1. Off paints
// them live every time.
void usePrerendered(bool on);
// The raw pixels of a picture as stored at build time: width, height, then the premultiplied
// ARGB words row by row.
QByteArray rawPixels(const QPixmap& picture);

} // namespace art
