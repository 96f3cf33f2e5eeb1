#include "app/server/JsonWriter.h"

void TJsonWriter::InizioOggetto() {
    FTesto += QLatin1Char('{');
    FPrimo = true;
}

void TJsonWriter::FineOggetto() { FTesto += QLatin1Char('}'); }

void TJsonWriter::Membro(const QString& nome, qint32 valore) {
    Nome(nome);
    FTesto += QString::number(valore);
}

void TJsonWriter::Membro(const QString& nome, const QString& valore) {
    Nome(nome);
    Stringa(valore);
}

void TJsonWriter::Nome(const QString& nome) {
    if (!FPrimo) FTesto += QLatin1Char(',');
    FPrimo = false;
    Stringa(nome);
    FTesto += QLatin1Char(':');
}

void TJsonWriter::Stringa(const QString& valore) {
    FTesto += QLatin1Char('"');
    // QString holds UTF-16 code units, so a character outside the basic plane arrives as its
    // surrogate pair and is written as two escapes.
    for (const QChar c : valore) {
        switch (c.unicode()) {
        case '"': FTesto += QLatin1String("\\\""); break;
        case '\\': FTesto += QLatin1String("\\\\"); break;
        case '/': FTesto += QLatin1String("\\/"); break;
        case '\b': FTesto += QLatin1String("\\b"); break;
        case '\t': FTesto += QLatin1String("\\t"); break;
        case '\n': FTesto += QLatin1String("\\n"); break;
        case '\f': FTesto += QLatin1String("\\f"); break;
        case '\r': FTesto += QLatin1String("\\r"); break;
        default:
            if (c.unicode() < 0x20 || c.unicode() > 0x7F)
                FTesto += QLatin1String("\\u") + QString::number(c.unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0'));
            else
                FTesto += c;
        }
    }
    FTesto += QLatin1Char('"');
}
