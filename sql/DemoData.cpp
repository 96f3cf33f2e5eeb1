#include "sql/DemoData.h"

#include "db/FbDatabase.h"
#include "db/FbSQL.h"
#include "db/FbScript.h"
#include "db/FbTransaction.h"

#include <QDate>
#include <QFile>

static void InitSqlResources() { Q_INIT_RESOURCE(sql); }

namespace DemoData {

void Connetti(TFbDatabase& db, const QString& path) {
    db.SetDatabaseName(path);
    db.Params() = QStringList{"user_name=SYSDBA", "password=quillbent"};
    db.Open();
}

namespace {

void Esegui(TFbDatabase& db, const QStringList& lines, bool paramCheck = false) {
    TFbTransaction tr(&db);
    tr.Start();
    TFbSQL sql(&db, &tr);
    sql.SetParamCheck(paramCheck);
    sql.SetSQL(lines);
    sql.ExecQuery();
    tr.Commit();
}

// Inserts rows through one prepared statement in one transaction.
class TInseritore {
public:
    TInseritore(TFbDatabase& db, const QStringList& sql) : FTr(&db), FSql(&db, &FTr) {
        FTr.Start();
        FSql.SetSQL(sql);
    }
    void Riga(const QVariantList& values) {
        const QStringList names = FSql.ParamNames();
        for (int i = 0; i < names.size(); ++i) FSql.SetParam(names[i], values.value(i));
        FSql.ExecQuery();
    }
    void Fine() { FTr.Commit(); }

private:
    TFbTransaction FTr;
    TFbSQL FSql;
};

}  // namespace

void CreaDatabase(const QString& path, const QStringList& scripts, const QString& charset) {
    InitSqlResources();
    QFile::remove(path);
    TFbDatabase::CreateDatabase(path, charset);
    TFbDatabase db;
    Connetti(db, path);
    for (const QString& name : scripts) {
        QFile f(":/sql/" + name + ".sql");
        if (!f.open(QIODevice::ReadOnly)) throw std::runtime_error(("script not found: " + name).toStdString());
        RunScript(db, QString::fromUtf8(f.readAll()));
    }
    db.Close();
}

void PopolaArchivioBase(TFbDatabase& db) {
    TInseritore clienti(db, {"INSERT INTO CLIENTI (CODICE, RAGSOC, CITTA) VALUES (:C, :R, :CITTA)"});
    clienti.Riga({"C001", "Officina Meccanica Rossi S.r.l.", "Brescia"});
    clienti.Riga({"C002", "D'Amico Lamiere S.p.A.", "Bergamo"});
    clienti.Riga({"C003", "Bianchi & Figli\r\nCarpenteria metallica", "Lecco"});
    clienti.Riga({"C004", "Carpenteria Ferri", "Monza"});
    clienti.Riga({"C005", "Società Nuova Ràdice", "Como"});
    clienti.Riga({"C12", "Verdi Impianti", "Milano"});
    clienti.Fine();

    TInseritore macchine(db, {"INSERT INTO RET_MACCHINARI (CODICE, DESCRIZIONE) VALUES (:C, :D)"});
    macchine.Riga({1, "Taglio laser Trumpf"});
    macchine.Riga({2, "Piegatrice Amada"});
    macchine.Riga({3, "Punzonatrice Salvagnini"});
    macchine.Riga({4, "Centro di lavoro Mazak"});
    macchine.Fine();  // machine 99 appears in the log only

    TInseritore ordini(db, {"INSERT INTO ORDC (SERDOC, CODICECLIENTE, DATADOCUMENTO, NDOCUMENTO, NOTE)",
                            "VALUES (:S, :C, :D, :N, :NOTE)"});
    ordini.Riga({"A123", "C001", QDate(2025, 3, 4), 123, "Consegna urgente entro fine mese, imballo su pallet"});
    ordini.Riga({"A124", "C001", QDate(2025, 3, 18), 124, "Lamiera zincata"});
    ordini.Riga({"A125", "C001", QDate(2025, 4, 2), 125, QVariant()});
    ordini.Riga({"B'7", "C002", QDate(2025, 5, 6), 7, "Serie con apostrofo"});
    ordini.Riga({"B008", "C002", QDate(2025, 5, 9), 8, ""});
    ordini.Riga({"C300", "C003", QDate(2025, 6, 1), 300, "Telai saldati per linea di verniciatura"});
    ordini.Riga({"D400", "C004", QDate(2025, 6, 20), 400, "Solo esportazioni rifiutate"});
    ordini.Riga({"E500", "C005", QDate(2025, 7, 1), 500, "Flange inox"});
    ordini.Riga({"F600", "C12", QDate(2025, 7, 15), 600, "Staffe"});
    ordini.Fine();

    TInseritore log(db, {"INSERT INTO ZELSCANLOGLIGHT (ID, DATOINPUT, NR_MACCHINA, DATAORA, FILEDESTINAZIONE_NOME,",
                         "  TIPOOPERAZIONE, STATUS)",
                         "VALUES (GEN_ID(GEN_ZELSCANLOGLIGHT, 1), :D, :M, :T, :F, :O, :S)"});
    const QString exp = "EXPORT LAVORO", ok = "ACCETTATO";
    auto at = [](int day, int h, int m) { return QDateTime(QDate(2025, 3, day), QTime(h, m, 0)); };
    log.Riga({"A123", 1, at(5, 8, 10), "A123_pannello.dxf", exp, ok});
    log.Riga({"A123", 1, at(5, 8, 12), "A123_staffa.dxf", exp, ok});
    log.Riga({"A123", 2, at(5, 9, 30), "A123_piega.lst", exp, ok});
    log.Riga({"A123", 2, at(6, 10, 0), "A123_piega.lst", exp, ok});  // sent twice
    log.Riga({"A123", 3, at(6, 11, 0), "A123_punz.nc", exp, "RIFIUTATO"});
    log.Riga({"A123", 4, at(6, 11, 5), "A123_import.csv", "IMPORT", ok});
    log.Riga({"A123", 99, at(7, 7, 45), "A123_sconosciuta.nc", exp, ok});  // machine without RET_MACCHINARI row
    log.Riga({"A124", 1, at(19, 14, 0), "A124_lamiera.dxf", exp, ok});
    log.Riga({"A124", 3, at(19, 14, 30), "A124_fori.nc", exp, ok});
    log.Riga({"A125", 4, at(20, 9, 0), "A125_flangia.nc", exp, ok});
    log.Riga({"B'7", 1, at(21, 9, 0), "B7_taglio.dxf", exp, ok});
    log.Riga({"B008", 2, at(22, 9, 0), "B008_piega.lst", exp, ok});
    log.Riga({"C300", 1, at(23, 9, 0), "C300_telaio.dxf", exp, ok});
    log.Riga({"C300", 4, at(23, 10, 0), "C300_fresatura.nc", exp, ok});
    log.Riga({"D400", 1, at(24, 9, 0), "D400_rifiutato.dxf", exp, "RIFIUTATO"});
    log.Riga({"E500", 3, at(25, 9, 0), "E500_flangia.nc", exp, ok});
    log.Riga({"F600", 2, at(26, 9, 0), "F600_staffa.lst", exp, ok});
    log.Fine();
}

void AggiungiClienteGrande(TFbDatabase& db, const QString& codice, int ordini, int macchine, int file) {
    Esegui(db, {"UPDATE OR INSERT INTO CLIENTI (CODICE, RAGSOC, CITTA) VALUES ('" + codice + "', 'Cliente " + codice +
                    "', 'Milano') MATCHING (CODICE)"});
    Esegui(db, {"EXECUTE BLOCK AS",
                "  DECLARE M INTEGER = 1;",
                "BEGIN",
                "  WHILE (M <= " + QString::number(macchine) + ") DO BEGIN",
                "    UPDATE OR INSERT INTO RET_MACCHINARI (CODICE, DESCRIZIONE) VALUES (:M, 'Macchina ' || :M) MATCHING (CODICE);",
                "    M = M + 1;",
                "  END",
                "END"});
    Esegui(db, {"EXECUTE BLOCK AS",
                "  DECLARE O INTEGER = 1;",
                "  DECLARE M INTEGER;",
                "  DECLARE F INTEGER;",
                "  DECLARE S VARCHAR(20);",
                "BEGIN",
                "  WHILE (O <= " + QString::number(ordini) + ") DO BEGIN",
                "    S = '" + codice + "-' || O;",
                "    INSERT INTO ORDC (SERDOC, CODICECLIENTE, DATADOCUMENTO, NDOCUMENTO, NOTE)",
                "      VALUES (:S, '" + codice + "', DATEADD(MOD(:O, 365) DAY TO DATE '2024-01-01'), :O, 'Ordine numero ' || :O);",
                "    M = 1;",
                "    WHILE (M <= " + QString::number(macchine) + ") DO BEGIN",
                "      F = 1;",
                "      WHILE (F <= " + QString::number(file) + ") DO BEGIN",
                "        INSERT INTO ZELSCANLOGLIGHT (ID, DATOINPUT, NR_MACCHINA, DATAORA, FILEDESTINAZIONE_NOME, TIPOOPERAZIONE, STATUS)",
                "          VALUES (GEN_ID(GEN_ZELSCANLOGLIGHT, 1), :S, :M, DATEADD(:F MINUTE TO TIMESTAMP '2024-01-01 08:00:00'),",
                "                  :S || '_' || :M || '_' || :F || '.nc', 'EXPORT LAVORO', 'ACCETTATO');",
                "        F = F + 1;",
                "      END",
                "      M = M + 1;",
                "    END",
                "    O = O + 1;",
                "  END",
                "END"});
}

void AggiungiLogMassivo(TFbDatabase& db, int righe) {
    Esegui(db, {"EXECUTE BLOCK AS",
                "  DECLARE I INTEGER = 0;",
                "BEGIN",
                "  WHILE (I < " + QString::number(righe) + ") DO BEGIN",
                "    INSERT INTO ZELSCANLOGLIGHT (ID, DATOINPUT, NR_MACCHINA, DATAORA, FILEDESTINAZIONE_NOME, TIPOOPERAZIONE, STATUS)",
                "      VALUES (GEN_ID(GEN_ZELSCANLOGLIGHT, 1), 'M' || MOD(:I, 5000), MOD(:I, 7) + 1,",
                "              DATEADD(:I SECOND TO TIMESTAMP '2023-01-01 00:00:00'), 'lotto_' || :I || '.nc',",
                "              'EXPORT LAVORO', IIF(MOD(:I, 10) = 0, 'RIFIUTATO', 'ACCETTATO'));",
                "    I = I + 1;",
                "  END",
                "END"});
}

void AggiungiClienti(TFbDatabase& db, int quanti) {
    Esegui(db, {"EXECUTE BLOCK AS",
                "  DECLARE I INTEGER = 0;",
                "BEGIN",
                "  WHILE (I < " + QString::number(quanti) + ") DO BEGIN",
                "    INSERT INTO CLIENTI (CODICE, RAGSOC, CITTA) VALUES ('V' || :I,",
                "      DECODE(MOD(:I, 6), 0, 'Acciaierie ', 1, 'Carpenteria ', 2, 'Officina ', 3, 'Lamiere ', 4, 'Minuterie ', 'Stampi ')",
                "      || DECODE(MOD(:I / 6, 5), 0, 'Rossi ', 1, 'Bianchi ', 2, 'Colombo ', 3, 'Ferrari ', 'Esposito ') || :I, 'Milano');",
                "    I = I + 1;",
                "  END",
                "END"});
}

void PopolaUtenti(TFbDatabase& db, const QString& percorsoArchivio, const QString& directoryBin) {
    TInseritore utenti(db, {"INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA, PWDUTENTE) VALUES (:C, :N, :D, :P)"});
    utenti.Riga({1, "Ufficio tecnico", "01", "ufficio"});
    utenti.Riga({2, "Magazzino", "02", "magazzino"});
    utenti.Fine();
    TInseritore parametri(db, {"INSERT INTO TABKESTRIN (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO)",
                               "VALUES (:U, :I, :P, :V, :N)"});
    parametri.Riga({1, "01", "Directory bin", directoryBin, 1});
    parametri.Riga({1, "01", "Archivio", percorsoArchivio, 2});
    parametri.Riga({2, "02", "Directory bin", directoryBin, 1});
    parametri.Fine();
}

}  // namespace DemoData
