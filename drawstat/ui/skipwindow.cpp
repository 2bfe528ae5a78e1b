#include "drawstat/ui/skipwindow.h"

#include "common/core/suite.h"
#include "common/core/draws.h"
#include "common/core/folder.h"
#include "drawstat/core/skips.h"
#include "drawstat/core/state.h"
#include "common/platform/dialogs.h"
#include "common/platform/services.h"

#include <QEvent>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

namespace dz::drawstat {

namespace {
const QColor kLightGrey(224, 224, 224);
const QColor kBlack(0, 0, 0);
const QColor kCellFace(150, 150, 150);

// The largest pixel size, down to a legible floor, at which a caption fits the cell between its
// borders: a count of five or more digits shrinks rather than being cut.
int fittingPixelSize(const QPushButton* cell, const QString& caption) {
    // From the window's font, so that a cell grows back once its caption is short again.
    QFont f = cell->parentWidget() ? cell->parentWidget()->font() : cell->font();
    f.setBold(cell->font().bold());
    const int room = cell->width() - 6;
    int px = QFontInfo(f).pixelSize();
    for (; px > 6; --px) {
        f.setPixelSize(px);
        if (QFontMetrics(f).horizontalAdvance(caption) <= room) break;
    }
    return px;
}

}  // namespace

SkipWindow::SkipWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("kihagyas"));
    setWindowTitle(QStringLiteral("  Életút, kihagyás.") + QString(state().texts.skipCaptionBlanks, QLatin1Char(' ')) + dz::signature());
    setFixedSize(dz::ui::twips(6540), dz::ui::twips(6600));

    dz::ui::GridGeometry g;
    g.cellLeft = -245;  // the hidden template one pitch left of column 1, which starts at 120
    g.cellTop = 240;
    grid = new dz::ui::NumberGrid(this, g);
    grid->setStandardClicks(false);
    connect(grid, &dz::ui::NumberGrid::cellClicked, this, &SkipWindow::Command3D2_Click);

    const int right = 120 + 5 * 365 + 240;
    Command3D3 = dz::ui::commandButton(this, "Command3D3", QStringLiteral("Mióta nem húzták"), right, 240, 1900);
    Text1 = new QLineEdit(QStringLiteral("1"), this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(dz::ui::twips(right), dz::ui::twips(705), dz::ui::twips(700), dz::ui::twips(330));
    dz::ui::onDoubleClick(Text1, [this] { Text1_DblClick(); });
    Spin1 = new dz::ui::SpinButton(this);
    Spin1->setObjectName(QStringLiteral("Spin1"));
    Spin1->setGeometry(dz::ui::twips(right + 720), dz::ui::twips(705), dz::ui::twips(255), dz::ui::twips(330));
    connect(Spin1, &dz::ui::SpinButton::spinUp, this, &SkipWindow::Spin1_SpinUp);
    connect(Spin1, &dz::ui::SpinButton::spinDown, this, &SkipWindow::Spin1_SpinDown);
    Command3D4 = dz::ui::commandButton(this, "Command3D4", QStringLiteral("Töröl"), right, 1170, 1900);
    Command3D5 = dz::ui::commandButton(this, "Command3D5", QStringLiteral("Életút"), right, 1635, 1900);
    Command3D1 = dz::ui::commandButton(this, "Command3D1", QStringLiteral("Vége"), right + 2100, 240, 1200);
    connect(Command3D3, &QPushButton::clicked, this, &SkipWindow::Command3D3_Click);
    connect(Command3D4, &QPushButton::clicked, this, &SkipWindow::Command3D4_Click);
    connect(Command3D5, &QPushButton::clicked, this, &SkipWindow::Command3D5_Click);
    connect(Command3D1, &QPushButton::clicked, this, &SkipWindow::Command3D1_Click);

    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    List1 = new dz::ui::ListBox(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(fixed);
    List1->setGeometry(dz::ui::twips(120), dz::ui::twips(2160), dz::ui::twips(3600), dz::ui::twips(4320));
    List2 = new dz::ui::ListBox(this);
    List2->setObjectName(QStringLiteral("List2"));
    List2->setFont(fixed);
    List2->setGeometry(dz::ui::twips(3900), dz::ui::twips(2160), dz::ui::twips(2520), dz::ui::twips(4320));

    Form_Load();
    dz::ui::nameControls(this);
}

void SkipWindow::open(QWidget* owner) {
    SkipWindow w(owner);
    w.exec();
}

void SkipWindow::Form_Load() {
    for (int n = 1; n <= 20; ++n) {
        caption_[size_t(n)] = dz::ui::NumberGrid::unmarkedCaption(n);
        color_[size_t(n)] = kLightGrey;
        paint(n);
    }
    numberView_ = true;
}

void SkipWindow::paint(int n) {
    QPushButton* cell = grid->cell(n);
    const QString& caption = caption_[size_t(n)];
    // Light grey figures need a darker face than the desktop's own to be read; black ones stand out on it.
    QString face = QStringLiteral("background-color: %1; border: 2px outset %2;")
                       .arg(kCellFace.name(), kCellFace.lighter(130).name());
    if (grid->selection().marked(n)) {
        grid->showImage(n, grid->geometry().markImage);
        // A marked cell in the since view shows its count over the picture: a caption beside an icon
        // would not fit the cell, so the picture becomes the face (when its file is there).
        const QString image = dz::programFile(grid->geometry().markImage);
        if (!caption.isEmpty() && QFileInfo(image).isFile()) {
            cell->setIcon(QIcon());
            face = QStringLiteral("border-image: url(\"%1\") 0 0 0 0 stretch stretch; border: 0px;").arg(image);
        }
        cell->setText(caption);
    } else {
        grid->showUnmarked(n, caption);
    }
    cell->setStyleSheet(QStringLiteral("QPushButton { color: %1; %2 padding: 0px; font-size: %3px; }")
                            .arg(color_[size_t(n)].name(), face)
                            .arg(fittingPixelSize(cell, caption)));
}

void SkipWindow::Command3D2_Click(int n) {
    if (n < 1 || n > 20) return;
    auto& sel = grid->selection();
    if (sel.marked(n)) {
        sel.set(n, false);
        caption_[size_t(n)] = dz::ui::NumberGrid::unmarkedCaption(n);
        paint(n);
        if (!numberView_) Command3D3_Click();
    } else {
        sel.set(n, true);
        caption_[size_t(n)].clear();
        paint(n);
    }
}

void SkipWindow::Command3D3_Click() {
    const auto t = sinceThreshold(Text1->text());
    if (t.text != Text1->text()) Text1->setText(t.text);
    const auto& st = state();
    const auto since = drawsSince(st.drawCount, st.lastAppearance);
    for (int n = 1; n <= 20; ++n) {
        const long long v = since[size_t(n)];
        caption_[size_t(n)] = QString::number(v);
        color_[size_t(n)] = double(v) >= t.value ? kBlack : kLightGrey;
        paint(n);
    }
    numberView_ = false;
}

void SkipWindow::Spin1_SpinUp() {
    Text1->setText(spinThreshold(Text1->text(), +1));
    Command3D3_Click();
}

void SkipWindow::Spin1_SpinDown() {
    Text1->setText(spinThreshold(Text1->text(), -1));
    Command3D3_Click();
}

void SkipWindow::Text1_DblClick() { Text1->clear(); }

void SkipWindow::Command3D4_Click() {
    for (int n = 1; n <= 20; ++n) {
        grid->selection().set(n, false);
        caption_[size_t(n)] = dz::ui::NumberGrid::unmarkedCaption(n);
        color_[size_t(n)] = kLightGrey;
        paint(n);
    }
    numberView_ = true;
}

void SkipWindow::Command3D5_Click() {
    const auto& sel = grid->selection();
    if (sel.count() != 1) {
        dz::ui::message(this, QStringLiteral("Pontosan egy számot kell kijelölni (click) !"), dz::ui::Icon::Critical,
                        dz::signature());
        return;
    }
    int m = 1;
    while (m <= 20 && !sel.marked(m)) ++m;
    const auto& st = state();
    dz::ui::BusyCursor busy;
    auto file = dz::DrawFile::load(st.drawFilePath());
    if (!file) return;
    // The partial-day build lists every appearance of its file; drawstat the ones after W.
    const long long listFrom = st.rules.lifePathListsAll ? 0 : st.windowStart;
    auto r = lifePath(*file, m, listFrom);
    List1->setSource(std::move(r.appearances));
    List1->setTopIndex(List1->count() - 14);
    List2->setItems(std::move(r.distribution));
    List2->setTopIndex(List2->count() - 13);
}

void SkipWindow::Command3D1_Click() { close(); }

}  // namespace dz::drawstat
