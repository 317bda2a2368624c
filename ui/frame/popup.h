#pragma once
// The shared popups (the notice, the number keypad) are made once and shown
// again and again. A window system without a window manager (X as the panel
// runs headless) keeps a hidden window's place in the stacking order, so a
// popup shown again after a newer page opened would come up under that page
// while its modal loop swallows every key.
class QWidget;

// Raises `popup` above every other window each time it is shown.
void raise_when_shown(QWidget* popup);
