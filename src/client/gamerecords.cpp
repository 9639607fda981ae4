// The main window's part in game records: the move list window, the marks of the last play
// on the board, the game saved by itself when it ends, and the File menu's save and open.
// The record itself is the client state's (bg::rec::GameRecorder); nothing here decides what
// was played.

#include "appfiles.h"
#include "lastplayoutline.h"
#include "notation.h"
#include "recordfiles.h"
#include "replaywindow.h"
#include "tchat.h"
#include "windows/tmovelist.h"

#include <QFileDialog>
#include <QFileInfo>

void Tchat::syncRecord() {
    const bg::rec::GameRecorder& recorder = m_state.recorder();
    if (recorder.revision() == m_seenRecordRevision) return;
    m_seenRecordRevision = recorder.revision();
    const bg::rec::GameRecord& record = recorder.record();
    if (m_moveList) m_moveList->setLines(bg::rec::moveList(record));
    syncLastPlay();
    if (!recorder.hasGame() || !record.finished()) {
        m_recordSaved = false;
        return;
    }
    if (m_recordSaved) return;
    m_recordSaved = true;
    m_lastSavedRecord = recordfiles::saveInGamesFolder(record, QDateTime::currentDateTime());
}

void Tchat::syncLastPlay() {
    const bg::rec::Turn* play =
        m_markLastPlay && m_markLastPlay->isChecked() ? m_state.recorder().lastPlay() : nullptr;
    // A player sees the other side's play marked; a spectator sees every play.
    if (play && m_state.amSeatPlayer() && play->mover == m_state.myplayer()) play = nullptr;
    std::array<std::array<bool, bg::kPieces + 1>, 3> marked{};
    std::vector<int> left;
    if (play)
        for (const bg::rec::Step& s : play->steps) {
            if (bg::isPiece(s.piece)) marked[play->mover][s.piece] = true;
            if (s.origin == bg::rec::Origin::Point &&
                std::find(left.begin(), left.end(), s.from) == left.end())
                left.push_back(s.from);
        }
    // A point a moved checker went on from is not one it left the play from.
    if (play)
        std::erase_if(left, [&](int point) {
            return std::any_of(play->steps.begin(), play->steps.end(),
                               [&](const bg::rec::Step& s) { return s.to == point; });
        });
    for (int p = 1; p <= 2; ++p)
        for (int id = 1; id <= bg::kPieces; ++id) {
            if (m_shownMark[p][id] == marked[p][id]) continue;
            m_shownMark[p][id] = marked[p][id];
            m_pieces[p][id]->setPixmap(marked[p][id] ? m_markedCheckerPix[p] : m_checkerPix[p]);
            m_pieces[p][id]->setAccessibleDescription(marked[p][id] ? "Moved in the last play"
                                                                    : QString());
        }
    m_lastPlayOutline->setPoints(std::move(left));
}

const std::vector<int>& Tchat::lastPlayPoints() const {
    return m_lastPlayOutline->points();
}

void Tchat::MoveList1Click() {
    if (!m_moveList) {
        m_moveList = new Tmovelist(this);
        // Beside the board, not over it: the list is read while the game goes on.
        m_moveList->move(frameGeometry().right() + 8, y());
    }
    m_moveList->setLines(bg::rec::moveList(m_state.recorder().record()));
    m_moveList->show();
    m_moveList->raise();
    m_moveList->activateWindow();
}

QString Tchat::askFile(bool save, const QString& suggested) {
    if (m_fileDialogHook) return m_fileDialogHook(save, suggested);
    const QString filter = "Match files (*.mat);;All files (*)";
    return save ? QFileDialog::getSaveFileName(this, "Save Game Record As", suggested, filter)
                : QFileDialog::getOpenFileName(this, "Open Game Record", suggested, filter);
}

void Tchat::SaveGameRecordAs1Click() {
    const bg::rec::GameRecorder& recorder = m_state.recorder();
    if (!recorder.hasGame()) {
        showMessageBox("There is no game to save yet.");
        return;
    }
    const QDateTime now = QDateTime::currentDateTime();
    const QString path =
        askFile(true, bg::savedGamesFolder() + recordfiles::fileNameFor(recorder.record(), now));
    if (path.isEmpty()) return;
    const QString why =
        recordfiles::writeWhole(path, recordfiles::matchText(recorder.record(), now));
    if (!why.isEmpty()) showMessageBox("The game record could not be saved: " + why);
}

void Tchat::OpenGameRecord1Click() {
    const QString path = askFile(false, bg::savedGamesFolder());
    if (path.isEmpty()) return;
    const bg::rec::ReadResult r = recordfiles::readRecordFile(path);
    const QString name = QFileInfo(path).fileName();
    if (!r.ok()) {
        showMessageBox("\"" + name + "\" is not a game record this program can read: " +
                       QString::fromStdString(r.error) + ".");
        return;
    }
    auto* replay = new ReplayWindow(r.record, name, this);
    replay->show();
    replay->raise();
    replay->activateWindow();
}
