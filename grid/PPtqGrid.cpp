#include "grid/PPtqGrid.h"

#include "controls/Centratura.h"
#include "controls/InvioSulPulsante.h"
#include "controls/MessageBoxes.h"
#include "controls/TabellaDati.h"
#include "db/Errore.h"
#include "grid/ColoriGriglia.h"
#include "grid/CostruttoriSQL.h"
#include "grid/ModelloAspetto.h"
#include "grid/TabelleGriglia.h"

#include <QColorDialog>
#include <QDebug>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <limits>

namespace {
constexpr int Margine = 8;
// The least sizes: the buttons grow, all alike, as far as the widest caption needs.
constexpr int LarghezzaPannelloPulsanti = 116;
const QSize DimensionePulsante(100, 28);
}  // namespace

QStringList SQLRigheAspetto(const QString& tabella, int situazione, int utente, int progetto) {
    return {"SELECT NomeCampo, NomeColonna, ColoreColonna, Visibile, Posizione FROM \"" + tabella + "\"",
            "WHERE (CodiceSituazione=" + QString::number(situazione) + ")",
            "AND (CodiceUtente=" + QString::number(utente) + ")",
            "AND (CodiceProgetto=" + QString::number(progetto) + ")"};
}

QStringList WhereModificaAspetto(int situazione, int utente, int progetto) {
    return {"WHERE (CodiceSituazione=" + QString::number(situazione) + ")",
            "AND(CodiceUtente=" + QString::number(utente) + ")", "AND(Posizione=:Posizione)",
            "AND(CodiceProgetto=" + QString::number(progetto) + ")"};
}

TPPtqGridForm::TPPtqGridForm(QWidget* owner, const QString& tabellaAspettoGriglia, int progetto, int utente,
                             int situazione, TFbDatabase* database)
    : QDialog(owner), Situazione(situazione), Utente(utente), Progetto(progetto),
      TabellaAspettoGriglia(tabellaAspettoGriglia), IBTransaction1(database) {
    IBTransaction1.Params() = ParametriScritturaImpostazioni();
    IBQuery1.SetDatabase(database);
    IBQuery1.SetTransaction(&IBTransaction1);
    IBQuery1.UpdateObject = &IBUpdateSQL1;
    CreaControlli();
    CaricaGriglia();
}

TPPtqGridForm::~TPPtqGridForm() {
    // closing the dialog commits; a dialog freed without being closed keeps its posted rows too
    FModello->SetDataSet(nullptr);
    IBQuery1.Cancel();
    try {
        if (IBTransaction1.Active()) IBTransaction1.Commit();
    } catch (const Exception& e) {
        qWarning().noquote() << "Personalizzazione Griglia: modifiche non salvate:" << e.Message();
    } catch (...) {
    }
}

void TPPtqGridForm::CreaControlli() {
    FDBGrid1 = new TTabellaDati(this);
    FModello = new TModelloAspetto(this);
    FModello->SetDataSet(&IBQuery1);
    FDBGrid1->setModel(FModello);
    FDBGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    FDBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    FDBGrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
    connect(FDBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { LasciaRiga(); });

    FSpeedButton1 = new QPushButton(QStringLiteral("&Cambia Colore"));
    FButtonColoreDefault = new QPushButton(QStringLiteral("Colore &Default"));
    FButtonAspettoBase = new QPushButton(QStringLiteral("&Aspetto Base"));
    FButtonChiudi = new QPushButton(QStringLiteral("Ch&iudi"));
    auto* pannelloPulsanti = new QWidget(this);
    pannelloPulsanti->setMinimumWidth(LarghezzaPannelloPulsanti);
    pannelloPulsanti->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    auto* pulsanti = new QVBoxLayout(pannelloPulsanti);
    pulsanti->setContentsMargins(Margine, 0, Margine, 0);
    pulsanti->setSpacing(Margine);
    for (QPushButton* b : {FSpeedButton1, FButtonColoreDefault, FButtonAspettoBase, FButtonChiudi}) {
        b->setMinimumSize(DimensionePulsante);
        InvioSulPulsante(b);  // Enter on a button presses that button; in the table it presses none
        pulsanti->addWidget(b);
    }
    pulsanti->addStretch();

    auto* centro = new QHBoxLayout;
    centro->setContentsMargins(0, 0, 0, 0);
    centro->setSpacing(0);
    centro->addWidget(FDBGrid1, 1);
    centro->addWidget(pannelloPulsanti);
    auto* tutto = new QVBoxLayout(this);
    tutto->setContentsMargins(Margine, Margine, 0, Margine);
    tutto->addLayout(centro);

    connect(FSpeedButton1, &QPushButton::clicked, this, &TPPtqGridForm::CambiaColore);
    connect(FButtonColoreDefault, &QPushButton::clicked, this, &TPPtqGridForm::ColoreDefault);
    connect(FButtonAspettoBase, &QPushButton::clicked, this, [this] {
        if (!OnAspettoBase) return;
        try {
            OnAspettoBase();
        } catch (const Exception& e) {
            MessageBoxes().Errore(this, e.Message());
        }
    });
    connect(FButtonChiudi, &QPushButton::clicked, this, &TPPtqGridForm::Chiudi);
    resize(681, 377);
}

void TPPtqGridForm::CaricaGriglia() {
    IBQuery1.Close();
    IBQuery1.SQL.clear();
    IBQuery1.SQL = SQLRigheAspetto(TabellaAspettoGriglia, Situazione, Utente, Progetto);
    PreparaSQLAggiornamento(IBQuery1, TabellaAspettoGriglia, QStringLiteral("UPDATE"), IBUpdateSQL1);
    IBUpdateSQL1.ModifySQL << WhereModificaAspetto(Situazione, Utente, Progetto);
    IBQuery1.Open();
    IBQuery1.FetchMore(std::numeric_limits<int>::max());  // a few rows: one per column of the grid
    for (int c = 0; c < FModello->columnCount(); ++c) {
        FDBGrid1->setColumnHidden(c, c == FModello->ColonnaCampo(QStringLiteral("POSIZIONE")));
        FDBGrid1->setItemDelegateForColumn(c, nullptr);
    }
    if (!FDelegato) {
        FDelegato = new TDelegatoAspetto(FDBGrid1);
        FDBGrid1->setItemDelegate(FDelegato);
    }
    if (FModello->ColonnaColore() >= 0)
        FDBGrid1->setItemDelegateForColumn(FModello->ColonnaColore(), new TDelegatoColore(FDBGrid1));
    if (FModello->rowCount() > 0) FDBGrid1->setCurrentIndex(FModello->index(0, 0));
    if (isVisible()) AdattaColonne();
}

void TPPtqGridForm::AdattaColonne() {
    FDBGrid1->resizeColumnsToContents();
    // the dialog widens, as far as the screen allows, until every column shows whole
    int colonne = 2 * FDBGrid1->frameWidth() + FDBGrid1->verticalScrollBar()->sizeHint().width();
    if (!FDBGrid1->verticalHeader()->isHidden()) colonne += FDBGrid1->verticalHeader()->sizeHint().width();
    for (int c = 0; c < FModello->columnCount(); ++c) {
        if (!FDBGrid1->isColumnHidden(c)) colonne += FDBGrid1->columnWidth(c);
    }
    int larghezza = width() - FDBGrid1->width() + colonne;
    if (const QScreen* schermo = screen()) larghezza = qMin(larghezza, schermo->availableGeometry().width());
    if (larghezza > width()) resize(larghezza, height());
}

void TPPtqGridForm::LasciaRiga() {
    const int riga = FDBGrid1->currentIndex().row();
    const int inModifica = IBQuery1.RecNo();
    // back on the row whose post failed: it stays in edit until the user leaves it again
    if (riga == inModifica && IBQuery1.State() == TDataSetState::Edit) return;
    try {
        FModello->PostaRiga();
        if (riga >= 0 && IBQuery1.Active()) IBQuery1.MoveTo(riga);
    } catch (const Exception& e) {
        MessageBoxes().Errore(this, e.Message());
        // the row stays in edit mode: bring the user back to it once the move is over
        QTimer::singleShot(0, this, [this, inModifica] {
            FDBGrid1->setCurrentIndex(FModello->index(inModifica, qMax(0, FDBGrid1->currentIndex().column())));
        });
    }
}

void TPPtqGridForm::ImpostaColore(const QVariant& colore) {
    const int riga = FDBGrid1->currentIndex().row();
    if (riga < 0 || FModello->ColonnaColore() < 0) return;
    FModello->setData(FModello->index(riga, FModello->ColonnaColore()), colore);
}

void TPPtqGridForm::CambiaColore() {
    const int riga = FDBGrid1->currentIndex().row();
    if (riga < 0 || FModello->ColonnaColore() < 0) return;
    const QVariant attuale = FModello->index(riga, FModello->ColonnaColore()).data(Qt::EditRole);
    if (!FColorDialog1) FColorDialog1 = new QColorDialog(this);
    FColorDialog1->setCurrentColor(ColoreQt(TColore(attuale.isNull() ? 0 : attuale.toLongLong())));
    if (FColorDialog1->exec() != QDialog::Accepted) return;
    ImpostaColore(qint32(ColoreDaQt(FColorDialog1->currentColor())));
}

void TPPtqGridForm::ColoreDefault() { ImpostaColore(QVariant()); }

void TPPtqGridForm::Chiudi() {
    // a value still being typed belongs to the row
    const QModelIndex corrente = FDBGrid1->currentIndex();
    if (QWidget* editor = FDBGrid1->indexWidget(corrente)) {
        auto* delegato = static_cast<TDelegatoAspetto*>(FDBGrid1->itemDelegateForIndex(corrente));
        emit delegato->commitData(editor);
        emit delegato->closeEditor(editor);
        if (delegato->Rifiutato()) return;  // told, and back in its cell
    }
    try {
        FModello->PostaRiga();
        if (IBTransaction1.Active()) IBTransaction1.Commit();
    } catch (const Exception& e) {
        MessageBoxes().Errore(this, e.Message());
        return;
    }
    accept();
}

void TPPtqGridForm::reject() {
    // closing by other means (Esc, the close box) drops the edit still open on the current row
    // and keeps the rows posted before; a commit that fails is told, and the dialog closes
    IBQuery1.Cancel();
    try {
        if (IBTransaction1.Active()) IBTransaction1.Commit();
    } catch (const Exception& e) {
        MessageBoxes().Errore(this, "Modifiche non salvate\r\n" + e.Message());
        // what the box says: nothing of this dialog is kept
        try {
            if (IBTransaction1.Active()) IBTransaction1.Rollback();
        } catch (const Exception&) {
        }
    }
    QDialog::reject();
}

void TPPtqGridForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    // the columns take the font the dialog has been given since it loaded its rows
    AdattaColonne();
    if (!FCentrata) {
        CentraSulloSchermo(this);
        FCentrata = true;
    }
}
