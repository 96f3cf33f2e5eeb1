#include "tools/felgora/FormDesigner.h"

#include "controls/ChiusuraFinestre.h"
#include "tools/felgora/Impaginazione.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString Mm(int millesimi) { return QString::number(millesimi / 1000.0, 'f', 1) + " mm"; }

QString Font(const TFontReport& f) { return f.Nome + " " + QString::number(f.Dimensione); }

QString SiNo(bool valore) { return valore ? QStringLiteral("Sì") : QStringLiteral("No"); }

// A header cell's title as printed (its literal texts).
QString Titolo(const TCellaReport& cella) {
    return cella.Testo.Valuta([](int) { return QString(); }, 1, 1);
}

}  // namespace

QStringList IntestazioniDesigner() { return {"Elemento", "Titolo / testo", "Campo", "Larghezza", "A capo", "Font", "Esposto"}; }

QList<QStringList> RigheDesigner(const TDefinizioneReport& d) {
    QList<QStringList> righe;
    righe << QStringList{"Pagina", LayoutPagina(d).pageSize().name() + (d.Orizzontale() ? " orizzontale" : " verticale"), {}, Mm(d.Pagina.width()) + " × " + Mm(d.Pagina.height()), {}, {}, SiNo(true)};
    const TTabellaReport& t = d.Tabella;
    for (qsizetype i = 0; i < t.Corpo.size(); ++i) {
        const TCellaReport& corpo = t.Corpo[i];
        const QString titolo = i < t.Intestazione.size() ? Titolo(t.Intestazione[i]) : QString();
        righe << QStringList{QString("Colonna %1").arg(i + 1), titolo, corpo.TestoOriginale, Mm(corpo.Larghezza),
                             SiNo(corpo.ACapo), Font(corpo.Font), SiNo(t.Visibile)};
    }
    for (qsizetype o = 0; o < d.Testi.size(); ++o) {
        const TOggettoTestoReport& testo = d.Testi[o];
        for (qsizetype r = 0; r < testo.Righe.size(); ++r) {
            const TRigaTestoReport& riga = testo.Righe[r];
            righe << QStringList{QString("Testo %1, riga %2").arg(o + 1).arg(r + 1), riga.TestoOriginale, {},
                                 Mm(testo.Posizione.width()), SiNo(riga.ACapo), Font(riga.Font), SiNo(testo.Visibile)};
        }
    }
    return righe;
}

TFormDesigner::TFormDesigner(const TDefinizioneReport& definizione, const QString& titolo, QWidget* parent)
    : QDialog(parent), FElenco(new QTreeWidget(this)) {
    setWindowTitle(titolo);
    FElenco->setRootIsDecorated(false);
    FElenco->setHeaderLabels(IntestazioniDesigner());
    for (const QStringList& riga : RigheDesigner(definizione)) FElenco->addTopLevelItem(new QTreeWidgetItem(riga));
    FElenco->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* pulsanti = new QDialogButtonBox(this);
    connect(pulsanti->addButton("Chiudi", QDialogButtonBox::RejectRole), &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FElenco);
    layout->addWidget(pulsanti);
    resize(900, 420);
    TastiChiusura(this);
}
