#include "tools/felgora/Impaginazione.h"

#include "db/Errore.h"
#include "tools/felgora/RigheStampa.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <memory>
#include <vector>

namespace {

QFont FontQt(const TFontReport& f) {
    QFont font(f.Nome);
    font.setPointSize(f.Dimensione);
    font.setBold(f.Grassetto);
    font.setItalic(f.Corsivo);
    font.setUnderline(f.Sottolineato);
    return font;
}

Qt::Alignment AllineamentoQt(TAllineamento a) {
    switch (a) {
    case TAllineamento::Centro: return Qt::AlignHCenter;
    case TAllineamento::Destra: return Qt::AlignRight;
    default: return Qt::AlignLeft;
    }
}

// A text laid out in lines of one width: wrapped at word boundaries (or anywhere in a word longer
// than the line), or on one line that the border cuts.
struct TTestoDisposto {
    std::unique_ptr<QTextLayout> Layout;
    qreal Altezza = 0;
};

TTestoDisposto Disponi(const QString& testo, const QFont& font, qreal altezzaMinima, TAllineamento allineamento,
                       bool aCapo, qreal larghezza, QPaintDevice* device) {
    TTestoDisposto d;
    d.Altezza = altezzaMinima;
    if (larghezza <= 0 || testo.isEmpty()) return d;
    QString t = testo;
    if (aCapo) {
        t.replace("\r\n", QChar(QChar::LineSeparator));
        t.replace('\n', QChar::LineSeparator).replace('\r', QChar::LineSeparator);
    } else {
        t.replace("\r\n", " ").replace('\n', ' ').replace('\r', ' ');
    }
    Qt::Alignment a = AllineamentoQt(allineamento);
    if (!aCapo && QFontMetricsF(font, device).horizontalAdvance(t) > larghezza) {
        // a cut text keeps its beginning, up to the character the border crosses: what lies
        // beyond is left out, not only hidden
        QTextLayout misura(t, font, device);
        misura.beginLayout();
        QTextLine riga = misura.createLine();
        riga.setNumColumns(t.size());
        misura.endLayout();
        t.truncate(riga.xToCursor(larghezza, QTextLine::CursorOnCharacter) + 1);
        a = Qt::AlignLeft;
    }
    d.Layout = std::make_unique<QTextLayout>(t, font, device);
    QTextOption opzioni;
    opzioni.setWrapMode(aCapo ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    opzioni.setAlignment(a);
    d.Layout->setTextOption(opzioni);
    d.Layout->setCacheEnabled(true);
    qreal y = 0;
    d.Layout->beginLayout();
    for (QTextLine riga = d.Layout->createLine(); riga.isValid(); riga = d.Layout->createLine()) {
        riga.setLineWidth(larghezza);
        riga.setPosition(QPointF(0, y));
        y += riga.height();
    }
    d.Layout->endLayout();
    d.Altezza = qMax(altezzaMinima, y);
    return d;
}

// A cell's font and the height of one of its lines on the device.
struct TFontCella {
    TFontCella(const TFontReport& f, QPaintDevice& device) : Font(FontQt(f)), AltezzaRiga(QFontMetricsF(Font, &device).height()) {}
    QFont Font;
    qreal AltezzaRiga;
};

class TImpaginatore {
public:
    TImpaginatore(const TDefinizioneReport& definizione, QPagedPaintDevice& device)
        : FDef(definizione), FDevice(device), FScala(device.logicalDpiY() / 25400.0) {
        for (const TCellaReport& c : FDef.Tabella.Intestazione) FIntestazione << TFontCella(c.Font, device);
        for (const TCellaReport& c : FDef.Tabella.Corpo) FCorpo << TFontCella(c.Font, device);
    }

    bool UsaTotalePagine() const {
        for (const TOggettoTestoReport& o : FDef.Testi)
            if (o.Visibile)
                for (const TRigaTestoReport& r : o.Righe)
                    if (r.Testo.UsaTotalePagine()) return true;
        return false;
    }

    // Lays out (and, with a painter, draws) every page; returns their number.
    int Esegui(IRigheStampa& righe, QPainter* painter, int totalePagine) {
        FPainter = painter;
        int pagina = 1;
        if (!FDef.Tabella.Visibile) {
            DisegnaTesti(pagina, totalePagine);
            return pagina;
        }
        righe.Apri();
        const QVector<QVector<int>> campi = IndiciCampi(righe.Campi());
        const QRectF area = Rettangolo(FDef.Tabella.Posizione);
        qreal y = 0;
        int righeSullaPagina = 0;
        auto iniziaPagina = [&] {
            DisegnaTesti(pagina, totalePagine);
            QStringList titoli;
            for (const TCellaReport& c : FDef.Tabella.Intestazione) titoli << c.Testo.Valuta(Vuoto, pagina, totalePagine);
            y = area.top() + Riga(FDef.Tabella.Intestazione, FIntestazione, titoli, area.left(), area.top(), area.bottom());
            righeSullaPagina = 0;
        };
        iniziaPagina();
        while (righe.Prossima()) {
            QStringList testi;
            for (qsizetype i = 0; i < FDef.Tabella.Corpo.size(); ++i) {
                const QVector<int>& indici = campi[i];
                testi << FDef.Tabella.Corpo[i].Testo.Valuta([&](int k) { return righe.Valore(indici[k]); }, pagina,
                                                            totalePagine);
            }
            std::vector<TTestoDisposto> disposti = DisponiRiga(FDef.Tabella.Corpo, FCorpo, testi);
            const qreal altezza = AltezzaRiga(FDef.Tabella.Corpo, disposti);
            // a row taller than a whole page is drawn cut rather than pushed on for ever
            if (y + altezza > area.bottom() && righeSullaPagina > 0) {
                if (FPainter && !FDevice.newPage()) throw Exception("Impossibile aggiungere una pagina alla stampa");
                ++pagina;
                iniziaPagina();
            }
            DisegnaRiga(FDef.Tabella.Corpo, disposti, area.left(), y, altezza, area.bottom());
            y += altezza;
            ++righeSullaPagina;
        }
        return pagina;
    }

private:
    static QString Vuoto(int) { return {}; }

    qreal Px(int unita) const { return unita * FScala; }
    QRectF Rettangolo(const QRect& r) const { return QRectF(Px(r.left()), Px(r.top()), Px(r.width()), Px(r.height())); }

    // For each body cell, the data's position of each field its text names.
    QVector<QVector<int>> IndiciCampi(const QStringList& nomi) const {
        QVector<QVector<int>> indici;
        for (const TCellaReport& cella : FDef.Tabella.Corpo) {
            QVector<int> perCella;
            for (const QString& campo : cella.Testo.Campi()) {
                qsizetype i = 0;
                while (i < nomi.size() && nomi[i].compare(campo, Qt::CaseInsensitive) != 0) ++i;
                if (i == nomi.size()) throw Exception(QString("Il campo \"%1\" non è nei dati della stampa").arg(campo));
                perCella << int(i);
            }
            indici << perCella;
        }
        return indici;
    }

    std::vector<TTestoDisposto> DisponiRiga(const QList<TCellaReport>& celle, const QList<TFontCella>& font,
                                            const QStringList& testi) const {
        std::vector<TTestoDisposto> disposti;
        for (qsizetype i = 0; i < celle.size(); ++i) {
            const TCellaReport& c = celle[i];
            const qreal larghezza = Px(c.Larghezza - c.Cornice.Spazio[0] - c.Cornice.Spazio[2]);
            disposti.push_back(Disponi(testi[i], font[i].Font, font[i].AltezzaRiga, c.Allineamento, c.ACapo, larghezza, &FDevice));
        }
        return disposti;
    }

    qreal AltezzaRiga(const QList<TCellaReport>& celle, const std::vector<TTestoDisposto>& disposti) const {
        qreal altezza = 0;
        for (qsizetype i = 0; i < celle.size(); ++i)
            altezza = qMax(altezza, disposti[i].Altezza + Px(celle[i].Cornice.Spazio[1] + celle[i].Cornice.Spazio[3]));
        return altezza;
    }

    // Lays out and draws one line of the table; returns its height.
    qreal Riga(const QList<TCellaReport>& celle, const QList<TFontCella>& font, const QStringList& testi, qreal x, qreal y,
               qreal limite) {
        const std::vector<TTestoDisposto> disposti = DisponiRiga(celle, font, testi);
        const qreal altezza = AltezzaRiga(celle, disposti);
        DisegnaRiga(celle, disposti, x, y, altezza, limite);
        return altezza;
    }

    void DisegnaRiga(const QList<TCellaReport>& celle, const std::vector<TTestoDisposto>& disposti, qreal x, qreal y,
                     qreal altezza, qreal limite) {
        if (!FPainter) return;
        const qreal fine = qMin(y + altezza, limite);
        for (qsizetype i = 0; i < celle.size(); ++i) {
            const TCellaReport& c = celle[i];
            const QRectF cella(x, y, Px(c.Larghezza), fine - y);
            x += cella.width();
            if (c.Riempi) FPainter->fillRect(cella, c.Sfondo);
            if (disposti[i].Layout) {
                FPainter->save();
                FPainter->setClipRect(cella.adjusted(Px(c.Cornice.Spazio[0]), 0, -Px(c.Cornice.Spazio[2]), 0));
                disposti[i].Layout->draw(FPainter, QPointF(cella.left() + Px(c.Cornice.Spazio[0]), y + Px(c.Cornice.Spazio[1])));
                FPainter->restore();
            }
            FPainter->setPen(QPen(Qt::black, 0));
            if (c.Cornice.Linea[0]) FPainter->drawLine(cella.topLeft(), cella.bottomLeft());
            if (c.Cornice.Linea[1]) FPainter->drawLine(cella.topLeft(), cella.topRight());
            if (c.Cornice.Linea[2]) FPainter->drawLine(cella.topRight(), cella.bottomRight());
            if (c.Cornice.Linea[3]) FPainter->drawLine(cella.bottomLeft(), cella.bottomRight());
        }
    }

    void DisegnaTesti(int pagina, int totalePagine) {
        if (!FPainter) return;
        for (const TOggettoTestoReport& oggetto : FDef.Testi) {
            if (!oggetto.Visibile) continue;
            const QRectF area = Rettangolo(oggetto.Posizione);
            qreal y = area.top();
            FPainter->save();
            FPainter->setClipRect(area);
            for (const TRigaTestoReport& riga : oggetto.Righe) {
                if (y >= area.bottom()) break;  // lines below the object are not shown
                const QFont font = FontQt(riga.Font);
                const TTestoDisposto d = Disponi(riga.Testo.Valuta(Vuoto, pagina, totalePagine), font,
                                                 QFontMetricsF(font, &FDevice).height(), riga.Allineamento, riga.ACapo,
                                                 area.width(), &FDevice);
                if (d.Layout) d.Layout->draw(FPainter, QPointF(area.left(), y));
                y += d.Altezza;
            }
            FPainter->restore();
        }
    }

    const TDefinizioneReport& FDef;
    QPagedPaintDevice& FDevice;
    const double FScala;  // device pixels per thousandth of a millimetre
    QList<TFontCella> FIntestazione, FCorpo;
    QPainter* FPainter = nullptr;
};

}  // namespace

QPageLayout LayoutPagina(const TDefinizioneReport& definizione) {
    const QSize p = definizione.Pagina;
    const QSizeF verticale(qMin(p.width(), p.height()) / 1000.0, qMax(p.width(), p.height()) / 1000.0);
    return QPageLayout(QPageSize(verticale, QPageSize::Millimeter),
                       definizione.Orizzontale() ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Millimeter);
}

int StampaReport(const TDefinizioneReport& definizione, QPagedPaintDevice& device, IRigheStampa& righe) {
    TImpaginatore impaginatore(definizione, device);
    const int totale = impaginatore.UsaTotalePagine() ? impaginatore.Esegui(righe, nullptr, 0) : 0;
    QPainter painter;
    if (!painter.begin(&device)) throw Exception("Impossibile iniziare la stampa");
    try {
        const int pagine = impaginatore.Esegui(righe, &painter, totale);
        painter.end();
        return pagine;
    } catch (...) {
        painter.end();
        throw;
    }
}
