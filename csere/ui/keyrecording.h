// vazoz's key recording grid `kenorogz`: a key typed by hand into 999 rows of 8 numbers through
// the cell editor, rows inserted and removed, a key file loaded, and the grid saved as a key file
// with the last key file pointer. The main window opens it modally:
//
//     dz::csere::kenorogz w(this);
//     w.exec();
//
// It hands nothing back: its results are the saved key file and the pointer "filenev.txt".
#pragma once
#include "csere/core/recordgrid.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace dz::csere {

class RecordTableModel;

class KeyRecordingWindow : public QDialog {
    Q_OBJECT
public:
    explicit KeyRecordingWindow(QWidget* parent = nullptr);

    static QString caption();
    RecordGrid& grid() { return grid_; }
    const RecordGrid& grid() const { return grid_; }
    QTableView* table() const { return Grid1; }
    // The key file saved last from this window (empty before a save).
    const QString& savedFile() const { return saved_; }

    void Betolt_Click();      // "Betölt"
    void Command3D1_Click();  // "Sor beszúr"
    void Command3D2_Click();  // "Sor kihagy"
    void Command3D3_Click();  // "Rögzít és kilép"
    void Command3D4_Click();  // "Rögzít"
    void Command3D5_Click();  // "Mégsem"
    void Command3D6_Click();  // "Töröl"
    void Text3_LostFocus();

    // Keys and clicks as the grid and the editor receive them (the widgets call these).
    void editorKey(QKeyEvent* e, bool press);
    void gridKey(QKeyEvent* e, bool press);

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    // Shows the grid's state: cells, editor, current cell, scrolling and (when asked) the focus.
    void showState(bool moveFocus, bool keepSelection = false);
    bool save();
    // "Sor beszúr" and "Sor kihagy" on the grid's selection.
    using RowOp = std::optional<QString> (RecordGrid::*)(int, int, int);
    void rowCommand(RowOp op);

    RecordGrid grid_;
    RecordTableModel* model_;
    QTableView* Grid1;
    QLabel *Label7, *Label1, *corner_;
    QLineEdit *Text2, *Text3;
    QString saved_;
};

}  // namespace dz::csere
