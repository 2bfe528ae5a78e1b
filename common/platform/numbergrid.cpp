#include "common/platform/numbergrid.h"

#include "common/core/folder.h"
#include "common/core/textfmt.h"
#include "common/platform/services.h"

#include <QEvent>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace dz::ui {

QPixmap gridImage(const QString& name, int size) {
    static QHash<QString, QPixmap> cache;
    const QString key = name.toLower() + QLatin1Char('/') + QString::number(size);
    if (auto it = cache.constFind(key); it != cache.constEnd()) return *it;
    QPixmap pm(programFile(name));
    if (pm.isNull()) {
        // A drawn mark, so that a marked cell shows as marked whatever the folder holds.
        pm = QPixmap(size, size);
        const QString n = name.toLower();
        const QColor fill = n.startsWith(QLatin1String("xxk")) ? QColor(30, 90, 200)
                            : n.startsWith(QLatin1String("tx")) ? QColor(0, 140, 60)
                            : n.startsWith(QLatin1String("tt")) ? QColor(90, 90, 200)
                                                                 : QColor(200, 30, 30);
        pm.fill(Qt::white);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(fill, std::max(2, size / 8)));
        const int m = size / 5;
        if (n.startsWith(QLatin1String("tt")) || n.startsWith(QLatin1String("xxk"))) {
            p.drawEllipse(m, m, size - 2 * m, size - 2 * m);
        } else {
            p.drawLine(m, m, size - m, size - m);
            p.drawLine(size - m, m, m, size - m);
        }
    }
    pm = pm.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    cache.insert(key, pm);
    return pm;
}

QString NumberGrid::unmarkedCaption(int n) { return str(n) + QLatin1Char(' '); }

namespace {
class HoverWatcher : public QObject {
public:
    HoverWatcher(QObject* parent, std::function<void(QEvent::Type)> f) : QObject(parent), f_(std::move(f)) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Enter || e->type() == QEvent::MouseMove || e->type() == QEvent::FocusOut)
            f_(e->type());
        return false;
    }

private:
    std::function<void(QEvent::Type)> f_;
};
}  // namespace

QPushButton* NumberGrid::makeButton(QWidget* parent, const QString& name, int left, int top, int size, int height) {
    if (height <= 0) height = size;
    auto* b = new QPushButton(parent);
    b->setObjectName(name);
    b->setGeometry(twips(left), twips(top), twips(size), twips(height));
    b->setIconSize(QSize(twips(size) - 6, twips(height) - 6));
    b->setAutoDefault(false);
    b->show();
    return b;
}

NumberGrid::NumberGrid(QWidget* parent, GridGeometry g) : QObject(parent), geo_(std::move(g)) {
    for (int n = 1; n <= 20; ++n) {
        const int c = n - 5 * ((n - 1) / 5);
        const int r = (n - 1) / 5;
        auto* b = makeButton(parent, geo_.cellName + QStringLiteral("(%1)").arg(n), geo_.cellLeft + geo_.pitch * c,
                             geo_.cellTop + geo_.pitch * r, geo_.cellSize);
        b->setText(unmarkedCaption(n));
        b->setToolTip(unmarkedCaption(n));
        cells_[n] = b;
        connect(b, &QPushButton::clicked, this, [this, n] {
            if (standard_) toggle(n);
            emit cellClicked(n);
        });
        if (!geo_.hoverEmphasis) continue;
        // The watcher belongs to the grid, not the cell: the grid goes before the cells when the
        // window is destroyed, and a cell's last focus-out must not reach a grid that is gone.
        b->installEventFilter(new HoverWatcher(this, [this, n](QEvent::Type t) {
            if (t == QEvent::FocusOut) {
                setEmphasis(n, false);
                return;
            }
            if (hover_) hover_->setText(str(n));
            cells_[n]->setFocus(Qt::MouseFocusReason);
            setEmphasis(n, true);
            emit cellHovered(n);
        }));
    }
    if (geo_.rowTools)
        for (int r = 1; r <= 4; ++r) {
            const int width = geo_.rowToolWidth > 0 ? geo_.rowToolWidth : geo_.rowToolSize;
            const int pitch = geo_.rowToolPitch > 0 ? geo_.rowToolPitch : geo_.pitch;
            auto* b = makeButton(parent, geo_.rowToolName + QStringLiteral("(%1)").arg(r - 1 + geo_.rowToolFirstElement),
                                 geo_.rowToolLeft, geo_.rowToolTop + pitch * (r - 1), width, geo_.rowToolSize);
            rowTools_[r] = b;
            connect(b, &QPushButton::clicked, this, [this, r] {
                if (standard_) invertRow(r);
                emit rowToolClicked(r);
            });
        }
    if (geo_.columnTools)
        for (int c = 1; c <= 5; ++c) {
            auto* b = makeButton(parent, geo_.columnToolName + QStringLiteral("(%1)").arg(c),
                                 geo_.columnToolLeft + geo_.pitch * (c - 1), geo_.columnToolTop, geo_.rowToolSize);
            colTools_[c] = b;
            connect(b, &QPushButton::clicked, this, [this, c] {
                if (standard_) invertColumn(c);
                emit columnToolClicked(c);
            });
        }
    if (geo_.extraCells)
        for (int p = 1; p <= 4; ++p) {
            auto* b = makeButton(parent, geo_.extraName + QStringLiteral("(%1)").arg(p), geo_.extraLeft + geo_.pitch * p,
                                 geo_.extraTop, geo_.cellSize);
            b->setText(unmarkedCaption(p));
            b->setToolTip(unmarkedCaption(p));
            extras_[p] = b;
            connect(b, &QPushButton::clicked, this, [this, p] {
                if (standard_) toggleExtra(p);
                emit extraClicked(p);
            });
        }
}

void NumberGrid::setEmphasis(int n, bool on) {
    QFont f = cells_[n]->font();
    f.setBold(on);
    cells_[n]->setFont(f);
}

void NumberGrid::showUnmarked(int n, const QString& caption) {
    if (!cell(n)) return;
    cells_[n]->setIcon(QIcon());
    cells_[n]->setStyleSheet(QString());
    cells_[n]->setText(caption);
    cellImage_[n] = false;
}

void NumberGrid::showImage(int n, const QString& imageName) {
    if (!cell(n)) return;
    cells_[n]->setText(QString());
    cells_[n]->setStyleSheet(QString());
    cells_[n]->setIcon(QIcon(gridImage(imageName, cells_[n]->iconSize().width())));
    cellImage_[n] = true;
}

void NumberGrid::showShown(int n) {
    if (!cell(n) || sel_.marked(n)) return;
    showImage(n, geo_.shownImage);
}

void NumberGrid::showColor(int n, const QColor& color, const QString& caption) {
    if (!cell(n)) return;
    cells_[n]->setIcon(QIcon());
    cells_[n]->setText(caption);
    cells_[n]->setStyleSheet(color.isValid() ? QStringLiteral("background-color: %1").arg(color.name()) : QString());
    cellImage_[n] = false;
}

void NumberGrid::showExtraImage(int p, const QString& imageName) {
    if (!extraCell(p)) return;
    extras_[p]->setText(QString());
    extras_[p]->setIcon(QIcon(gridImage(imageName, extras_[p]->iconSize().width())));
    extraImage_[p] = true;
}

void NumberGrid::showExtraUnmarked(int p) {
    if (!extraCell(p)) return;
    extras_[p]->setIcon(QIcon());
    extras_[p]->setText(unmarkedCaption(p));
    extraImage_[p] = false;
}

void NumberGrid::setMarked(int n, bool on) {
    if (n < 1 || n > 20) return;
    sel_.set(n, on);
    if (on)
        showImage(n, geo_.markImage);
    else
        showUnmarked(n, unmarkedCaption(n));
}

void NumberGrid::toggle(int n) {
    if (n < 1 || n > 20) return;
    setMarked(n, !sel_.marked(n));
    emit countChanged(sel_.count());
}

void NumberGrid::invertNumbers(int first, int step) {
    for (int n = first; n <= 20 && n < first + 5 * step; n += step) {
        // a tool unmarks to the bare digits, unlike a cell click
        const bool on = !sel_.marked(n);
        sel_.set(n, on);
        if (on)
            showImage(n, geo_.markImage);
        else
            showUnmarked(n, geo_.toolRestoresCaption ? unmarkedCaption(n) : QString::number(n));
    }
    emit countChanged(sel_.count());
}

void NumberGrid::invertRow(int r) {
    if (r >= 1 && r <= 4) invertNumbers((r - 1) * 5 + 1, 1);
}

void NumberGrid::invertColumn(int c) {
    if (c >= 1 && c <= 5) invertNumbers(c, 5);
}

void NumberGrid::toggleExtra(int p) {
    if (!extraCell(p)) return;
    // decided by what the cell shows, as a drawn draw's image counts too
    if (extraImage_[p]) {
        showExtraUnmarked(p);
        extraFlags_[p] = false;
    } else {
        showExtraImage(p, geo_.markImage);
        extraFlags_[p] = true;
    }
}

void NumberGrid::clearAll() {
    extraFlags_.fill(false);
    sel_.clear();
    for (int n = 1; n <= 20; ++n) showUnmarked(n, unmarkedCaption(n));
    for (int p = 1; p <= 4; ++p) showExtraUnmarked(p);
}

void NumberGrid::pickRandom(int k, Random& rng, bool clearExtras) {
    if (clearExtras) {
        clearAll();
    } else {
        sel_.clear();
        for (int n = 1; n <= 20; ++n) showUnmarked(n, unmarkedCaption(n));
    }
    sel_.pickRandom(k, rng);
    refresh();
    emit countChanged(sel_.count());
}

void NumberGrid::refresh() {
    for (int n = 1; n <= 20; ++n) {
        if (sel_.marked(n))
            showImage(n, geo_.markImage);
        else
            showUnmarked(n, unmarkedCaption(n));
    }
    for (int p = 1; p <= 4; ++p) {
        if (!extraCell(p)) continue;
        if (extraFlags_[p])
            showExtraImage(p, geo_.markImage);
        else
            showExtraUnmarked(p);
    }
}

}  // namespace dz::ui
