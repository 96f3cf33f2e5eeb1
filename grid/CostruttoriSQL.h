#pragma once
// Small routines the grid and its dialogs use to build SQL text.
#include <QChar>
#include <QDate>
#include <QString>
#include <QStringList>

class TFbQuery;
class TFbUpdateSQL;

// The text without any blank (U+0020).
QString TogliSpazi(const QString& testo);

// The text with the letters a to z upper-cased; every other character stays as it is.
QString MaiuscoloAZ(const QString& testo);

// Item number n (1 to 255; only the low 8 bits of n count, 0 gives the empty text) of a list whose
// items are separated by `separatore`, without blanks.
QString EstraiElemento(const QString& testo, int n, const QString& separatore);

// The separator of a date format ("dd/MM/yyyy" gives "/"); "/" when the format has none.
QChar SeparatoreDaFormato(const QString& formato);
// The system's date separator, from its short date format.
QChar SeparatoreData();

// The date as a quoted SQL literal 'mm/dd/yyyy', with `separatore` between the parts.
QString DataSQL(const QDate& data, QChar separatore = SeparatoreData());

// Fills the modify statement (kind "UPDATE") or the insert statement (kind "INSERT", either case)
// of `aggiornamento` for rows of `tabella`, with one parameter per result field of `query`'s text.
// The modify statement has no WHERE clause: the caller appends it.
void PreparaSQLAggiornamento(TFbQuery& query, const QString& tabella, const QString& tipo, TFbUpdateSQL& aggiornamento);

// The table named after FROM in a query text, found only when written between double quotes.
QString NomeTabellaDaSQL(const QStringList& sql);
