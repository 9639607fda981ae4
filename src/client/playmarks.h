#pragma once
// The marks of a play on a board picture: for each step, in order, a ring around the checker
// that moves and, where it goes, the small die face of the move targets with the step's
// number. The main window marks a hint with them, the review window a play made and the play
// the engine prefers.
//
// Places are the board panel's own coordinates (boardgeometry.h), so a painter on the main
// window's panel or on a picture of the same size draws them where the checkers stand.

#include "gamerecord.h"

#include <QColor>
#include <QPixmap>
#include <QPoint>

#include <array>

#include <vector>

class QPainter;

struct PlayMark {
    QPoint from; // top left of the checker that moves
    QPoint to;   // top left of the place it goes to
    int die = 0; // the die the step uses
    int order = 1;
};

std::vector<PlayMark> playMarks(const bg::rec::Position& before, const bg::rec::Turn& turn);
// `withDice`: the die faces at the targets (the main board); otherwise rings and arrows only.
void paintPlayMarks(QPainter& p, const std::vector<PlayMark>& marks, const QColor& colour,
                    bool withDice, qreal dpr);

// The board and checker pictures, painted once by whoever draws positions.
struct BoardPictures {
    explicit BoardPictures(qreal dpr);
    QPixmap board;
    std::array<QPixmap, 3> checker; // index 1, 2
};
// The board with the checkers of `pos`, as the main window places them.
void paintPosition(QPainter& p, const bg::rec::Position& pos, const BoardPictures& pictures);
