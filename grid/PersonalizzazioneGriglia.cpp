// The grid's personalisation: the dialog over its layout rows, and the reset to the base layout.
#include "grid/PersonalizzazioneGriglia.h"

#include "grid/AvPtqGr.h"
#include "grid/PPtqGrid.h"
#include "grid/PtqGrid.h"
#include "grid/TabelleGriglia.h"

#include <memory>

QStringList SQLCancellaAspetto(const QString& tabella, int situazione, int utente, int progetto) {
    return {"DELETE FROM \"" + tabella + "\"", "WHERE (CodiceSituazione=" + QString::number(situazione) + ")",
            "AND (CodiceUtente=" + QString::number(utente) + ")",
            "AND (CodiceProgetto=" + QString::number(progetto) + ")"};
}

QStringList SQLCancellaPosizioni(int situazione, int utente, int progetto) {
    return {"DELETE FROM STOPOS1",
            "WHERE",
            "  CODICESITUAZIONE=" + QString::number(situazione),
            "  AND",
            "  CODICEUTENTE=" + QString::number(utente),
            "  AND",
            "  CODICEPROGETTO=" + QString::number(progetto)};
}

TPPtqGridForm* TPtqGrid::FormPersonalizzazione() const { return PPtqGridForm; }

void TPtqGrid::PersonalizzaGriglia() {
    SalvaAspettoSuStorico();
    std::unique_ptr<TPPtqGridForm> form(new TPPtqGridForm(this, FTabellaAspettoGriglia, FCodiceProgetto, FUtente,
                                                          FSituazione, DatabaseImpostazioniEffettivo()));
    QFont carattere = font();
    if (carattere.pointSizeF() > 10) carattere.setPointSize(10);
    form->setFont(carattere);
    form->setWindowTitle(QStringLiteral("Personalizzazione Griglia"));
    form->OnAspettoBase = [this] { RipristinaAspettoBase(); };
    PPtqGridForm = form.get();
    form->exec();
    form.reset();
    RecuperaAspettodaStorico();
}

void TPtqGrid::RipristinaAspettoBase() {
    TPPtqGridForm* form = PPtqGridForm;
    if (!form) return;
    {
        TAvPtqGrForm avviso(this);
        avviso.exec();
        if (avviso.Esito != 1) return;
    }
    RecuperoAspettoBaseInCorso = true;
    struct TFineRipristino {
        bool& Flag;
        ~TFineRipristino() { Flag = false; }
    } fine{RecuperoAspettoBaseInCorso};

    // edits not yet committed in the dialog are lost
    form->IBQuery1.Close();
    if (form->IBTransaction1.Active()) form->IBTransaction1.Rollback();

    {
        TFbDatabase* database = DatabaseImpostazioniEffettivo();
        TFbTransaction transazione(database);
        transazione.Params() = ParametriScritturaImpostazioni();
        TFbSQL comando(database, &transazione);
        comando.SetSQL(SQLCancellaAspetto(FTabellaAspettoGriglia, FSituazione, FUtente, FCodiceProgetto));
        comando.ExecQuery();
        comando.SetSQL(SQLCancellaPosizioni(FSituazione, FUtente, FCodiceProgetto));
        comando.ExecQuery();
        transazione.Commit();
    }

    if (FTipoTabella == 0 && FQuery) {
        // cleared first: the owner's before-open handler puts the search condition in force back
        FSQLFiltro.clear();
        SetRicercaAttiva(false);
        FQuery->Close();
        FQuery->SQL = FSQLIniziale;
        FQuery->Open();
    } else if (FTipoTabella == 1 && FTable) {
        FTable->Close();
        FTable->Open();
    }
    SalvaAspettoSuStorico();
    form->CaricaGriglia();
}
