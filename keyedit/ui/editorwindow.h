// The key list editor window: the file description list, the probe box, the left and right
// lists, loading, copying back, saving, and the row edits.
#pragma once
#include "keyedit/core/rowedits.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace dz::ui {
class ListBox;
}

namespace dz::keyedit {

class KeyEditorWindow : public QWidget {
    Q_OBJECT
public:
    explicit KeyEditorWindow(QWidget* parent = nullptr);

    void Form_Load();
    void List1_Click(int index);
    void List1_DblClick(int index);
    void List2_Click(int index);
    void List2_MouseUp();
    void Text7_Click();        // also the key-up of the probe box
    void Command3D1_Click();  // "Betölt"
    void Command3D2_Click();  // "<- Vissza"
    void Command3D3_Click();  // "Kulcs ment"
    void Command3D4_Click();  // "Sor töröl"
    void Command3D5_Click();  // "Levág" from the left
    void Command3D6_Click();  // "Levág" from the right
    void Command3D7_Click();  // "Kivág"
    void Command3D8_Click();  // "Kilép"

    // The name the next open dialog shows.
    const QString& dialogFileName() const { return dialogFileName_; }

    ui::ListBox *List1 = nullptr, *List2 = nullptr, *List3 = nullptr, *List4 = nullptr;
    QLineEdit *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr, *Text4 = nullptr, *Text5 = nullptr,
              *Text6 = nullptr, *Text7 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr,
           *Label6 = nullptr, *Label7 = nullptr, *Label8 = nullptr, *Label9 = nullptr, *Label10 = nullptr,
           *Label11 = nullptr;
    QPushButton *Command3D1 = nullptr, *Command3D2 = nullptr, *Command3D3 = nullptr, *Command3D4 = nullptr,
                *Command3D5 = nullptr, *Command3D6 = nullptr, *Command3D7 = nullptr, *Command3D8 = nullptr;
    QLabel* Panel3D1 = nullptr;

protected:
    void mouseMoveEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildWindow();
    void showCounts();
    void showCut(Refusal r, const QStringList& result);

    QString dialogFileName_;
};

}  // namespace dz::keyedit
