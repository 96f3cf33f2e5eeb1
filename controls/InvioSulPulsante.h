#pragma once
// Enter on a push button that has the focus presses it, without the button ever becoming the
// dialog's default: Enter elsewhere in the dialog (in a table, or in a cell being edited) presses
// no button. For dialogs whose Enter belongs to their table rather than to a default button.
class QPushButton;

void InvioSulPulsante(QPushButton* pulsante);
