#include "grid/PosizioneRicerca.h"

#include "controls/Centratura.h"
#include "controls/RadioGroup.h"
#include "db/FbDataSet.h"
#include "db/FbTransaction.h"
#include "grid/CostruttoriSQL.h"
#include "grid/RPtqGrid.h"
#include "grid/TabelleGriglia.h"

#include <QCheckBox>

namespace {

QStringList CondizioneChiave(const TLuogoPosizione& l) {
    return {"WHERE (CodiceSituazione=" + QString::number(l.Situazione) + ")",
            "AND (CodiceUtente=" + QString::number(l.Utente) + ")",
            "AND (CodiceProgetto=" + QString::number(l.Progetto) + ")"};
}

// The reading query on its own transaction, open on the row (if any).
struct TLettura {
    TFbTransaction Transazione;
    TFbQuery Query;
    TLettura(const TLuogoPosizione& luogo, const QStringList& parametri) : Transazione(luogo.Database) {
        Transazione.Params() = parametri;
        Transazione.Start();
        Query.SetDatabase(luogo.Database);
        Query.SetTransaction(&Transazione);
        Query.SQL = SQLPosizioneRicerca(luogo);
        Query.Open();
    }
    bool Riga() const { return !Query.IsEmpty(); }
    TPosizioneRicerca Valori() const {
        return {Query.FieldByName("POSX").AsInteger(), Query.FieldByName("POSY").AsInteger(),
                Query.FieldByName("INFO3").AsInteger(), Query.FieldByName("INFO4").AsInteger() == 1,
                Query.FieldByName("INFO1").AsInteger()};
    }
};

}  // namespace

QStringList SQLPosizioneRicerca(const TLuogoPosizione& luogo) {
    return QStringList{"SELECT * FROM \"" + luogo.Tabella + "\""} + CondizioneChiave(luogo);
}

void PreparaAggiornamentoPosizione(TFbQuery& lettura, const TLuogoPosizione& luogo, TFbUpdateSQL& aggiornamento) {
    PreparaSQLAggiornamento(lettura, luogo.Tabella, "UPDATE", aggiornamento);
    PreparaSQLAggiornamento(lettura, luogo.Tabella, "INSERT", aggiornamento);
    aggiornamento.ModifySQL << CondizioneChiave(luogo);
}

bool LeggiPosizioneRicerca(const TLuogoPosizione& luogo, TPosizioneRicerca& posizione) {
    TLettura lettura(luogo, TFbTransaction::ReadOnlyParams());
    const bool riga = lettura.Riga();
    if (riga) posizione = lettura.Valori();
    lettura.Query.Close();
    lettura.Transazione.Rollback();
    return riga;
}

bool ScriviPosizioneRicerca(const TLuogoPosizione& luogo, const TPosizioneRicerca& p) {
    TLettura lettura(luogo, ParametriScritturaImpostazioni());
    TFbQuery& query = lettura.Query;
    const bool riga = lettura.Riga();
    const bool cambiata = !riga || !(lettura.Valori() == p);
    if (cambiata) {
        TFbUpdateSQL aggiornamento;
        PreparaAggiornamentoPosizione(query, luogo, aggiornamento);
        query.UpdateObject = &aggiornamento;
        if (riga) {
            query.Edit();
        } else {
            query.Append();
            query.SetFieldValue("CODICEPROGETTO", luogo.Progetto);
            query.SetFieldValue("CODICESITUAZIONE", luogo.Situazione);
            query.SetFieldValue("CODICEUTENTE", luogo.Utente);
        }
        query.SetFieldValue("POSX", p.PosX);
        query.SetFieldValue("POSY", p.PosY);
        query.SetFieldValue("INFO3", p.TipoRicerca);
        query.SetFieldValue("INFO4", p.Upper ? 1 : 0);
        query.SetFieldValue("INFO1", double(p.Ordinamento));
        query.Post();
        query.UpdateObject = nullptr;
    }
    query.Close();
    if (lettura.Transazione.Active()) lettura.Transazione.Commit();
    return cambiata;
}

void CaricaPosizioneRicerca(TRPtqGridForm& dialogo, const TLuogoPosizione& luogo) {
    TPosizioneRicerca p;
    if (!LeggiPosizioneRicerca(luogo, p)) {
        CentraSulloSchermo(&dialogo);
        return;
    }
    dialogo.move(p.PosX, p.PosY);
    dialogo.EditTipoRicerca->SetItemIndex(p.TipoRicerca);
    dialogo.EditUpper->setChecked(p.Upper);
    dialogo.EditOrdinamento->SetItemIndex(p.Ordinamento);
}

void SalvaPosizioneRicerca(const TRPtqGridForm& dialogo, const TLuogoPosizione& luogo) {
    ScriviPosizioneRicerca(luogo, {dialogo.x(), dialogo.y(), dialogo.EditTipoRicerca->ItemIndex(),
                                   dialogo.EditUpper->isChecked(), dialogo.EditOrdinamento->ItemIndex()});
}
