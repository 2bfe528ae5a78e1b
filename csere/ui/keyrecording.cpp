#include "csere/ui/keyrecording.h"

#include "common/core/suite.h"
#include "common/core/folder.h"
#include "common/core/keyfile.h"
#include "common/core/listexport.h"
#include "common/core/textfmt.h"
#include "common/core/textfile.h"
#include "common/platform/dialogs.h"
#include "common/platform/services.h"
#include "common/platform/widgets.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>

namespace dz::csere {

// The grid's cells as a table: rows 1..999 and columns 1..8 of the key, with their headers.
class RecordTableModel : public QAbstractTableModel {
public:
    RecordTableModel(RecordGrid& g, QObject* parent) : QAbstractTableModel(parent), g_(g) {}
    int rowCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : RecordGrid::kRows; }
    int columnCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : RecordGrid::kCols; }
    QVariant data(const QModelIndex& i, int role) const override {
        if (!i.isValid()) return {};
        if (role == Qt::DisplayRole) return QString::fromStdString(g_.text(i.row() + 1, i.column() + 1));
        if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
        return {};
    }
    QVariant headerData(int s, Qt::Orientation o, int role) const override {
        if (role == Qt::DisplayRole)
            return o == Qt::Horizontal ? QStringLiteral("%1").arg(s + 1, 2, 10, QLatin1Char('0')) : QString::number(s + 1);
        if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
        return {};
    }
    void refresh() { emit dataChanged(index(0, 0), index(RecordGrid::kRows - 1, RecordGrid::kCols - 1)); }

private:
    RecordGrid& g_;
};

namespace {

// The grid passes its keys to the window; digits and Enter never reach the table's own search.
class GridView : public QTableView {
public:
    GridView(KeyRecordingWindow* owner, QWidget* parent) : QTableView(parent), owner_(owner) {}

protected:
    void keyPressEvent(QKeyEvent* e) override {
        switch (e->key()) {
        case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_Left: case Qt::Key_Right:
        case Qt::Key_PageUp: case Qt::Key_PageDown: case Qt::Key_Home: case Qt::Key_End:
            QTableView::keyPressEvent(e);
            return;
        case Qt::Key_Escape:
            e->ignore();  // the window's Escape
            return;
        default:
            owner_->gridKey(e, true);
        }
    }
    void keyReleaseEvent(QKeyEvent* e) override { owner_->gridKey(e, false); }

private:
    KeyRecordingWindow* owner_;
};

// The cell editor: every key goes through the grid's key handling, nothing else edits it.
class CellEditor : public QLineEdit {
public:
    CellEditor(KeyRecordingWindow* owner, QWidget* parent) : QLineEdit(parent), owner_(owner) {
        setContextMenuPolicy(Qt::NoContextMenu);
        setAcceptDrops(false);
        setDragEnabled(false);
    }

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Escape || e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) {
            e->ignore();  // the window's Escape, the focus chain
            return;
        }
        owner_->editorKey(e, true);
    }
    void keyReleaseEvent(QKeyEvent* e) override { owner_->editorKey(e, false); }
    void mousePressEvent(QMouseEvent* e) override {
        QLineEdit::mousePressEvent(e);
        end(false);  // typing always goes on at the end
    }

private:
    KeyRecordingWindow* owner_;
};

RecordGrid::Key keyOf(const QKeyEvent* e, char& c) {
    c = 0;
    switch (e->key()) {
    case Qt::Key_Return: case Qt::Key_Enter: return RecordGrid::Key::Enter;
    case Qt::Key_Backspace: return RecordGrid::Key::Backspace;
    case Qt::Key_Left: return RecordGrid::Key::Left;
    case Qt::Key_Right: return RecordGrid::Key::Right;
    case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_PageUp: case Qt::Key_PageDown: case Qt::Key_Home:
    case Qt::Key_End:
        return RecordGrid::Key::Navigate;
    default:
        break;
    }
    const QString t = e->text();
    // Keypad digits carry the same text; anything without one character of text is dropped as 0x01.
    c = t.size() == 1 && t[0].unicode() < 128 ? char(t[0].unicode()) : char(1);
    return RecordGrid::Key::Char;
}

void critical(QWidget* parent, const QString& text) {
    dz::ui::message(parent, text, dz::ui::Icon::Critical, dz::signature());
}

dz::ui::FileDialogRequest keyDialog(bool save) {
    dz::ui::FileDialogRequest r;
    r.save = save;
    r.startFolder = dz::programFolder();
    r.fileName = QStringLiteral("tkulcs.txt");
    r.filterIndex = 0;
    if (save) {
        r.defaultSuffix = QStringLiteral("txt");
        r.confirmOverwrite = true;
    }
    return r;
}

}  // namespace

QString KeyRecordingWindow::caption() { return QStringLiteral("  DIZOV kulcsok rögzítése"); }

KeyRecordingWindow::KeyRecordingWindow(QWidget* parent) : QDialog(parent) {
    dz::ui::BusyCursor busy;
    setObjectName(QStringLiteral("kenorogz"));
    setWindowTitle(caption());
    setFixedSize(dz::ui::twips(4830), dz::ui::twips(6240));

    model_ = new RecordTableModel(grid_, this);
    Grid1 = new GridView(this, this);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->setModel(model_);
    Grid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    Grid1->setTabKeyNavigation(false);
    Grid1->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    Grid1->setCornerButtonEnabled(false);
    Grid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid1->horizontalHeader()->setSectionsClickable(false);
    Grid1->horizontalHeader()->setDefaultSectionSize(dz::ui::twips(395));
    Grid1->horizontalHeader()->setFixedHeight(dz::ui::twips(300));
    Grid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid1->verticalHeader()->setDefaultSectionSize(dz::ui::twips(300));
    Grid1->verticalHeader()->setFixedWidth(dz::ui::twips(600));
    Grid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    dz::ui::placeTwips(Grid1, 255, 120, 4320, 4560);
    // The fixed corner cell "Ssz." over the table's corner.
    corner_ = new QLabel(QStringLiteral("Ssz."), Grid1);
    corner_->setAlignment(Qt::AlignCenter);
    const int fw = Grid1->frameWidth();
    corner_->setGeometry(fw, fw, Grid1->verticalHeader()->width(), Grid1->horizontalHeader()->height());

    auto* insert = dz::ui::commandButton(this, "Command3D1", QStringLiteral("Sor beszúr"), 120, 4800, 1335);
    auto* load = dz::ui::commandButton(this, "", QStringLiteral("Betölt"), 1575, 4800, 1335);
    load->setObjectName(QStringLiteral("Betölt"));
    Label7 = new QLabel(QStringLiteral("cella érték"), this);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setAutoFillBackground(true);
    Label7->setStyleSheet(QStringLiteral("background-color: yellow;"));
    Label7->setAlignment(Qt::AlignCenter);
    dz::ui::placeTwips(Label7, 3030, 4830, 1050, 315);
    Text2 = new CellEditor(this, this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setToolTip(QStringLiteral(" Számok bevitele "));
    dz::ui::placeTwips(Text2, 4110, 4800, 600, 375);

    auto* remove = dz::ui::commandButton(this, "Command3D2", QStringLiteral("Sor kihagy"), 120, 5250, 1335);
    auto* clear = dz::ui::commandButton(this, "Command3D6", QStringLiteral("Töröl"), 1575, 5250, 1335);
    auto* save = dz::ui::commandButton(this, "Command3D4", QStringLiteral("Rögzít"), 3030, 5250, 1680);
    save->setToolTip(QStringLiteral(" A kitöltött táblázat adatait rögzíti "));

    auto* cancel = dz::ui::commandButton(this, "Command3D5", QStringLiteral("Mégsem"), 120, 5700, 1335);
    cancel->setToolTip(QStringLiteral(" Rögzítés nélkül kilép"));
    Label1 = new QLabel(QStringLiteral("Sor vége"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    dz::ui::placeTwips(Label1, 1575, 5745, 795, 285);
    Text3 = new QLineEdit(QStringLiteral("8"), this);
    Text3->setObjectName(QStringLiteral("Text3"));
    dz::ui::placeTwips(Text3, 2400, 5700, 510, 375);
    auto* saveQuit = dz::ui::commandButton(this, "Command3D3", QStringLiteral("Rögzít és kilép"), 3030, 5700, 1680);

    connect(insert, &QPushButton::clicked, this, &KeyRecordingWindow::Command3D1_Click);
    connect(remove, &QPushButton::clicked, this, &KeyRecordingWindow::Command3D2_Click);
    connect(load, &QPushButton::clicked, this, &KeyRecordingWindow::Betolt_Click);
    connect(clear, &QPushButton::clicked, this, &KeyRecordingWindow::Command3D6_Click);
    connect(save, &QPushButton::clicked, this, &KeyRecordingWindow::Command3D4_Click);
    connect(saveQuit, &QPushButton::clicked, this, &KeyRecordingWindow::Command3D3_Click);
    connect(cancel, &QPushButton::clicked, this, &KeyRecordingWindow::Command3D5_Click);
    connect(Grid1, &QTableView::clicked, this, [this](const QModelIndex& i) {
        grid_.click(i.row() + 1, i.column() + 1);
        showState(true);
    });
    connect(Grid1, &QTableView::doubleClicked, this, [this](const QModelIndex& i) {
        grid_.doubleClick(i.row() + 1, i.column() + 1);
        showState(true);
    });
    // A click on a row's header selects the whole row (for "Sor beszúr" and "Sor kihagy") and
    // counts as a click on its first cell.
    connect(Grid1->verticalHeader(), &QHeaderView::sectionClicked, this, [this](int row) {
        grid_.click(row + 1, 0);
        showState(true, true);
    });
    Text3->installEventFilter(this);
    dz::ui::onDoubleClick(Text3, [this] { Text3->clear(); });

    setTabOrder(Text2, Grid1);
    showState(false);
    dz::ui::nameControls(this);
}

void KeyRecordingWindow::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    // Drawn: the editor has the focus.
    grid_.focusEditor();
    Text2->setFocus();
}

void KeyRecordingWindow::keyPressEvent(QKeyEvent* e) {
    // Escape leaves like "Mégsem", with its question.
    if (e->key() == Qt::Key_Escape) {
        Command3D5_Click();
        return;
    }
    QDialog::keyPressEvent(e);
}

bool KeyRecordingWindow::eventFilter(QObject* o, QEvent* e) {
    if (o == Text3 && e->type() == QEvent::FocusOut) Text3_LostFocus();
    return QDialog::eventFilter(o, e);
}

void KeyRecordingWindow::Text3_LostFocus() { Text3->setText(grid_.setRowLengthText(Text3->text())); }

void KeyRecordingWindow::showState(bool moveFocus, bool keepSelection) {
    model_->refresh();
    const QString ed = QString::fromStdString(grid_.editorText());
    if (Text2->text() != ed) Text2->setText(ed);
    const auto cur = grid_.current();
    const QModelIndex idx = model_->index(cur.row - 1, cur.col - 1);
    Grid1->selectionModel()->setCurrentIndex(
        idx, keepSelection ? QItemSelectionModel::NoUpdate : QItemSelectionModel::ClearAndSelect);
    if (grid_.scrollTop() > 0)
        Grid1->verticalScrollBar()->setValue(grid_.scrollTop() - 1);
    else
        Grid1->scrollTo(idx);
    if (moveFocus) {
        if (grid_.focus() == RecordGrid::Focus::Editor)
            Text2->setFocus();
        else
            Grid1->setFocus();
    }
}

void KeyRecordingWindow::editorKey(QKeyEvent* e, bool press) {
    char c;
    const RecordGrid::Key k = keyOf(e, c);
    if (k == RecordGrid::Key::Navigate) return;
    if (press) {
        if (!grid_.editorKeyPress(k, c)) return;  // dropped
    } else {
        if (e->isAutoRepeat() && k != RecordGrid::Key::Left && k != RecordGrid::Key::Right) return;
        grid_.editorKeyUp(k);
    }
    // The editor's own keys keep the focus where the grid's logic puts it (Enter: the grid).
    showState(true);
}

void KeyRecordingWindow::gridKey(QKeyEvent* e, bool press) {
    char c;
    const RecordGrid::Key k = keyOf(e, c);
    if (press) return;  // the table has moved its cursor already for the keys it keeps
    if (k == RecordGrid::Key::Navigate || k == RecordGrid::Key::Left || k == RecordGrid::Key::Right) {
        const QModelIndex i = Grid1->currentIndex();
        if (i.isValid()) grid_.gridMoved(i.row() + 1, i.column() + 1);
        showState(false, true);
        return;
    }
    grid_.gridKeyUp(k, c);
    showState(true);
}

void KeyRecordingWindow::rowCommand(RowOp op) {
    // The selected block: its first row and its first and last column (1-based; 0 when none).
    int top = 0, left = 0, right = 0;
    const QItemSelection sel = Grid1->selectionModel()->selection();
    if (!sel.isEmpty()) {
        top = sel.first().top();
        left = sel.first().left();
        right = sel.first().right();
        for (const auto& r : sel) {
            top = std::min(top, r.top());
            left = std::min(left, r.left());
            right = std::max(right, r.right());
        }
        ++top, ++left, ++right;
    }
    if (auto m = (grid_.*op)(top, left, right)) {
        critical(this, *m);
        return;
    }
    showState(false);
}

void KeyRecordingWindow::Command3D1_Click() { rowCommand(&RecordGrid::insertRow); }

void KeyRecordingWindow::Command3D2_Click() { rowCommand(&RecordGrid::removeRow); }

void KeyRecordingWindow::Command3D6_Click() {
    grid_.clearCells();
    model_->refresh();
}

void KeyRecordingWindow::Betolt_Click() {
    const auto path = dz::ui::fileDialog(this, keyDialog(false));
    if (!path) return;
    const auto items = RecordGrid::readFile(*path);
    if (!items) {
        critical(this, dz::key::cannotOpenMessage());
        return;
    }
    dz::ui::BusyCursor busy;
    setWindowTitle(dz::quotedPath(*path));
    const auto res = grid_.load(*items);
    showState(false);
    if (!res.message.isEmpty()) critical(this, res.message);
}

bool KeyRecordingWindow::save() {
    if (auto m = grid_.check()) {
        critical(this, *m);
        return false;
    }
    const auto path = dz::ui::fileDialog(this, keyDialog(true));
    if (!path) return false;
    const dz::key::KeySave s = dz::key::saveKey(*path, grid_.keyRows(), dz::programFolder());
    if (s == dz::key::KeySave::Failed) {
        critical(this, dz::saveFailedMessage(*path));
        return false;
    }
    saved_ = *path;
    if (s == dz::key::KeySave::PointerFailed) critical(this, dz::key::pointerFailedMessage());
    return true;
}

void KeyRecordingWindow::Command3D4_Click() { save(); }

void KeyRecordingWindow::Command3D3_Click() {
    if (save()) accept();
}

void KeyRecordingWindow::Command3D5_Click() {
    if (dz::ui::message(this, QStringLiteral("Biztos, hogy mentés nélkül lép ki ?"), dz::ui::Icon::Critical, dz::signature(),
                        dz::ui::Buttons::OkCancel) == dz::ui::Answer::Ok)
        reject();
}

}  // namespace dz::csere
