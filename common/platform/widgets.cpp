#include "common/platform/widgets.h"

#include "common/core/cp1250.h"
#include "common/core/textfile.h"
#include "common/platform/services.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QKeyEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QVariant>
#include <QPushButton>
#include <QScrollBar>
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
