// The grid's layout memory: the save before every change it makes to its source, the restore at
// every opening, and the after-open handler that applies it.
#include "grid/PtqGrid.h"

#include "grid/AspettoGriglia.h"

void TPtqGrid::SalvaAspettoSuStorico() {
    if (!FSorgenteDati || !FSorgenteDati->Active()) return;
    TFbDatabase* database = DatabaseImpostazioniEffettivo();
    if (!database) return;
    SalvaAspetto(database, ChiaveAspetto(), Colonne().Colonne(), FOrdinamento);
}

void TPtqGrid::RecuperaAspettodaStorico() {
    if (!FSorgenteDati) return;
    if (!FSorgenteDati->Active()) {
        if (FTipoTabella == 0 && FQuery) {
            FQuery->SQL << FSQLFiltro;
            SetRicercaAttiva(!FSQLFiltro.isEmpty());
        }
        return;
    }
    if (FTipoTabella == 1 && FTable && !FOrdinamento.FCampoDiOrdinamento.isEmpty() && !RicercaAperta())
        FTable->IndexFieldNames = FOrdinamento.FCampoDiOrdinamento;
    if (TFbDatabase* database = DatabaseImpostazioniEffettivo()) {
        TColonneGriglia colonne = Colonne();
        ApplicaAspetto(LeggiAspetto(database, ChiaveAspetto(), false), colonne);
    }
    ColoraTitoliOrdinamento();
    if (FTipoTabella == 1 && FTable) {
        AggiornaCampiIndicizzati();
        Colonne().ColoraTitoli(ColoriIndicizzati(Colonne().NomiCampi(), FListaCampiIndicizzati, FColoreCampoIndicizzato));
        ColoraTitoliOrdinamento();
    }
}

void TPtqGrid::AggiornaCampiIndicizzati() {
    QStringList campi;
    for (const TFbIndexDef& indice : FTable->IndexDefs()) campi << indice.Fields.join(";");
    FListaCampiIndicizzati = campi.join(";");
}

void TPtqGrid::DopoApertura(TFbDataSet* dataSet) {
    if (FVecchioAfterOpen) FVecchioAfterOpen(dataSet);
    const bool sorgente = (FTipoTabella == 0 && FQuery) || (FTipoTabella == 1 && FTable);
    if (sorgente) {
        RecuperaAspettodaStorico();
        if (!FCampoSelezionato.isEmpty()) SelezionaColonna(Colonne().PosizioneDi(FCampoSelezionato));
    }
    if (FTipoTabella == 1 && FTable) AggiornaCampiIndicizzati();
    if (sorgente) {
        Colonne().ColoraTitoli(ColoriIndicizzati(Colonne().NomiCampi(), FListaCampiIndicizzati, FColoreCampoIndicizzato));
        ColoraTitoliOrdinamento();
    }
    if (DisabilitaMemPosGriglie && FSituazione > 0) {
        // the layout of the positive situation becomes the starting point of this session's rows
        FSituazione = -FSituazione;
        SalvaAspettoSuStorico();
    }
}
