#pragma once
// ReviewWindow: a game reviewed by the analysis engine (review/gamereview.h). Above, the plot
// of both sides' winning chances turn by turn; below it, a row per turn with the mover, the
// throw, the play, the play the engine prefers, the winning chances given away and the mark;
// beside them, the selected turn's position on a small board painted with the main window's
// pictures, the play made marked in amber and the preferred play in blue; under them, each
// player's decisions, average loss, blunders and band.
//
// The review runs on a worker thread (analysisworker.h) and fills the rows as they come, with
// a progress bar and a Stop button; the game in the main window goes on meanwhile. The window
// maps the review's rows onto widgets and decides nothing itself.

#include "gamereview.h"
#include "playmarks.h"

#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class AnalysisWorker;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class QTreeWidget;
class WinningChancesPlot;

class ReviewWindow : public QWidget {
    Q_OBJECT
  public:
    ReviewWindow(const bg::rec::GameRecord& record, const QString& title,
                 QWidget* parent = nullptr);
    ~ReviewWindow() override;

    const std::vector<bg::review::ReviewRow>& rows() const { return m_rows; }
    int turns() const { return m_turns; }
    bool analysing() const;
    // Row index of the selected turn, -1 before any: the first turn while the review runs, the
    // costliest play once it is complete, unless a turn was picked before.
    int selected() const { return m_selected; }
    void select(int row);
    void stop();
    // The small board of the selected turn, as painted.
    QImage boardPicture() const;

  signals:
    // The review is complete or was stopped.
    void reviewEnded();

  private:
    void queueRow(const bg::review::ReviewRow& row);
    void flushRows();
    void addRow(const bg::review::ReviewRow& row);
    void showSummary();
    void paintBoard();
    void ended();

    bg::rec::GameRecord m_record;
    std::vector<bg::review::ReviewRow> m_rows;
    std::vector<bg::review::ReviewRow> m_pending; // come from the worker, not yet shown
    QTimer* m_flush = nullptr;
    int m_turns = 0;
    int m_selected = -1;
    bool m_userSelected = false; // a turn picked in the plot or the list, not by the window
    AnalysisWorker* m_worker = nullptr;
    WinningChancesPlot* m_plot = nullptr;
    QTreeWidget* m_list = nullptr;
    QLabel* m_board = nullptr;
    QLabel* m_legend = nullptr;
    QLabel* m_progressText = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_stop = nullptr;
    std::array<QLabel*, 3> m_summary{};
    std::unique_ptr<BoardPictures> m_pictures;
};
