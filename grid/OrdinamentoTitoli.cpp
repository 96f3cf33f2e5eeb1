// The grid's sorting on screen: the before-open handler that loads the stored sort and writes
// the ORDER BY, the title double-click and the title colours.
#include "grid/PtqGrid.h"

#include "controls/MessageBoxes.h"
#include "db/Errore.h"
#include "grid/CostruttoriSQL.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QMouseEvent>

void TPtqGrid::PreparaOrdinamento(TFbDataSet* dataSet) {
    if (FVecchioBeforeOpen) FVecchioBeforeOpen(dataSet);
    if (TFbDatabase* database = DatabaseImpostazioniEffettivo())
        CaricaOrdinamento(database, ChiaveAspetto(), FCampiPersonalizzati, FCampiPersonalizzatiDecodifica, FOrdinamento);
    // during a search the search writes its own ORDER BY
    if (FTipoTabella == 0 && FQuery && FOrderBy && !RicercaAperta())
        FQuery->SQL << LineeOrdinamentoQuery(FQuery->Database(), FSQLIniziale, FOrdinamento, FCampiPersonalizzati,
                                             ChiavePrimariaOrdDefault, FNomeTabellaQuery);
}

void TPtqGrid::ColoraTitoliOrdinamento() {
    TColonneGriglia colonne = Colonne();
    colonne.ColoraTitoli(FOrdinamento.ColoriTitoli(colonne.Conta(), FColoreCampoOrdinamento));
}

void TPtqGrid::ColoraTitoli() {
    TColonneGriglia colonne = Colonne();
    colonne.AzzeraColoriTitoli();
    if (FTipoTabella == 0 || FTipoTabella == 1)
        colonne.ColoraTitoli(ColoriIndicizzati(colonne.NomiCampi(), FListaCampiIndicizzati, FColoreCampoIndicizzato));
    ColoraTitoliOrdinamento();
}

void TPtqGrid::SelezionaColonna(int posizione) {
    const int campo = Colonne().Campo(posizione);
    if (campo < 0 || model()->rowCount() == 0) return;
    setCurrentIndex(model()->index(qMax(currentIndex().row(), 0), campo));
}

void TPtqGrid::MouseDown(const QPoint& punto) {
    FPosizioneXMouse = punto.x();
    FPosizioneYMouse = punto.y();
}

int TPtqGrid::TitoloSotto(const QPoint& punto) const {
    const QHeaderView* titoli = horizontalHeader();
    if (punto.y() < titoli->y() || punto.y() >= titoli->y() + titoli->height()) return -1;
    if (punto.x() < titoli->x()) return -2;
    const int campo = titoli->logicalIndexAt(punto.x() - titoli->x());
    return campo < 0 ? -2 : titoli->visualIndex(campo);
}

bool TPtqGrid::DblClick() {
    if (!FAbilitaOrdinamento) return false;
    const TOrdinamentoGriglia prima = FOrdinamento;
    // the Ctrl key as it is now, not as the mouse event saw it
    FOrdinamento.CambiaModalita(QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier));
    const int colonna = TitoloSotto(QPoint(FPosizioneXMouse, FPosizioneYMouse));
    if (colonna == -1) return false;
    if (colonna >= 0) {
        try {
            // a refused sort leaves the sort, mode included, as it was before the double-click
            if (!OrdinaPerColonna(colonna)) FOrdinamento = prima;
        } catch (const Exception& e) {
            MostraErrore(e);
        }
    }
    return true;
}

bool TPtqGrid::OrdinaPerColonna(int colonna) {
    const TOrdinamentoGriglia prima = FOrdinamento;
    TColonneGriglia colonne = Colonne();
    const QString campo = colonne.NomeCampo(colonna);
    const QString origine = colonne.Origine(colonna);
    const QString espressione =
        EspressioneCampo(campo, MaiuscoloAZ(origine), FCampiPersonalizzati, FCampiPersonalizzatiDecodifica);
    const QString nome = FOrdinamento.DoppioClicTitolo(colonna, campo, espressione, origine);
    if (!FTabellaPiccola && !FAbilitaRicF5Sempre && FTipoTabella != 2 && !CampoIndicizzato(nome, FListaCampiIndicizzati)) {
        MessageBoxes().Avviso(this, "Attenzione: Non è possibile eseguire la ricerca su un campo non indicizzato di "
                                    "una tabella di grandi dimensioni");
        FOrdinamento = prima;  // no later save or opening may take up the refused sort
        return false;
    }
    SalvaAspettoSuStorico();
    if (FTipoTabella == 0 && FQuery) {
        // the grid reopens its source itself: the owner's handlers leave the text alone
        const bool ricerca = FRicercaInCorso;
        FRicercaInCorso = true;
        try {
            FQuery->Close();
            FQuery->SQL = FSQLIniziale;
            FQuery->SQL << FSQLFiltro;
            SetRicercaAttiva(!FSQLFiltro.isEmpty());
            FQuery->Open();
        } catch (...) {
            FRicercaInCorso = ricerca;
            throw;
        }
        FRicercaInCorso = ricerca;
        SelezionaColonna(colonna);
    } else if (FTipoTabella == 1 && FTable) {
        // the table takes a new row order when it opens; its after-open handler restores the layout
        FTable->Close();
        FTable->IndexFieldNames = FOrdinamento.IndexFieldNames();
        FTable->Open();
    }
    ColoraTitoli();
    return true;
}

void TPtqGrid::mousePressEvent(QMouseEvent* event) {
    MouseDown(viewport()->mapTo(this, event->position().toPoint()));
    TTabellaDati::mousePressEvent(event);
}

void TPtqGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!DblClick()) TTabellaDati::mouseDoubleClickEvent(event);
}

bool TPtqGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == horizontalHeader()->viewport() || watched == verticalHeader()->viewport()) {
        auto* area = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::MouseButtonPress)
            MouseDown(area->mapTo(this, static_cast<QMouseEvent*>(event)->position().toPoint()));
        else if (event->type() == QEvent::MouseButtonDblClick && DblClick())
            return true;
    }
    return TTabellaDati::eventFilter(watched, event);
}
