// Small pieces the windows of keygen and keygengroup share.
#pragma once
#include "keygen/core/generator.h"
#include "common/platform/widgets.h"

#include <QString>
#include <functional>

class QWidget;

namespace dz::keygen {

using dz::ui::centreOnScreen;
using dz::ui::onDoubleClick;
// Position and size as designed, in twips.
inline void place(QWidget* w, int left, int top, int width, int height) { dz::ui::placeTwips(w, left, top, width, height); }
// The engine's message as a message box of the window.
void showMessage(QWidget* parent, const Message& m);

}  // namespace dz::keygen
