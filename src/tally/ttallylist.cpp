#include "ttallylist.h"

#include "appfiles.h"
#include "tallyfile.h"

#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}
std::string fileName(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QLabel* namedLabel(QWidget* parent, const char* name, const QString& text, const QString& spoken) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setAccessibleName(spoken);
    return l;
}

} // namespace

Ttallylist::Ttallylist(QWidget* parent, const QString& filePath)
    : QDialog(parent), m_path(filePath.isEmpty() ? bg::appFilePath(bg::kTallyFileName) : filePath) {
    setObjectName("Ttallylist");
    setWindowTitle("Backgammon - Tally List");
    setAccessibleName("Tally List");
    FormCreate();
}

Ttallylist::~Ttallylist() {
    FormDestroy();
}

void Ttallylist::buildControls() {
    auto* top = new QHBoxLayout(this);

    auto* tallyBox = new QGroupBox("Players Being Tallied", this);
    m_tally = new QListWidget(tallyBox);
    m_tally->setObjectName("listbox_tally");
    m_tally->setAccessibleName("Players Being Tallied");
    (new QVBoxLayout(tallyBox))->addWidget(m_tally);
    top->addWidget(tallyBox);

    auto* currentBox = new QGroupBox("Players In Current Game", this);
    m_checklist = new QListWidget(currentBox);
    m_checklist->setObjectName("checklist");
    m_checklist->setAccessibleName("Players In Current Game");
    (new QVBoxLayout(currentBox))->addWidget(m_checklist);
    top->addWidget(currentBox);

    auto* right = new QVBoxLayout;
    top->addLayout(right);

    auto* totals = new QGroupBox("Your Total Tally", this);
    auto* tg = new QGridLayout(totals);
    const char* captions[5] = {nullptr, "Total Games:", "Your Wins", "Var3:", "Var4:"};
    const char* spoken[5] = {nullptr, "Your total games", "Your total wins", "Var3", "Var4"};
    for (int i = 1; i <= 4; ++i) {
        auto* caption = new QLabel(captions[i], totals);
        m_mylabel[i] = namedLabel(totals, qPrintable(QString("mylabel_%1").arg(i)), "0", spoken[i]);
        tg->addWidget(caption, i, 0);
        tg->addWidget(m_mylabel[i], i, 1);
        if (i >= 3) { // spare counters, kept but not shown
            caption->hide();
            m_mylabel[i]->hide();
        }
    }
    right->addWidget(totals);

    auto* his = new QGroupBox(this);
    auto* hg = new QGridLayout(his);
    m_hisnametop = namedLabel(his, "label_hisnametop", QString(), "Opponent's tally");
    hg->addWidget(m_hisnametop, 0, 0, 1, 3);
    hg->addWidget(new QLabel("Total", his), 1, 1);
    hg->addWidget(new QLabel("Session", his), 1, 2);
    m_hisname = namedLabel(his, "label_hisname", "XX Wins:", "Opponent's wins");
    const QString rows[5] = {{}, "Number of Games", {}, "Your Wins:", "Neither Won:"};
    const QString rowSpoken[5] = {{}, "games", "opponent's wins", "your wins", "neither won"};
    for (int r = 1; r <= 4; ++r) {
        hg->addWidget(r == 2 ? m_hisname : new QLabel(rows[r], his), r + 1, 0);
        for (int session = 0; session <= 1; ++session) {
            const int n = r + 4 * session;
            m_label[n] = namedLabel(his, qPrintable(QString("label_%1").arg(n)), "0",
                                    (session ? "Session " : "Total ") + rowSpoken[r]);
            hg->addWidget(m_label[n], r + 1, 1 + session);
        }
    }
    right->addWidget(his);

    auto* buttons = new QHBoxLayout;
    auto* reset = new QPushButton("Reset Tally", this);
    reset->setObjectName("button_reset");
    reset->setAccessibleName("Reset Tally");
    auto* done = new QPushButton("Done", this);
    done->setObjectName("button_done");
    done->setAccessibleName("Done");
    buttons->addWidget(reset);
    buttons->addWidget(done);
    right->addLayout(buttons);

    m_grid = new QTableWidget(1, bg::kTallyColumns, this);
    m_grid->setObjectName("stringgrid_scores");
    m_grid->setAccessibleName("Tally records");
    m_grid->hide();

    connect(reset, &QPushButton::clicked, this, &Ttallylist::button_resetClick);
    connect(done, &QPushButton::clicked, this, &Ttallylist::button_doneClick);
    connect(m_checklist, &QListWidget::itemChanged, this, &Ttallylist::checklistClickCheck);
    connect(m_tally, &QListWidget::itemChanged, this, &Ttallylist::listbox_tallyClickCheck);
    connect(m_tally, &QListWidget::currentRowChanged, this, &Ttallylist::listbox_tallyClick);

    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

// The records count games whether or not the window was ever opened; its controls are built,
// and filled from the records, the first time it shows.
bool Ttallylist::ensureControls() {
    if (m_tally) return false;
    buildControls();
    fillControls();
    return true;
}

void Ttallylist::fillControls() {
    showTotals();
    m_filling = true;
    m_tally->clear();
    for (int r = 1; r <= m_records.opponentCount(); ++r)
        addTallyEntry(qs(m_records.cell(bg::tallycol::name, r)));
    m_filling = false;
    syncGrid();
}

// ---- the file ----------------------------------------------------------------------------------

void Ttallylist::FormCreate() {
    m_records = bg::TallyRecords();
    const bg::TallyLoad load = bg::loadTallyFile(fileName(m_path), m_records);
    if (load.failed) loadFailed(QString::fromLocal8Bit(load.error.c_str()), load.keptAs);
    if (m_tally) fillControls();
}

void Ttallylist::loadFailed(const QString& message, const std::string& keptAs) {
    QString text = message + "\n\n";
    if (!keptAs.empty()) {
        text += "The tally file was kept as " +
                QFileInfo(QFile::decodeName(keptAs.c_str())).fileName() + "; a new tally starts.";
    } else {
        m_saveAllowed = false;
        text += "The tally file could not be moved aside, so this run will not save the tally.";
    }
    auto* box =
        new QMessageBox(QMessageBox::Warning, "Backgammon", text, QMessageBox::Ok, parentWidget());
    box->setObjectName("tally_loaderror");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open(); // the program goes on starting
}

void Ttallylist::FormDestroy() {
    if (!m_saveAllowed) return;
    try {
        bg::saveTallyFile(fileName(m_path), m_records);
    } catch (...) {
        // Nothing to tell at the end of the program; the previous file is still in place.
    }
}

// ---- the lists ---------------------------------------------------------------------------------

// The list's rows are the records' opponent rows, in the same order.
int Ttallylist::tallyIndex(const QString& name) const {
    for (int r = 1; r <= m_records.opponentCount(); ++r)
        if (qs(m_records.cell(bg::tallycol::name, r)).compare(name, Qt::CaseInsensitive) == 0)
            return r - 1;
    return -1;
}

QStringList Ttallylist::opponentsNow() const {
    QStringList out;
    if (!m_seats) return out;
    const Seats seats = m_seats();
    std::vector<std::string> names;
    for (const QString& n : seats.names)
        names.push_back(n.toStdString());
    for (const std::string& n : bg::opponentsInGame(names, seats.myplayer))
        out << qs(n);
    return out;
}

void Ttallylist::addTallyEntry(const QString& name) {
    auto* item = new QListWidgetItem(name);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
    m_tally->addItem(item);
}

void Ttallylist::setChecklistMark(const QString& name, bool checked) {
    m_filling = true;
    for (int i = 0; i < m_checklist->count(); ++i)
        if (m_checklist->item(i)->text().compare(name, Qt::CaseInsensitive) == 0)
            m_checklist->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    m_filling = false;
}

void Ttallylist::loadchecklist() {
    if (!m_checklist) return;
    m_filling = true;
    m_checklist->clear();
    for (const QString& name : opponentsNow()) {
        auto* item = new QListWidgetItem(name);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(tallyIndex(name) >= 0 ? Qt::Checked : Qt::Unchecked);
        m_checklist->addItem(item);
    }
    m_filling = false;
}

void Ttallylist::checklistClickCheck(QListWidgetItem* item) {
    if (m_filling || !item) return;
    const QString name = item->text();
    if (tallyIndex(name) >= 0) return; // clearing the mark here does not stop the tally
    m_filling = true;
    addTallyEntry(name);
    item->setCheckState(Qt::Checked);
    m_filling = false;
    m_records.addOpponent(name.toStdString());
    syncGrid();
}

void Ttallylist::listbox_tallyClickCheck(QListWidgetItem* item) {
    if (m_filling || !item || item->checkState() == Qt::Checked) return;
    const QString name = item->text();
    if (!confirm("This will delete " + name + "'s Tally, Are you want to delete it?")) {
        m_filling = true;
        item->setCheckState(Qt::Checked);
        m_filling = false;
        return;
    }
    m_records.removeRow(m_tally->row(item) + 1);
    delete m_tally->takeItem(m_tally->row(item));
    setChecklistMark(name, false);
    syncGrid();
}

void Ttallylist::listbox_tallyClick() {
    if (!m_tally) return;
    const int row = m_tally->currentRow() + 1;
    if (row < 1 || row > m_records.opponentCount()) return;
    for (int c = 1; c < bg::kTallyColumns; ++c)
        m_label[c]->setText(qs(m_records.cell(c, row)));
    const QString name = qs(m_records.cell(bg::tallycol::name, row));
    m_hisname->setText(name + " Wins:");
    m_hisnametop->setText(name + "'s Tally");
}

// ---- counting ----------------------------------------------------------------------------------

void Ttallylist::addgame(const QString& winner) {
    std::vector<bg::TallyRecords::Present> present;
    for (const QString& name : opponentsNow()) {
        const int index = tallyIndex(name);
        if (index >= 0) present.push_back({index + 1, name.toStdString()});
    }
    m_records.addgame(winner.toStdString(), present);
    if (!m_tally) return;
    loadchecklist();
    showTotals();
    syncGrid();
    if (m_tally->currentRow() >= 0) listbox_tallyClick();
}

void Ttallylist::button_resetClick() {
    if (!confirm("Are you sure you want to reset the Tally?")) return;
    ensureControls();
    m_records.reset();
    showTotals();
    m_filling = true;
    m_tally->clear();
    for (int i = 0; i < m_checklist->count(); ++i)
        m_checklist->item(i)->setCheckState(Qt::Unchecked);
    m_filling = false;
    for (int c = 1; c < bg::kTallyColumns; ++c)
        m_label[c]->setText("0");
    syncGrid();
}

// ---- showing -----------------------------------------------------------------------------------

void Ttallylist::showEvent(QShowEvent* e) {
    ensureControls();
    loadchecklist(); // "View Tally" shows the players of the game as it is now
    if (QWidget* owner = parentWidget()) {
        adjustSize();
        move(owner->geometry().center() - rect().center());
    }
    QDialog::showEvent(e);
}

void Ttallylist::showTotals() {
    for (int c = 1; c <= 4; ++c)
        m_mylabel[c]->setText(qs(m_records.cell(c, 0)));
}

void Ttallylist::syncGrid() {
    const bg::StringGrid& g = m_records.grid();
    m_grid->setRowCount(g.rowCount());
    m_grid->setColumnCount(g.colCount());
    for (int r = 0; r < g.rowCount(); ++r)
        for (int c = 0; c < g.colCount(); ++c) {
            QTableWidgetItem* item = m_grid->item(r, c);
            if (!item) m_grid->setItem(r, c, item = new QTableWidgetItem);
            item->setText(qs(g.cell(c, r)));
        }
}

bool Ttallylist::confirm(const QString& question) {
    if (m_confirm) return m_confirm(question);
    return QMessageBox::question(this, "Backgammon", question,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}
