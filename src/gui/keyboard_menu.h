#pragma once
// The Menu key and Shift+F10 open a control's pop-up menu, as a right click
// does: at the current item of a list, else in the middle of the control.

class QWidget;

namespace pictavo::gui {

// `widget` has Qt::CustomContextMenu; its customContextMenuRequested then
// also comes from the keyboard, in the coordinates a click would give
// (the viewport's for a list).
void OpenMenuFromKeyboard(QWidget* widget);

}  // namespace pictavo::gui
