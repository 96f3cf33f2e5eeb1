#include "grid/StampaGriglia.h"

#include "controls/MessageBoxes.h"
#include "grid/PtqGrid.h"
#include "print/StPtqGrid.h"
#include "print/StPtqGridForm.h"

TPtqGridStampa* NuovaStampaGriglia(TPtqGrid& griglia) {
    if (griglia.TipoTabella() != 0) {
        MessageBoxes().Avviso(&griglia, "Funzionalità non disponibile per questo tipo di vista");
        return nullptr;
    }
    griglia.SalvaAspettoSuStorico();
    auto* stampa = new TPtqGridStampa(&griglia);
    stampa->Progetto = griglia.CodiceProgetto();
    stampa->Situazione = griglia.Situazione();
    stampa->Utente = griglia.Utente();
    stampa->Tabella = griglia.NomeTabellaQuery();
    if (const TFbQuery* query = griglia.Query())
        for (const QString& riga : query->SQL) stampa->SQLRif += riga + "\r\n";
    stampa->BinDir = griglia.FDirectoryBin;
    stampa->DatabaseRif = griglia.DatabaseImpostazioniEffettivo();
    return stampa;
}

void StampaGriglia(TPtqGrid& griglia) {
    TPtqGridStampa* stampa = NuovaStampaGriglia(griglia);
    if (!stampa) return;
    TStPtqGridForm dialogo(&griglia, stampa);
    dialogo.setFont(griglia.font());
    dialogo.exec();
}
