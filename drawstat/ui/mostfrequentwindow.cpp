#include "drawstat/ui/mostfrequentwindow.h"

#include "common/core/suite.h"
#include "drawstat/core/mostfrequent.h"
#include "drawstat/core/state.h"
#include "common/core/textfmt.h"
#include "common/platform/services.h"

#include <QEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace dz::drawstat {

namespace {
QPointer<MostFrequentWindow> g_loaded;

// The hourglass on this window only, for as long as the count runs.
class WindowBusy {
public:
    explicit WindowBusy(QWidget* w) : w_(w) { w_->setCursor(Qt::WaitCursor); }
    ~WindowBusy() { w_->unsetCursor(); }
    WindowBusy(const WindowBusy&) = delete;
    WindowBusy& operator=(const WindowBusy&) = delete;

private:
    QWidget* w_;
};
}  // namespace

MostFrequentWindow::MostFrequentWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("leggyak"));
    setWindowTitle(QStringLiteral(" Visszamenőleg: számok, párok, triádok. ") + QLatin1String(dz::kSignature));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(dz::ui::twips(13020), dz::ui::twips(6600));

    Label1 = new QLabel(QStringLiteral("Visszamenőleg :"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(dz::ui::twips(120), dz::ui::twips(165), dz::ui::twips(1500), dz::ui::twips(285));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(dz::ui::twips(1680), dz::ui::twips(120), dz::ui::twips(1000), dz::ui::twips(330));
    dz::ui::onDoubleClick(Text1, [this] { Text1_DblClick(); });
    Command1 = new QPushButton(QStringLiteral("Kezdés"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(dz::ui::twips(2880), dz::ui::twips(105), dz::ui::twips(1200), dz::ui::twips(375));
    Command2 = new QPushButton(QStringLiteral("Kilép"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(dz::ui::twips(4200), dz::ui::twips(105), dz::ui::twips(1200), dz::ui::twips(375));
    for (auto* b : {Command1, Command2}) b->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &MostFrequentWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &MostFrequentWindow::Command2_Click);

    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    struct Layout {
        dz::ui::ListBox** list;
        const char* name;
        bool sorted;
        int width;
    };
    const Layout layouts[] = {{&List5, "List5", false, 1500}, {&List6, "List6", true, 1600}, {&List1, "List1", false, 2000},
                          {&List2, "List2", true, 2200},  {&List3, "List3", false, 2400}, {&List4, "List4", true, 2600}};
    int left = 120;
    for (const Layout& s : layouts) {
        auto* l = new dz::ui::ListBox(this, s.sorted);
        l->setObjectName(QLatin1String(s.name));
        l->setFont(fixed);
        l->setGeometry(dz::ui::twips(left), dz::ui::twips(600), dz::ui::twips(s.width), dz::ui::twips(5850));
        *s.list = l;
        left += s.width + 60;
    }
    dz::ui::nameControls(this);
}

MostFrequentWindow* MostFrequentWindow::instance() { return g_loaded.data(); }

void MostFrequentWindow::open(QWidget* owner) {
    if (!g_loaded) {
        g_loaded = new MostFrequentWindow(owner);
    }
    g_loaded->show();
    g_loaded->raise();
    g_loaded->activateWindow();
}

void MostFrequentWindow::Command1_Click() {
    const double l = dz::val(Text1->text());
    if (l == 0) return;
    const auto& st = state();
    WindowBusy busy(this);
    const auto file = dz::DrawFile::load(st.drawFilePath());
    if (!file) return;
    auto r = frequencyLists(countFrequencies(*file, firstCountedDraw(st.drawCount, l)));
    List5->setItems(std::move(r.numbers));
    List6->setItems(std::move(r.numbersRanked));
    List1->setItems(std::move(r.pairs));
    List2->setItems(std::move(r.pairsRanked));
    List3->setItems(std::move(r.triples));
    List4->setItems(std::move(r.triplesRanked));
}

void MostFrequentWindow::Command2_Click() { hide(); }

void MostFrequentWindow::Text1_DblClick() { Text1->clear(); }

}  // namespace dz::drawstat
