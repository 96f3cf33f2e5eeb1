#pragma once
// Closing windows as a person or the session does: the keys that close a companion program's
// window, and what follows a signal of the session (controls/SegnaliUscita.h).
class QWidget;

// Dismisses the boxes and dialogs open over `finestra` (every one, when it is null), innermost
// first, as Esc would; stops at one that refuses to close.
void ChiudiModali(QWidget* finestra = nullptr);

// Escape and Ctrl+W close `finestra`, wherever the focus is inside it.
void TastiChiusura(QWidget* finestra);

// A companion program at the end of the session: no box shows from now on (the program writes
// its messages on stderr as well), every box and dialog is dismissed and every window closed.
void ChiudiProgramma();
