#include "grid/AspettoGriglia.h"

#include "db/FbRiusabili.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"
#include "grid/CostruttoriSQL.h"

#include <algorithm>

QStringList LineeLetturaAspetto(const TChiaveImpostazioni& chiave, bool perPosizione) {
    QStringList linee = QStringList{"SELECT * FROM " + TabellaQuotata(chiave)} + LineeChiave(chiave);
    if (perPosizione) linee << "ORDER BY Posizione";
    return linee;
}

QStringList LineeCancellaAspetto(const TChiaveImpostazioni& chiave) {
    return QStringList{"DELETE FROM " + TabellaQuotata(chiave)} + LineeChiave(chiave);
}

QStringList LineeInserisciAspetto(const TChiaveImpostazioni& chiave) {
    return {"INSERT INTO " + chiave.Tabella + "(",
            "CODICEPROGETTO,",
            "CODICESITUAZIONE,",
            "CODICEUTENTE,",
            "NOMECAMPO,",
            "LARGHEZZA,",
            "POSIZIONE,",
            "NOMECOLONNA,",
            "ORDINAMENTO,",
            "VISIBILE,",
            "COLORECOLONNA,",
            "ORIGINE",
            ")",
            "VALUES(",
            QString::number(chiave.Progetto) + ",",
            QString::number(chiave.Situazione) + ",",
            QString::number(chiave.Utente) + ",",
            ":NOMECAMPO,",
            ":LARGHEZZA,",
            ":POSIZIONE,",
            ":NOMECOLONNA,",
            ":ORDINAMENTO,",
            ":VISIBILE,",
            ":COLORECOLONNA,",
            ":ORIGINE",
            ")"};
}

bool AspettoCambiato(const QVector<TRigaAspetto>& righe, const QVector<TColonnaAspetto>& colonne,
                     const TOrdinamentoGriglia& ordinamento) {
    if (righe.size() != colonne.size()) return true;
    for (int i = 0; i < righe.size(); ++i) {
        const TRigaAspetto& riga = righe[i];
        if (riga.NomeCampo != MaiuscoloAZ(colonne[i].NomeCampo) || riga.Posizione != i ||
            riga.Larghezza != colonne[i].Larghezza)
            return true;
    }
    for (const TRigaAspetto& riga : righe) {
        // a null mark reads 0
        const std::optional<int> marca = ordinamento.Marca(riga.NomeCampo);
        if (marca && riga.Ordinamento.toInt() != *marca) return true;
    }
    return false;
}

namespace {

TRigaAspetto LeggiRiga(const TFbSQL& q) {
    TRigaAspetto r;
    r.NomeCampo = q.FieldByName("NomeCampo").AsString();
    r.Origine = q.FieldByName("Origine").AsString();
    r.Posizione = q.FieldByName("Posizione").AsInteger();
    r.Larghezza = q.FieldByName("Larghezza").AsInteger();
    r.NomeColonna = q.FieldByName("NomeColonna").AsString();
    r.Colore = q.FieldByName("ColoreColonna").AsInteger();
    r.Visibile = q.FieldByName("Visibile").AsInteger() != 0;
    const TFbField ordinamento = q.FieldByName("Ordinamento");
    if (!ordinamento.IsNull()) r.Ordinamento = ordinamento.AsInteger();
    return r;
}

// The key's rows read in `transazione`, with the connection's kept statement.
QVector<TRigaAspetto> Leggi(TFbDatabase* database, TFbTransaction& transazione, const TChiaveImpostazioni& chiave,
                            bool perPosizione, TLunghezzeAspetto* lunghezze) {
    TFbSQLRiusato q(database, &transazione, LineeLetturaAspetto(chiave, perPosizione), false);
    QVector<TRigaAspetto> righe;
    for (q->ExecQuery(); !q->Eof(); q->Next()) righe << LeggiRiga(*q);
    if (lunghezze) {
        lunghezze->NomeCampo = q->FieldDefs().value(q->FieldIndex("NOMECAMPO")).Size;
        lunghezze->Origine = q->FieldDefs().value(q->FieldIndex("ORIGINE")).Size;
        lunghezze->NomeColonna = q->FieldDefs().value(q->FieldIndex("NOMECOLONNA")).Size;
    }
    return righe;
}

}  // namespace

QVector<TRigaAspetto> LeggiAspetto(TFbDatabase* database, const TChiaveImpostazioni& chiave, bool perPosizione,
                                   TLunghezzeAspetto* lunghezze) {
    TFbTransaction transazione(database);
    transazione.Params() = TFbTransaction::ReadOnlyParams();
    transazione.Start();
    const QVector<TRigaAspetto> righe = Leggi(database, transazione, chiave, perPosizione, lunghezze);
    transazione.Rollback();
    return righe;
}

bool SalvaAspetto(TFbDatabase* database, const TChiaveImpostazioni& chiave, const QVector<TColonnaAspetto>& colonne,
                  const TOrdinamentoGriglia& ordinamento) {
    TFbTransaction transazione(database);
    transazione.Params() = ParametriScritturaImpostazioni();
    transazione.Start();
    TLunghezzeAspetto lunghezze;
    const bool cambiato = AspettoCambiato(Leggi(database, transazione, chiave, true, &lunghezze), colonne, ordinamento);
    if (cambiato) {
        TFbSQLRiusato cancella(database, &transazione, LineeCancellaAspetto(chiave), false);
        cancella->ExecQuery();
        TFbSQLRiusato q(database, &transazione, LineeInserisciAspetto(chiave), true);
        for (int i = 0; i < colonne.size(); ++i) {
            const TColonnaAspetto& c = colonne[i];
            const std::optional<int> marca = ordinamento.Marca(c.NomeCampo);
            q->SetParam("NOMECAMPO", MaiuscoloAZ(c.NomeCampo.left(lunghezze.NomeCampo)));
            q->SetParam("LARGHEZZA", c.Larghezza);
            q->SetParam("POSIZIONE", i);
            q->SetParam("NOMECOLONNA", c.NomeColonna.left(lunghezze.NomeColonna));
            q->SetParam("ORDINAMENTO", marca ? QVariant(*marca) : QVariant());
            q->SetParam("VISIBILE", c.Visibile ? 1 : 0);
            q->SetParam("COLORECOLONNA", c.Colore);
            q->SetParam("ORIGINE", MaiuscoloAZ(c.Origine.left(lunghezze.Origine)));
            q->ExecQuery();
        }
    }
    transazione.Commit();
    return cambiato;
}

QStringList OrdineColonne(const QStringList& campi, QVector<TRigaAspetto> righe) {
    std::stable_sort(righe.begin(), righe.end(),
                     [](const TRigaAspetto& a, const TRigaAspetto& b) { return a.Posizione < b.Posizione; });
    QStringList maiuscoli;
    for (const QString& campo : campi) maiuscoli << MaiuscoloAZ(campo);
    QStringList ordine(campi.size());
    QVector<bool> collocato(campi.size(), false);
    for (const TRigaAspetto& riga : righe) {
        const int campo = int(maiuscoli.indexOf(MaiuscoloAZ(riga.NomeCampo)));
        if (campo < 0 || collocato[campo] || riga.Posizione < 0 || riga.Posizione >= campi.size() ||
            !ordine[riga.Posizione].isNull())
            continue;
        ordine[riga.Posizione] = campi[campo];
        collocato[campo] = true;
    }
    int libero = 0;
    for (int campo = 0; campo < campi.size(); ++campo) {
        if (collocato[campo]) continue;
        while (!ordine[libero].isNull()) ++libero;
        ordine[libero] = campi[campo];
    }
    return ordine;
}

void ApplicaAspetto(const QVector<TRigaAspetto>& righe, TColonneGriglia& colonne) {
    // placed from the left, each field moves only leftwards past fields not yet placed
    const QStringList ordine = OrdineColonne(colonne.NomiCampi(), righe);
    for (int posizione = 0; posizione < ordine.size(); ++posizione) colonne.SpostaCampo(ordine[posizione], posizione);
    for (const TRigaAspetto& riga : righe) {
        const int posizione = colonne.PosizioneDi(riga.NomeCampo);
        if (posizione < 0 || riga.Posizione < 0 || riga.Posizione >= colonne.Conta()) continue;
        colonne.ImpostaColonna(posizione, riga.Larghezza, riga.NomeColonna, riga.Colore, riga.Visibile);
    }
}
