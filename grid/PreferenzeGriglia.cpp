#include "grid/PreferenzeGriglia.h"

#include "db/Errore.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"

namespace {

TColore ColoreODefault(const TFbField& campo, TColore predefinito) {
    const TColore valore = campo.AsInteger();
    return valore == 0 ? predefinito : valore;
}

}  // namespace

void LeggiPreferenzeGriglia(TFbDatabase* database, const QString& tabella, int utente, int progetto,
                            TPreferenzeGriglia& preferenze, bool& disabilitaMemPos) {
    TFbTransaction transazione(database);
    transazione.Params() = TFbTransaction::ReadOnlyParams();
    transazione.Start();
    TFbSQL query(database, &transazione);
    query.SetParamCheck(false);
    query.SetSQL({"SELECT * FROM \"" + tabella + "\"", "WHERE (CodiceUtente=" + QString::number(utente) + ")",
                  "AND (CodiceProgetto=" + QString::number(progetto) + ")"});
    query.ExecQuery();
    TPreferenzeGriglia lette;
    if (query.Eof()) {
        lette = {clSistema(1), clGiallo, clRosso, true, false};
    } else {
        lette.ColoreRecordSelezionato = ColoreODefault(query.FieldByName("ColoreRecordSelez"), clSistema(1));
        lette.ColoreCampoIndicizzato = ColoreODefault(query.FieldByName("ColoreCampiIndic"), clGiallo);
        lette.ColoreCampoOrdinamento = ColoreODefault(query.FieldByName("ColoreCampoOrd"), clRosso);
        lette.AbilitaTimer = query.FieldByName("AbilitaTimerRic").AsInteger() == 1;
        lette.AbilitaRicF5Sempre = query.FieldByName("AbilitaRicF5Sempre").AsInteger() == 1;
    }
    preferenze = lette;
    query.Close();

    try {
        query.SetSQL({"SELECT", "  TESTO", "FROM", "  TABX", "WHERE", "  NOME='DisabilitaMemPosGriglie'", "  AND",
                      "  UTENTE=" + QString::number(utente)});
        query.ExecQuery();
        if (!query.Eof()) disabilitaMemPos = query.FieldByName("TESTO").AsInteger() == 1;
        query.Close();
    } catch (const Exception&) {
    }
}
