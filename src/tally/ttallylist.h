#pragma once
// Ttallylist: the tally window. It owns the records of games against chosen opponents, loads
// them from the tally file when it is created and saves them when it is destroyed, and counts
// every finished game (addgame). The lists pick who is tallied: `checklist` holds the other
// players of the current game, `listbox_tally` the tallied opponents, one record row each.
//
// A tally file that cannot be read is moved aside (".damaged") before anything can overwrite
// it, and a message box says so; saving replaces the file only once the new one is complete.
// The controls are built the first time the window shows: most sessions never open it.

#include "tallyrecords.h"

#include <QDialog>
#include <QStringList>

#include <functional>
#include <string>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QTableWidget;

class Ttallylist : public QDialog {
    Q_OBJECT
  public:
    // The name labels of the board's seats (seat 1 first) and this player's seat.
    struct Seats {
        QStringList names;
        int myplayer = 0;
    };

    // Loads the tally file; an empty path means "Backgammontally.tld" where the settings live.
    explicit Ttallylist(QWidget* parent = nullptr, const QString& filePath = {});
    ~Ttallylist() override;

    void setSeatSource(std::function<Seats()> source) { m_seats = std::move(source); }
    // Yes/No questions go here when set (tests), otherwise to a modal box.
    void setConfirmHook(std::function<bool(const QString&)> hook) { m_confirm = std::move(hook); }

    const bg::TallyRecords& records() const { return m_records; }
    const QString& filePath() const { return m_path; }

    // Refills the players of the current game from the seats.
    void loadchecklist();
    // A game ended: `winner` is the winner's name, or "addtomine" when this player won.
    void addgame(const QString& winner);

    void FormCreate();
    void FormDestroy();
    void checklistClickCheck(QListWidgetItem* item);
    void listbox_tallyClickCheck(QListWidgetItem* item);
    void listbox_tallyClick();
    void button_resetClick();
    void button_doneClick() { close(); }
    // Builds the controls now if the window has never shown; true when it did.
    bool ensureControls();

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    void buildControls();
    void fillControls();
    // The other players of the current game, by the seats.
    QStringList opponentsNow() const;
    void loadFailed(const QString& message, const std::string& keptAs);
    bool confirm(const QString& question);
    int tallyIndex(const QString& name) const;
    void addTallyEntry(const QString& name);
    void setChecklistMark(const QString& name, bool checked);
    void showTotals();
    void syncGrid();

    QString m_path;
    bg::TallyRecords m_records;
    bool m_saveAllowed = true;
    bool m_filling = false; // check marks set by the program are no clicks
    std::function<Seats()> m_seats;
    std::function<bool(const QString&)> m_confirm;

    QListWidget* m_tally = nullptr;
    QListWidget* m_checklist = nullptr;
    QTableWidget* m_grid = nullptr;
    QLabel* m_mylabel[5] = {};
    QLabel* m_label[9] = {};
    QLabel* m_hisname = nullptr;
    QLabel* m_hisnametop = nullptr;
};
