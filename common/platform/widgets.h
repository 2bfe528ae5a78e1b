// Controls that the suite's windows use beyond Qt's own: a list over a model, a spin button,
// and hover hints.
#pragma once
#include "common/core/linesource.h"

#include <QAbstractListModel>
#include <QListView>
#include <QPersistentModelIndex>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QToolButton;

namespace dz::ui {

// Lines of a list, shown through a view; filled in one call for thousands of lines. They are either
// strings or a source that makes each line when it is read. Reading never changes which: only
// makeEditable(), which the line edits call, turns a source's lines into strings.
class LinesModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : count(); }
    // A view lays out a list by asking for the index of every line, twice a line: answered here
    // without the base class's calls back into rowCount and columnCount.
    QModelIndex index(int row, int column = 0, const QModelIndex& parent = {}) const override {
        return row >= 0 && column == 0 && !parent.isValid() && row < count() ? createIndex(row, 0) : QModelIndex();
    }
    QVariant data(const QModelIndex& index, int role) const override;
    int count() const { return source_ ? source_->count() : int(lines_.size()); }
    QString line(int row) const;
    // Every line, made for the caller when the lines come from a source (the model stays as it is).
    QStringList lines() const { return source_ ? allLines(*source_) : lines_; }
    const LineSource* source() const { return source_.get(); }
    std::shared_ptr<const LineSource> sharedSource() const { return source_; }
    void setLines(QStringList lines);
    void setSource(std::shared_ptr<const LineSource> source);
    // Turns a source's lines into strings for good, for a list edited line by line next.
    void makeEditable();
    // Where a line goes among lines in ascending byte order (after its equals), once editable.
    int sortedRow(const QString& line) const;
    void insertLine(int row, const QString& line);
    void appendLines(const QStringList& lines);
    void removeLine(int row);

private:
    QStringList lines_;
    std::shared_ptr<const LineSource> source_;
};

// A list box: items, a sorted mode (ascending byte order, duplicates kept), the top line, clicks
// and typed keys. Every line is as high as the last one's size hint (QListView's uniform item
// size), so a line's place is found by arithmetic: the overrides below stand in for QListView's own
// layout, which visits every line, and keep what it shows, scrolling by lines.
class ListBox : public QListView {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr, bool sorted = false);
    bool sorted() const { return sorted_; }

    int count() const { return model_->count(); }
    QString item(int i) const { return model_->line(i); }
    // Every line, made for the caller (a save, an export, an operation over the rows); a list over a
    // source stays so.
    QStringList items() const { return model_->lines(); }
    // The records behind the lines, when the list shows a source (nullptr otherwise).
    const LineSource* source() const { return model_->source(); }
    // The same, to show in another list (the lines are not made for it).
    std::shared_ptr<const LineSource> sharedSource() const { return model_->sharedSource(); }
    void clear() { setItems({}); }
    // Adds one line (at its place in a sorted list; a list over a source becomes editable); returns
    // its index.
    int addItem(const QString& line);
    // Replaces every line in one call (sorted in a sorted list).
    void setItems(QStringList lines);
    // Shows the lines of a source in its own order (a sorted list takes them sorted: debug builds
    // check it), in one call.
    void setSource(std::shared_ptr<const LineSource> source);
    void appendItems(const QStringList& lines);
    void removeItem(int i) { model_->removeLine(i); }
    // The selected line, -1 when none.
    int listIndex() const;
    void setListIndex(int i);
    // Scrolls so that line i is the first line shown (clamped).
    void setTopIndex(int i);
    int topIndex() const;

    QRect visualRect(const QModelIndex& index) const override;
    QModelIndex indexAt(const QPoint& p) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void doItemsLayout() override;
    void selectAll() override;

signals:
    void itemClicked(int index);
    void itemDoubleClicked(int index);
    // A typed character (its code), before the list handles the key itself.
    void keyTyped(int charCode);
    // A mouse button let go over the list, after the list has settled its selection for it.
    void mouseReleased();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    bool viewportEvent(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;
    QSize viewportSizeHint() const override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex&) const override { return false; }
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void verticalScrollbarValueChanged(int value) override;
    void horizontalScrollbarValueChanged(int value) override;

private:
    // Rows first..last (none when first > last).
    struct Rows {
        int first, last;
        bool empty() const { return first > last; }
    };
    QSize rowSize() const;
    // A line's place in the contents, as wide as the wider of its hint and the viewport.
    QRect contentRect(int row) const;
    // The rows a rect of the contents meets, as QListView's layout finds them.
    Rows rowsIn(const QRect& area, bool layOut = true) const;
    QItemSelection selectionIn(const QRect& area) const;
    // Of rows, the one nearest to row.
    QModelIndex nearest(int row, Rows rows) const;
    // Runs a pending layout, as QListView does before it tells where a line is.
    void layOutNow() const { const_cast<ListBox*>(this)->executeDelayedItemsLayout(); }
    // Gives the viewport its size for the scroll bars now (QListView's layout does the same).
    void placeViewport() { setViewportMargins(viewportMargins()); }
    // The line under the pointer, painted as hovered (where Qt sets its own).
    void hoverAt(const QPoint& p) { hover_ = indexAt(p); }

    LinesModel* model_;
    bool sorted_;
    mutable QSize rowSize_;
    QPersistentModelIndex hover_;
};

// Two arrows that step the box beside them; the owner does the stepping in its handlers.
class SpinButton : public QWidget {
    Q_OBJECT
public:
    explicit SpinButton(QWidget* parent = nullptr, Qt::Orientation orientation = Qt::Vertical);
    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }
signals:
    void spinUp();
    void spinDown();

private:
    QToolButton* up_;
    QToolButton* down_;
};

// Runs f whenever the pointer moves over w (the hints into a status label).
void onHover(QWidget* w, std::function<void()> f);
// Runs f on a double click into w (an input box's double click empties it); the click goes no further.
void onDoubleClick(QWidget* w, std::function<void()> f);
// Position and size as designed, in twips.
void placeTwips(QWidget* w, int left, int top, int width, int height);
// A named command button at its designed place (twips); it never takes the Enter key as a default.
QPushButton* commandButton(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                           int height = 375);
// Centres a window on its screen, as the windows do when they load.
void centreOnScreen(QWidget* w);
// Sets a count into a label of its designed size: a text that would not fit beside the label's
// indent is shown in a font just small enough that it does, so no digit is ever cut; a text that
// fits has the label's own font.
void setWholeText(QLabel* label, const QString& text);

}  // namespace dz::ui
