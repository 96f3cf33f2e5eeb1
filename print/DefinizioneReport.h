#pragma once
// The report definition the report engine reads: an A4 page with one table whose columns are the
// printed grid columns, a text object with the two heading lines and one with the page number.
// Plain text built from a fixed template; positions and sizes in thousandths of a millimetre.
#include <QString>
#include <QVector>
#include <functional>

class TPtqGridStampa;

// One visible column of the user's stored layout, in screen order.
struct TColonnaLayout {
    QString NomeCampo;    // field of the print's data shown in the column
    QString NomeColonna;  // column title
    int Larghezza = 0;    // width on screen, in pixels
};

// Runs the layout statement (again) and returns its rows.
using TLetturaLayout = std::function<QVector<TColonnaLayout>()>;

// Printable width in whole millimetres: 195 on portrait pages, 282 on landscape ones.
constexpr int LarghezzaStampabileVerticale = 195;
constexpr int LarghezzaStampabileOrizzontale = 282;

// Screen pixels to whole millimetres (3.7795 pixels a millimetre), halves to the even neighbour.
int MillimetriDaPixel(int pixel);

// Number of printed columns: the leading columns that fit whole in the printable width, plus the
// first one that does not fit when the last column is forced.
int ColonneStampate(const QVector<TColonnaLayout>& colonne, int larghezzaStampabile, bool forzaUltimaColonna);

// The whole definition for `n` printed columns; each of its two column lists reads the layout
// again. Every line ends with CR LF.
QString ScriviReportVerticale(const TPtqGridStampa& stampa, int n, const TLetturaLayout& lettura);
QString ScriviReportOrizzontale(const TPtqGridStampa& stampa, int n, const TLetturaLayout& lettura);

// Fits the columns read once and writes the definition for the job's page orientation
// ("VERTICALE" portrait, any other text landscape).
QString TestoReport(const TPtqGridStampa& stampa, const TLetturaLayout& lettura);
