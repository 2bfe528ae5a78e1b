#include "common/platform/widgets.h"

#include "common/core/cp1250.h"
#include "common/core/textfile.h"
#include "common/platform/services.h"

#include <QAccessible>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QKeyEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QVariant>
#include <QPushButton>
#include <QScrollBar>
#include <QStylePainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace dz::ui {

QVariant LinesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count()) return {};
    // However long a line came in, the view lays out no more than a reader keeps of one; the
    // line itself stays whole.
    if (role == Qt::DisplayRole) {
        QString l = line(index.row());
        if (l.size() > qsizetype(kLineTextLimit)) l.truncate(qsizetype(kLineTextLimit));
        return l;
    }
    if (role == Qt::EditRole) return line(index.row());
    return {};
}

QString LinesModel::line(int row) const {
    if (row < 0 || row >= count()) return {};
    return source_ ? source_->line(row) : lines_[row];
}

void LinesModel::makeEditable() {
    if (!source_) return;
    // The same lines, so the views keep their rows: no reset.
    lines_ = allLines(*source_);
    source_.reset();
}

void LinesModel::setLines(QStringList lines) {
    beginResetModel();
    source_.reset();
    lines_ = std::move(lines);
    endResetModel();
}

void LinesModel::setSource(std::shared_ptr<const LineSource> source) {
    beginResetModel();
    lines_.clear();
    source_ = std::move(source);
    endResetModel();
}

int LinesModel::sortedRow(const QString& line) const {
    if (source_) return count();
    return int(std::upper_bound(lines_.begin(), lines_.end(), line, cp1250::less) - lines_.begin());
}

void LinesModel::insertLine(int row, const QString& line) {
    makeEditable();
    beginInsertRows({}, row, row);
    lines_.insert(row, line);
    endInsertRows();
}

void LinesModel::appendLines(const QStringList& lines) {
    if (lines.isEmpty()) return;
    makeEditable();
    beginInsertRows({}, int(lines_.size()), int(lines_.size() + lines.size() - 1));
    lines_ += lines;
    endInsertRows();
}

void LinesModel::removeLine(int row) {
    if (row < 0 || row >= count()) return;
    makeEditable();
    beginRemoveRows({}, row, row);
    lines_.removeAt(row);
    endRemoveRows();
}

ListBox::ListBox(QWidget* parent, bool sorted) : QListView(parent), model_(new LinesModel(this)), sorted_(sorted) {
    setModel(model_);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListView::clicked, this, [this](const QModelIndex& i) { emit itemClicked(i.row()); });
    connect(this, &QListView::doubleClicked, this, [this](const QModelIndex& i) { emit itemDoubleClicked(i.row()); });
}

int ListBox::addItem(const QString& line) {
    int row = count();
    if (sorted_) {
        model_->makeEditable();
        row = model_->sortedRow(line);
    }
    model_->insertLine(row, line);
    return row;
}

void ListBox::setItems(QStringList lines) {
    if (sorted_) std::stable_sort(lines.begin(), lines.end(), cp1250::less);
    model_->setLines(std::move(lines));
    // A list refilled from scratch shows its first line, as one cleared and filled again does.
    scrollToTop();
}

void ListBox::setSource(std::shared_ptr<const LineSource> source) {
#ifndef QT_NO_DEBUG
    if (sorted_ && source)
        for (int i = 1; i < source->count(); ++i)
            Q_ASSERT_X(!cp1250::less(source->line(i), source->line(i - 1)), "ListBox::setSource", "a sorted list takes sorted lines");
#endif
    model_->setSource(std::move(source));
    scrollToTop();
}

void ListBox::appendItems(const QStringList& lines) {
    if (sorted_) {
        QStringList all = model_->lines() + lines;
        setItems(std::move(all));
    } else {
        model_->appendLines(lines);
    }
}

int ListBox::listIndex() const {
    const QModelIndex i = currentIndex();
    return i.isValid() && selectionModel()->isSelected(i) ? i.row() : -1;
}

void ListBox::setListIndex(int i) {
    if (i < 0 || i >= count()) {
        clearSelection();
        return;
    }
    setCurrentIndex(model_->index(i));
}

void ListBox::setTopIndex(int i) {
    if (count() == 0) return;
    i = std::clamp(i, 0, count() - 1);
    scrollTo(model_->index(i), QAbstractItemView::PositionAtTop);
}

int ListBox::topIndex() const {
    const QModelIndex i = indexAt(QPoint(1, 1));
    return i.isValid() ? i.row() : 0;
}

void ListBox::mouseReleaseEvent(QMouseEvent* e) {
    // A click inside a selected block narrows the selection only on release, here.
    QListView::mouseReleaseEvent(e);
    emit mouseReleased();
}

void ListBox::keyPressEvent(QKeyEvent* e) {
    const QString t = e->text();
    if (!t.isEmpty()) emit keyTyped(t[0].unicode());
    QListView::keyPressEvent(e);
}

void ListBox::mouseMoveEvent(QMouseEvent* e) {
    // Where QAbstractItemView's own move sets its hovered line, before it may scroll.
    if (isVisible() && state() != ExpandingState && state() != CollapsingState && state() != DraggingState)
        hoverAt(e->position().toPoint());
    QListView::mouseMoveEvent(e);
}

bool ListBox::viewportEvent(QEvent* e) {
    switch (e->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
        hoverAt(static_cast<QHoverEvent*>(e)->position().toPoint());
        break;
    case QEvent::HoverLeave:
    case QEvent::Leave:
        hover_ = QPersistentModelIndex();
        break;
    default:
        break;
    }
    return QListView::viewportEvent(e);
}

void ListBox::verticalScrollbarValueChanged(int value) {
    QListView::verticalScrollbarValueChanged(value);
    const QPoint p = viewport()->mapFromGlobal(QCursor::pos());
    if (viewport()->rect().contains(p)) hoverAt(p);
}

void ListBox::horizontalScrollbarValueChanged(int value) {
    QListView::horizontalScrollbarValueChanged(value);
    const QPoint p = viewport()->mapFromGlobal(QCursor::pos());
    if (viewport()->rect().contains(p)) hoverAt(p);
}

QSize ListBox::rowSize() const {
    // As QListView's uniform size: the last line's hint, taken again after every layout.
    if (!rowSize_.isValid() && count() > 0) {
        const QModelIndex last = model_->index(count() - 1);
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        if (const QAbstractItemDelegate* d = itemDelegateForIndex(last)) rowSize_ = d->sizeHint(option, last);
    }
    return rowSize_;
}

QRect ListBox::contentRect(int row) const {
    const QSize s = rowSize();
    return QRect(0, row * s.height(), std::max(s.width(), viewport()->width()), s.height());
}

ListBox::Rows ListBox::rowsIn(const QRect& area, bool layOut) const {
    if (layOut) layOutNow();
    // From the row at the top (the last one when the top is just at the end) to the row at the
    // bottom; none left of the rows or outside them.
    const QRect a = area.normalized();
    const int n = count();
    const int h = rowSize().height();
    if (n == 0 || h <= 0 || a.right() < 0 || a.bottom() < 0 || qint64(a.top()) > qint64(n) * h) return {0, -1};
    return {std::clamp(a.top() / h, 0, n - 1), std::min(n - 1, a.bottom() / h)};
}

QItemSelection ListBox::selectionIn(const QRect& area) const {
    const Rows rows = rowsIn(area);
    QItemSelection s;
    if (!rows.empty()) s.select(model_->index(rows.first), model_->index(rows.last));
    return s;
}

QModelIndex ListBox::nearest(int row, Rows rows) const {
    return rows.empty() ? QModelIndex() : model_->index(std::clamp(row, rows.first, rows.last));
}

QRect ListBox::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != model() || index.parent() != rootIndex() || index.column() != modelColumn())
        return {};
    layOutNow();
    if (index.row() >= count()) return {};
    const QRect r = contentRect(index.row());
    return r.isValid() ? r.translated(-horizontalOffset(), -verticalOffset()) : r;
}

QModelIndex ListBox::indexAt(const QPoint& p) const {
    const Rows rows = rowsIn(QRect(p.x() + horizontalOffset(), p.y() + verticalOffset(), 1, 1));
    if (rows.empty()) return {};
    const QModelIndex i = model_->index(rows.last);
    return visualRect(i).contains(p) ? i : QModelIndex();
}

int ListBox::horizontalOffset() const { return horizontalScrollBar()->value(); }

int ListBox::verticalOffset() const {
    // The scroll bar counts lines.
    const int v = verticalScrollBar()->value();
    return count() > 0 ? v * rowSize().height() : v;
}

void ListBox::doItemsLayout() {
    // Nothing to place line by line: the row size is taken anew, and the scroll bars set.
    const State old = state();
    setState(ExpandingState);
    placeViewport();
    rowSize_ = QSize();
    QAbstractItemView::doItemsLayout();
    setState(old);
}

void ListBox::updateGeometries() {
    QScrollBar* across = horizontalScrollBar();
    QScrollBar* down = verticalScrollBar();
    const int n = count();
    if (geometry().isEmpty() || n <= 0) {
        across->setRange(0, 0);
        down->setRange(0, 0);
    } else {
        const QSize row = rowSize();
        const QSize contents(row.width(), n * row.height());
        // Across by pixels; with both bars shown as needed, no range while the row fits (beside the
        // vertical bar when that is needed), as QListView breaks the bars' show-and-hide loop.
        across->setSingleStep(row.width());
        across->setPageStep(viewport()->width());
        const QSize room = contentsRect().marginsRemoved(viewportMargins()).size();
        const bool downShown = contents.height() > room.height();
        const bool wide = contents.width() > room.width() - (downShown ? down->width() : 0);
        const bool bothAsNeeded = verticalScrollBarPolicy() == Qt::ScrollBarAsNeeded &&
                                  horizontalScrollBarPolicy() == Qt::ScrollBarAsNeeded;
        across->setRange(0, bothAsNeeded && !wide ? 0 : contents.width() - viewport()->width());
        // Down by lines: a page is the lines that fit whole; at the maximum the last line is at the
        // bottom.
        const int page = contents.height() <= viewport()->height() ? n + 1 : viewport()->height() / row.height();
        down->setSingleStep(1);
        down->setPageStep(page);
        down->setRange(0, n - page);
    }
    QAbstractItemView::updateGeometries();
    placeViewport();
}

QSize ListBox::viewportSizeHint() const {
    const int n = count();
    if (n == 0) return QAbstractItemView::viewportSizeHint();
    const QSize row = rowSize();
    return QSize(row.width(), n * row.height());
}

void ListBox::scrollContentsBy(int dx, int dy) {
    // QListView's own stops a click's delayed scroll; over its empty layout it moves nothing.
    QListView::scrollContentsBy(0, 0);
    const int n = count();
    if (n == 0) return;
    const int now = std::clamp(verticalScrollBar()->value(), 0, n);
    viewport()->scroll(dx, (std::clamp(now + dy, 0, n) - now) * rowSize().height());
}

void ListBox::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (index.parent() != rootIndex() || index.column() != modelColumn()) return;
    const QRect rect = visualRect(index);
    const QRect area = viewport()->rect();
    if (hint == EnsureVisible && area.contains(rect)) {
        viewport()->update(rect);
        return;
    }
    // By lines, as QListView scrolls a list that scrolls per item.
    if (hint == EnsureVisible && rect.top() < area.top())
        hint = PositionAtTop;
    else if (hint == EnsureVisible && rect.bottom() > area.bottom())
        hint = PositionAtBottom;
    int value = std::clamp(verticalScrollBar()->value(), 0, count());
    const int row = index.row();
    const int h = rowSize().height();
    if (hint != EnsureVisible && row >= 0 && h > 0) {
        // the lines that fit whole above and with this one
        const int fit = 1 + std::min(row, std::max(0, area.height() - rect.height()) / h);
        if (hint == PositionAtTop)
            value = row;
        else if (hint == PositionAtBottom)
            value = row - fit + 1;
        else if (hint == PositionAtCenter)
            value = row - fit / 2;
    }
    verticalScrollBar()->setValue(value);
}

QModelIndex ListBox::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    // QListView's moves over one column of lines, all of them enabled.
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return model_->index(0);
    const int row = current.row();
    if (action == MoveUp || action == MovePrevious) return row > 0 ? model_->index(row - 1) : current;
    if (action == MoveDown || action == MoveNext) return row + 1 < count() ? model_->index(row + 1) : current;
    layOutNow();
    const QRect initial = contentRect(row);
    if (initial.isEmpty()) return model_->index(0);
    QRect rect = initial;
    const int page = viewport()->height();
    const int end = count() * initial.height();
    QModelIndex found = current;
    Rows rows{0, -1};
    switch (action) {
    case MovePageUp:
        // the farthest line above whose top stays in a page of this one's bottom
        if (rect.height() >= page) return moveCursor(MoveUp, modifiers);
        rect.moveTop(rect.top() - page + 1);
        if (rect.top() < rect.height()) {
            rect.setTop(0);
            rect.setBottom(1);
        }
        while (rows.empty() || contentRect(found.row()).top() <= initial.bottom() - page || rect.top() <= 0) {
            rect.translate(0, 1);
            if (rect.bottom() <= 0) return current;
            rows = rowsIn(rect);
            found = nearest(row, rows);
        }
        return found;
    case MovePageDown:
        if (rect.height() >= page) return moveCursor(MoveDown, modifiers);
        rect.moveTop(rect.top() + page - 1);
        if (rect.bottom() > end - rect.height()) {
            rect.setTop(end - 1);
            rect.setBottom(end);
        }
        while (rows.empty() || contentRect(found.row()).bottom() >= page + initial.top() || rect.bottom() > end) {
            rect.translate(0, -1);
            if (rect.top() >= end) return current;
            rows = rowsIn(rect);
            found = nearest(row, rows);
        }
        return found;
    case MoveHome:
        return model_->index(0);
    case MoveEnd:
        return model_->index(count() - 1);
    default:
        return current;  // nothing beside a line
    }
}

void ListBox::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    if (!selectionModel()) return;
    const QPoint offset(horizontalOffset(), verticalOffset());
    auto lineAt = [&](const QPoint& p) {
        const Rows rows = rowsIn(QRect(p + offset, QSize(1, 1)));
        return rows.empty() ? QModelIndex() : model_->index(rows.last);
    };
    QItemSelection selection;
    if (rect.width() == 1 && rect.height() == 1) {
        const QModelIndex i = lineAt(rect.topLeft());
        if (i.isValid()) selection.select(i, i);
    } else if (state() == DragSelectingState) {
        selection = selectionIn(rect.translated(offset));  // the lines the dragged rect meets
    } else {
        // From the line at one corner to the line at the other, as QListView merges them.
        const QModelIndex from = lineAt(rect.topLeft()), to = lineAt(rect.bottomRight());
        if (from.isValid() && to.isValid()) {
            QRect first = contentRect(from.row()), last = contentRect(to.row());
            if (first.bottom() < last.top())
                first.setBottom(last.top() - 1);
            else
                last.setBottom(first.top() - 1);
            selection.merge(selectionIn(first), QItemSelectionModel::Select);
            selection.merge(selectionIn(last), QItemSelectionModel::Select);
        }
    }
    selectionModel()->select(selection, command);
}

void ListBox::selectAll() {
    // QListView's visits every line for hidden ones; this list hides none.
    if ((selectionMode() == ExtendedSelection || selectionMode() == MultiSelection) && selectionModel() && count() > 0)
        selectionModel()->select(QItemSelection(model_->index(0), model_->index(count() - 1)),
                                 QItemSelectionModel::ClearAndSelect);
    else
        QListView::selectAll();
}

QRegion ListBox::visualRegionForSelection(const QItemSelection& selection) const {
    QRegion region;
    const QRect shown = viewport()->rect();
    for (const QItemSelectionRange& r : selection) {
        if (!r.isValid() || r.parent() != rootIndex()) continue;
        const QRect rect(visualRect(model_->index(r.top())).topLeft(), visualRect(model_->index(r.bottom())).bottomRight());
        if (shown.intersects(rect)) region += rect;
    }
    return region;
}

void ListBox::paintEvent(QPaintEvent* e) {
    // The lines in the rect, each through its delegate, in the states QListView gives them.
    if (!itemDelegate()) return;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    QStylePainter painter(viewport());
    const Rows rows = rowsIn(e->rect().translated(horizontalOffset(), verticalOffset()), false);
    const QModelIndex current = currentIndex();
    const bool focus = (hasFocus() || viewport()->hasFocus()) && current.isValid();
    const QStyle::State state = option.state;
    const int maxWidth = std::max(viewport()->width(), rowSize().width());
    for (int row = rows.first; row <= rows.last; ++row) {
        const QModelIndex index = model_->index(row);
        option.rect = visualRect(index);
        option.rect.setWidth(std::min(maxWidth, option.rect.width()));
        option.state = state;
        if (selectionModel() && selectionModel()->isSelected(index)) option.state |= QStyle::State_Selected;
        if (state & QStyle::State_Enabled) option.palette.setCurrentColorGroup(QPalette::Normal);
        if (focus && current == index) {
            option.state |= QStyle::State_HasFocus;
            if (this->state() == EditingState) option.state |= QStyle::State_Editing;
        }
        option.state.setFlag(QStyle::State_MouseOver, index == hover_);
        if (alternatingRowColors()) {
            option.features.setFlag(QStyleOptionViewItem::Alternate, row & 1);
            const QStyle::State was = option.state;
            option.state &= ~QStyle::State_Selected;
            painter.drawPrimitive(QStyle::PE_PanelItemViewRow, option);
            option.state = was;
        }
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}

void ListBox::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QAbstractItemView::currentChanged(current, previous);
    // As QListView tells assistive technology, the line being its row.
    if (QAccessible::isActive() && current.isValid()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(current.row());
        QAccessible::updateAccessibility(&event);
    }
}

void ListBox::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    if (QAccessible::isActive()) {
        // The first line of each, without listing every line of a range.
        const std::pair<const QItemSelection*, QAccessible::Event> changes[] = {{&selected, QAccessible::SelectionAdd},
                                                                               {&deselected, QAccessible::SelectionRemove}};
        for (const auto& [lines, type] : changes) {
            const auto r = std::find_if(lines->begin(), lines->end(), [](const QItemSelectionRange& x) { return x.isValid(); });
            if (r == lines->end()) continue;
            QAccessibleEvent event(this, type);
            event.setChild(r->top());
            QAccessible::updateAccessibility(&event);
        }
    }
    QAbstractItemView::selectionChanged(selected, deselected);
}

SpinButton::SpinButton(QWidget* parent, Qt::Orientation o) : QWidget(parent) {
    up_ = new QToolButton(this);
    down_ = new QToolButton(this);
    up_->setArrowType(o == Qt::Vertical ? Qt::UpArrow : Qt::RightArrow);
    down_->setArrowType(o == Qt::Vertical ? Qt::DownArrow : Qt::LeftArrow);
    up_->setAutoRepeat(true);
    down_->setAutoRepeat(true);
    auto* lay = o == Qt::Vertical ? static_cast<QBoxLayout*>(new QVBoxLayout(this)) : new QHBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    if (o == Qt::Vertical) {
        lay->addWidget(up_);
        lay->addWidget(down_);
    } else {
        lay->addWidget(down_);
        lay->addWidget(up_);
    }
    for (auto* b : {up_, down_}) b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    connect(up_, &QToolButton::clicked, this, &SpinButton::spinUp);
    connect(down_, &QToolButton::clicked, this, &SpinButton::spinDown);
}

namespace {
class HoverFilter : public QObject {
public:
    HoverFilter(QObject* parent, std::function<void()> f) : QObject(parent), f_(std::move(f)) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Enter || e->type() == QEvent::MouseMove || e->type() == QEvent::HoverMove) f_();
        return false;
    }

private:
    std::function<void()> f_;
};
}  // namespace

void onHover(QWidget* w, std::function<void()> f) {
    w->setMouseTracking(true);
    auto* filt = new HoverFilter(w, std::move(f));
    w->installEventFilter(filt);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) {
        area->viewport()->setMouseTracking(true);
        area->viewport()->installEventFilter(filt);
    }
}

namespace {
class DoubleClickFilter : public QObject {
public:
    DoubleClickFilter(QObject* parent, std::function<void()> f) : QObject(parent), f_(std::move(f)) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::MouseButtonDblClick) return false;
        f_();
        return true;
    }

private:
    std::function<void()> f_;
};
}  // namespace

void onDoubleClick(QWidget* w, std::function<void()> f) { w->installEventFilter(new DoubleClickFilter(w, std::move(f))); }

void setWholeText(QLabel* label, const QString& text) {
    // The label's own font, kept from the first call.
    static const char* const kOwnFont = "dz_ownFont";
    QVariant own = label->property(kOwnFont);
    if (!own.isValid()) {
        own = label->font();
        label->setProperty(kOwnFont, own);
    }
    QFont font = own.value<QFont>();
    const int room = label->contentsRect().width() - std::max(0, label->indent());
    for (int step = 0; step < 40 && QFontMetrics(font).horizontalAdvance(text) > room && font.pointSizeF() > 2; ++step)
        font.setPointSizeF(font.pointSizeF() * 0.95);
    label->setFont(font);
    label->setText(text);
}

void placeTwips(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(twips(left), twips(top), twips(width), twips(height));
}

QPushButton* commandButton(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                           int height) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    placeTwips(b, left, top, width, height);
    return b;
}

void centreOnScreen(QWidget* w) {
    QScreen* s = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    if (!s) return;
    const QRect g = s->availableGeometry();
    w->move(g.left() + (g.width() - w->frameGeometry().width()) / 2,
            g.top() + (g.height() - w->frameGeometry().height()) / 2);
}

}  // namespace dz::ui
