#pragma once
// Statements of the reset to the base layout: it forgets the layout rows and the search dialog's
// stored positions of one project, situation and user.
#include <QStringList>

QStringList SQLCancellaAspetto(const QString& tabella, int situazione, int utente, int progetto);
// The position table is named as written, whatever table the grid keeps its positions in.
QStringList SQLCancellaPosizioni(int situazione, int utente, int progetto);
