#pragma once
// The statement of the lookup dialog, built anew from the request and the text typed by the user.
#include <QStringList>

class TDatiRicerca;

// Empty text: the first 1000 rows with a value in the searched column. Any other text (blanks
// included): every row whose searched column contains it, ignoring case; an apostrophe in the text
// becomes "´" so it never ends the literal. The returned column comes first, rows in the order of
// the searched column. Table and column names are used as given.
QStringList SQLRicerca(const TDatiRicerca& dati, const QString& testo);
