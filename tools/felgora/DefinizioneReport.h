#pragma once
// What the launcher draws from a report definition: the page, the table's header and body lines
// (their cells with widths, alignment, wrapping, font, frame and text) and the text objects.
// Positions and sizes are thousandths of a millimetre.
#include "tools/felgora/Esito.h"
#include "tools/felgora/EspressioneReport.h"

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QRect>
#include <QSize>

enum class TAllineamento { Sinistra = 0, Centro = 1, Destra = 2 };

struct TFontReport {
    QString Nome = QStringLiteral("Arial");
    int Dimensione = 10;  // points
    bool Grassetto = false;
    bool Corsivo = false;
    bool Sottolineato = false;
};

// One side each: left, top, right, bottom.
struct TCorniceReport {
    int Spazio[4] = {0, 0, 0, 0};
    bool Linea[4] = {false, false, false, false};
};

struct TCellaReport {
    int Larghezza = 0;
    TAllineamento Allineamento = TAllineamento::Sinistra;
    bool ACapo = true;  // LineWrap: wrap the text, else cut it at the cell's border
    TFontReport Font;
    TCorniceReport Cornice;
    bool Riempi = false;
    QColor Sfondo = Qt::white;
    QString TestoOriginale;  // the text as the definition writes it
    TEspressioneReport Testo;
};

struct TTabellaReport {
    QRect Posizione;
    bool Visibile = true;
    QList<TCellaReport> Intestazione;  // the header line, repeated at the top of every page
    QList<TCellaReport> Corpo;         // the body line, one for each row of the data
};

struct TRigaTestoReport {
    TAllineamento Allineamento = TAllineamento::Sinistra;
    bool ACapo = true;
    TFontReport Font;
    QString TestoOriginale;
    TEspressioneReport Testo;
};

struct TOggettoTestoReport {
    QRect Posizione;
    bool Visibile = true;  // its Condition
    QList<TRigaTestoReport> Righe;
};

struct TDefinizioneReport {
    QSize Pagina;  // paper size as the page is held (landscape: wider than high)
    bool Orizzontale() const { return Pagina.width() > Pagina.height(); }
    TTabellaReport Tabella;
    QList<TOggettoTestoReport> Testi;
};

// Reads the bytes of a definition (ANSI text); never throws.
TEsito<TDefinizioneReport> LeggiDefinizioneReport(const QByteArray& contenuto);
