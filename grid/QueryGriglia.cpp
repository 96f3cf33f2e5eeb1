// The popup's "Query": the query utility started on the grid's table.
#include "grid/PtqGrid.h"

#include "controls/MessageBoxes.h"
#include "db/Errore.h"
#include "grid/CostruttoriSQL.h"
#include "print/Tondrik.h"

#include <memory>

void TPtqGrid::LanciaQuery() {
    switch (FTipoTabella) {
    case 0: {
        if (!FQuery) return;
        TFbTable tabella;
        tabella.SetDatabase(FQuery->Database());
        tabella.SetTransaction(FQuery->Transaction());
        tabella.TableName = FNomeTabellaQuery.isEmpty() ? NomeTabellaDaSQL(FSQLIniziale) : FNomeTabellaQuery;
        tabella.Open();
        AvviaUtility(tabella.TableName, tabella.Database(), FUtente);
        tabella.Close();
        break;
    }
    case 1:
        if (FTable) AvviaUtility(FTable->TableName, FTable->Database(), 0);
        break;
    case 2:
        if (!FTabellaAppoggio || !FSorgenteDati) return;
        CopiaInTabellaAppoggio();
        AvviaUtility(FTabellaAppoggio->TableName, FTabellaAppoggio->Database(), 0);
        break;
    default:
        break;
    }
}

namespace {

// A source value as text, as the user reads it; a date or number column of the support table
// takes the value itself, which is what its text would read back as.
QVariant ValoreComeTesto(const TFbField& campo, const TFbFieldDef& destinazione) {
    if (campo.IsNull()) return {};
    switch (destinazione.Type) {
    case TFbFieldType::FixedChar:
    case TFbFieldType::String:
    case TFbFieldType::Memo: return campo.AsString();
    default: return campo.AsVariant();
    }
}

}  // namespace

void TPtqGrid::CopiaInTabellaAppoggio() {
    TFbTable& appoggio = *FTabellaAppoggio;
    TFbDataSet& sorgente = *FSorgenteDati;
    if (!appoggio.Transaction()) throw EDatabaseError("Tabella di appoggio " + appoggio.TableName + " senza transazione");
    appoggio.Close();
    if (!appoggio.Transaction()->Active()) appoggio.Transaction()->Start();
    appoggio.EmptyTable();
    appoggio.Open();
    const int posizione = sorgente.RecNo();
    const int campi = qMin(sorgente.FieldCount(), appoggio.FieldCount());
    for (sorgente.First(); !sorgente.Eof(); sorgente.Next()) {
        appoggio.Append();
        for (int i = 0; i < campi; ++i) appoggio.SetFieldValue(i, ValoreComeTesto(sorgente.Field(i), appoggio.FieldDefs()[i]));
        appoggio.Post();
    }
    if (posizione >= 0) sorgente.MoveTo(posizione);
    appoggio.Transaction()->CommitRetaining();
}

void TPtqGrid::AvviaUtility(const QString& tabella, TFbDatabase* database, int utente) {
    TTondrikComando_VisualizzaConQuery comando;
    comando.SetTabella(tabella);
    comando.SetDatabaseName(database ? database->DatabaseName() : QString());
    comando.SetBinDir(FDirectoryBin);
    comando.SetNomeProgetto(FNomeProgetto);
    comando.SetUtente(utente);
    std::unique_ptr<TTondrikFacade> facade(new TTondrikFacade(this));
    facade->SetComando(&comando);
    try {
        facade->Check();
        if (!facade->Esegui()) throw Exception("Esecuzione non riuscita");
    } catch (const Exception& e) {
        MessageBoxes().Avviso(this, e.Message());
    }
}
