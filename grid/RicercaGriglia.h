#pragma once
// The grid's search as SQL text and as a record test: the class of the searched field, the
// condition for the search dialog's contents, the ORDER BY that goes with it, the
// all-fields condition and the record filter of table sources. Plain functions, no screen needed.
#include "db/FbField.h"
#include "grid/OrdinamentoGriglia.h"

#include <QDate>
#include <QStringList>

// How a field is searched: numbers offer two search types, dates a range, byte blobs no "Upper".
enum class TClasseCampo { Numerico, Data, Blob, Testo };
TClasseCampo ClasseCampo(TFbFieldType tipo);

// The connector of the search condition: "AND" when a line of the base text has a WHERE, else "WHERE".
QString ConnettoreRicerca(const QStringList& sqlIniziale);

// The date of a date field's text, always day/month/four-digit year; invalid when it is not one.
QDate DataDaTesto(const QString& testo);
// The date search runs only on a complete first date (ten characters) after 30 December 1899.
bool DataRicercaCompleta(const QString& testo);

// What the search dialog holds when a search runs.
struct TRicerca {
    QString Espressione;  // SQL expression of the searched field
    TClasseCampo Classe = TClasseCampo::Testo;
    bool ConOra = false;  // a date-class field that carries the time of day (timestamp)
    QString Testo;        // search text
    bool Upper = false;
    int Tipo = 0;         // 0 ">=", 1 "LIKE %%" (contains), 2 "LIKE %" (begins with)
    int Ordinamento = 0;  // 0 the grid's own sort, 1 ascending, 2 descending on the field
    QString Data1, Data2; // the date fields' texts, for the date class
};

// What the search dialog types for an apostrophe ("´"), so that typing never closes a literal.
inline const QChar ApostrofoRicerca(0x00B4);
// The spellings a search text stands for: the text as it stands and, when it holds "´", the same
// text with every "´" as an apostrophe (data written elsewhere may hold either).
QStringList GrafieRicerca(const QString& testo);

// The condition line for the search, starting with `connettore`; empty when there is nothing to
// search. Every apostrophe that reaches a literal is doubled, so the text is searched as written;
// a text with "´" matches either spelling (two conditions joined by OR).
// Raises EConvertError when the second date is given but is not a date.
QString CondizioneRicerca(const TRicerca& ricerca, const QString& connettore);

// The ORDER BY line of sort options 1 and 2; empty for option 0.
QString OrdinamentoRicerca(const TRicerca& ricerca);

// The ORDER BY lines of sort option 0, which keeps the grid's own sort: the single-column sort
// whatever `orderBy` says, the multi-column sort only with `orderBy`; only the expressions that
// are the origin of one of the base query's fields (`origini`) count.
QStringList OrdinamentoGrigliaInRicerca(const TOrdinamentoGriglia& ordinamento, bool orderBy, const QStringList& origini);

// The lines the all-fields search appends to the base text: the text (upper-cased, apostrophes
// doubled, either spelling of "´") CONTAINING in every field that has an origin. None when no
// field has one.
QStringList RigheRicercaGenerica(const QStringList& sqlIniziale, const QStringList& origini, const QString& testo);

// The record test of table sources: type 0 value >= key (character codes), 1 key contained,
// 2 value begins with key (either spelling of "´"); any other type rejects. With `upper` both
// sides are upper-cased.
bool AccettaValore(const QString& valore, const QString& chiave, bool upper, int tipo);
