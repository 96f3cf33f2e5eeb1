#include "grid/TabelleGriglia.h"

#include "db/FbDatabase.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"

#include <memory>

QStringList LineeChiave(const TChiaveImpostazioni& chiave) {
    return {"WHERE (CodiceSituazione=" + QString::number(chiave.Situazione) + ")",
            "AND (CodiceUtente=" + QString::number(chiave.Utente) + ")",
            "AND (CodiceProgetto=" + QString::number(chiave.Progetto) + ")"};
}

QString TabellaQuotata(const TChiaveImpostazioni& chiave) { return "\"" + chiave.Tabella + "\""; }

int AttesaBloccoImpostazioni = 5;

QStringList ParametriScritturaImpostazioni() {
    return {"read_committed", "rec_version", "wait", "lock_timeout=" + QString::number(AttesaBloccoImpostazioni)};
}

const QVector<TTabellaGriglia>& TabelleGriglia() {
    static const QVector<TTabellaGriglia> tabelle{
        {"STOASP1",
         {"CREATE TABLE STOASP1(", "CODICEPROGETTO Smallint NOT NULL,", "CODICESITUAZIONE Smallint NOT NULL,",
          "CODICEUTENTE Smallint NOT NULL,", "NOMECAMPO Varchar(31) NOT NULL,", "LARGHEZZA Float,", "POSIZIONE Smallint,",
          "NOMECOLONNA Varchar(31),", "ORDINAMENTO Smallint,", "VISIBILE Smallint,", "COLORECOLONNA Integer,",
          "ORIGINE Varchar(64),",
          "CONSTRAINT STOASP1_CHIAVEPRIMARIA PRIMARY KEY (CODICEPROGETTO,CODICESITUAZIONE,CODICEUTENTE,NOMECAMPO));"}},
        {"STOPOS1",
         {"CREATE TABLE STOPOS1(", "CODICEPROGETTO Smallint NOT NULL,", "CODICESITUAZIONE Smallint NOT NULL,",
          "CODICEUTENTE Smallint NOT NULL,", "POSX Smallint,", "POSY Smallint,", "DIMX Smallint,", "DIMY Smallint,",
          "INFO1 Float,", "INFO2 Float,", "INFO3 Smallint,", "INFO4 Smallint,", "INFO5 Varchar(10),", "INFO6 Varchar(10),",
          "CONSTRAINT STOPOS1_CHIAVEPRIMARIA PRIMARY KEY (CODICEPROGETTO,CODICESITUAZIONE,CODICEUTENTE));"}},
        {"SETGRID",
         {"CREATE TABLE SETGRID(", "CODICEPROGETTO Smallint NOT NULL,", "CODICEUTENTE Smallint NOT NULL,",
          "COLORERECORDSELEZ Integer,", "COLORECAMPIINDIC Integer,", "ABILITATIMERRIC Smallint,",
          "ABILITARICF5SEMPRE Smallint,", "COLORECAMPOORD Integer,",
          "CONSTRAINT SETGRID_CHIAVEPRIMARIA PRIMARY KEY (CODICEPROGETTO,CODICEUTENTE));"}},
        {"TABX",
         {"CREATE TABLE TABX(", "  CODICE Integer NOT NULL,", "  CODPROGETTO Smallint,", "  CODSITUAZIONE Smallint,",
          "  TIPO Varchar(10),", "  NOME Varchar(64),", "  NUMERO Integer,", "  TESTO Varchar(128),", "  DATA Date,",
          "  MEMO Blob sub_type 1,", "  LIVELLO1 Smallint,", "  LIVELLO2 Smallint,", "  UTENTE Smallint,",
          "CONSTRAINT TABX_CHIAVEPRIMARIA PRIMARY KEY (CODICE))"}},
    };
    return tabelle;
}

void CheckTabPtqGrid(TFbDatabase* database) {
    auto transazione = std::make_unique<TFbTransaction>(database);
    transazione->Start();
    auto query = std::make_unique<TFbSQL>(database, transazione.get());
    query->SetParamCheck(false);
    for (const TTabellaGriglia& tabella : TabelleGriglia()) {
        query->SetSQL({"select RDB$RELATION_NAME from RDB$RELATIONS",
                       "WHERE RDB$RELATION_NAME ='" + tabella.Nome + "'"});
        query->ExecQuery();
        if (query->Eof()) {
            query->Close();
            query->SetSQL(tabella.Creazione);
            query->ExecQuery();
        }
        query->Close();
        query->SetSQL({});
    }
    transazione->Commit();
}
