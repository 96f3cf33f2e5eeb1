#pragma once
// Every message box of the program goes through this one interface, so tests can read and answer
// them. Four kinds with fixed buttons: error (OK), warning (OK), information (OK), confirmation (Yes, No).
#include <QString>

class QWidget;

class IMessageBoxes {
public:
    virtual ~IMessageBoxes() = default;
    virtual void Errore(QWidget* parent, const QString& text) = 0;
    virtual void Avviso(QWidget* parent, const QString& text) = 0;
    virtual void Informazione(QWidget* parent, const QString& text) = 0;
    virtual bool Conferma(QWidget* parent, const QString& text) = 0;  // true for Yes
};

// The boxes in use: QMessageBox unless a test installed its own (nullptr restores QMessageBox).
IMessageBoxes& MessageBoxes();
void SetMessageBoxes(IMessageBoxes* boxes);

// Boxes for a run that nobody watches: each text is written to stderr, one line per box after
// its title, and a confirmation is answered No. Nothing waits.
IMessageBoxes* MessageBoxesSuStderr();

// Boxes that show nothing, for a program that writes its messages on stderr itself and runs
// where nobody could answer a box (no screen, or a session that is ending). A confirmation is
// answered No.
IMessageBoxes* MessageBoxesMute();
