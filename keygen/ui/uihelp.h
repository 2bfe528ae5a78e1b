// Small pieces the windows of keygen and keygengroup share.
#pragma once
#include "core/generator.h"

#include <QString>
#include <functional>

class QWidget;

namespace keygen {

// Position and size as designed, in twips.
void place(QWidget* w, int left, int top, int width, int height);
// The engine's message as a message box of the window.
void showMessage(QWidget* parent, const Message& m);
// Runs f on a double click into w (the runtime's DblClick of an input box).
void onDoubleClick(QWidget* w, std::function<void()> f);
// Centres a window on its screen, as the windows do when they load.
void centreOnScreen(QWidget* w);

}  // namespace keygen
