#pragma once
// A control's hint shown when the control takes the keyboard focus (Tab, Shift+Tab or its
// shortcut), as the mouse shows it on hover; it goes when the focus moves on.
class QWidget;

void MostraSuggerimentoAlFuoco(QWidget* controllo);
