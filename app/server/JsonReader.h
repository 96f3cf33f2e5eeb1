#pragma once
// Reads the top level of a JSON text (strict JSON): what the value is and, for an object, its
// members in order with each scalar's text as written (a number keeps "1e2" or "-0").
#include <QString>
#include <QVector>

struct TJsonMembro {
    enum TTipo { Stringa, Numero, Null, Booleano, Composto };
    QString Nome;
    TTipo Tipo = Null;
    QString Testo;  // a string's text or a number's text as written; empty for the other kinds
};

enum class TJsonRadice {
    Oggetto,  // a JSON object; its members are in `membri`
    Null,     // the literal null
    Vuoto,    // empty text or JSON white space only
    Altro,    // any other value, or text that is not JSON
};

TJsonRadice LeggiOggettoJson(const QString& testo, QVector<TJsonMembro>& membri);
