// Option buttons as the suite's windows need them: a group in which no option may be chosen, in
// which choosing one from code runs its handler as a click does, and in which a click on the
// chosen option keeps it chosen. Qt's exclusive groups do neither of the first two.
#pragma once
#include <QObject>
#include <QRadioButton>
#include <vector>

namespace dz::ui {

class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    explicit OptionButton(const QString& caption, QWidget* parent = nullptr);

protected:
    void nextCheckState() override;
};

class OptionGroup : public QObject {
    Q_OBJECT
public:
    explicit OptionGroup(QObject* parent = nullptr) : QObject(parent) {}
    // Adds a button; returns its index.
    int add(OptionButton* b);
    OptionButton* button(int i) const { return i >= 0 && i < int(buttons_.size()) ? buttons_[size_t(i)] : nullptr; }
    int size() const { return int(buttons_.size()); }
    // Chooses option i as a click does (its handler runs); an index the group lacks does nothing.
    void setChosen(int i);
    // Leaves every option unchosen; no handler runs.
    void clear();
    // The chosen option, -1 when none.
    int chosen() const;

signals:
    // An option became chosen: by a click, the keyboard, assistive technology or code.
    void optionClicked(int index);

private:
    void onToggled(int index, bool on);
    std::vector<OptionButton*> buttons_;
    bool clearing_ = false;
};

}  // namespace dz::ui
