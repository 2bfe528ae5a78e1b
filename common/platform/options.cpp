#include "common/platform/options.h"

namespace dz::ui {

OptionButton::OptionButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {
    setAutoExclusive(false);
}

void OptionButton::nextCheckState() { setChecked(true); }

int OptionGroup::add(OptionButton* b) {
    const int i = int(buttons_.size());
    buttons_.push_back(b);
    connect(b, &QAbstractButton::toggled, this, [this, i](bool on) { onToggled(i, on); });
    return i;
}

void OptionGroup::setChosen(int i) {
    if (OptionButton* b = button(i)) b->setChecked(true);
}

void OptionGroup::clear() {
    clearing_ = true;
    for (auto* b : buttons_) b->setChecked(false);
    clearing_ = false;
}

int OptionGroup::chosen() const {
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i]->isChecked()) return int(i);
    return -1;
}

void OptionGroup::onToggled(int index, bool on) {
    if (!on || clearing_) return;
    // the others go out first, so the handler sees one option chosen
    clearing_ = true;
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (int(i) != index) buttons_[i]->setChecked(false);
    clearing_ = false;
    emit optionClicked(index);
}

}  // namespace dz::ui
