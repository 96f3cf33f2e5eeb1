#include "db/PtqUser.h"

#include "db/Errore.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"

#include <QCoreApplication>
#include <QDir>

TPtqUser::TPtqUser(QObject* owner) : QObject(owner), FDBUser(this) {}

void TPtqUser::ConnettiDB() {
    ConnettiDB(QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + "/user/user.fdb"));
}

void TPtqUser::ConnettiDB(const QString& fileName) { ConnettiDatabase(FDBUser, fileName); }

void TPtqUser::ConnettiDB(const TDBConnectionInfo& info) { ApriConnessione(FDBUser, info); }

void TPtqUser::SetCodiceUtente(int valore) {
    TFbTransaction tr(&FDBUser);
    TFbSQL sql(&FDBUser, &tr);
    sql.SetParamCheck(false);
    sql.SetSQL({"SELECT * FROM UTENTI WHERE CODICE=" + QString::number(valore)});
    tr.Start();
    sql.ExecQuery();
    if (sql.Eof()) {
        tr.Rollback();
        throw Exception(QString("Utente %1 non trovato").arg(valore));
    }
    FCodiceUtente = sql.FieldByName("CODICE").AsInteger();
    FNomeUtente = sql.FieldByName("NOMEUTENTE").AsString();
    FDittaUtente = sql.FieldByName("DITTA").AsString();
    FPasswordUtente = sql.FieldByName("PWDUTENTE").AsString();
    tr.Rollback();
}

void TPtqUser::CheckPassword(const QString& valore) const {
    if (valore != FPasswordUtente) throw Exception("Password errata");
}

QString TPtqUser::GetParamKestrin(const QString& nome) {
    TFbTransaction tr(&FDBUser);
    TFbSQL sql(&FDBUser, &tr);
    // company and name travel as parameters, so a quote in them cannot break the statement
    sql.SetSQL({"SELECT", "  VALORE", "FROM", "  TABKESTRIN", "WHERE", "  UTENTE=" + QString::number(FCodiceUtente),
                "  AND", "  INTESTAZIONE=:INTESTAZIONE", "  AND", "  PARAMETRO=:PARAMETRO"});
    sql.SetParam("INTESTAZIONE", FDittaUtente);
    sql.SetParam("PARAMETRO", nome);
    tr.Start();
    sql.ExecQuery();
    const QString valore = sql.Eof() ? QString() : sql.FieldByName("VALORE").AsString();
    tr.Rollback();
    return valore;
}

// Writes run in a "concurrency" "nowait" transaction that is committed also when the statement fails.
void TPtqUser::EseguiScrittura(TFbSQL& sql) {
    TFbTransaction tr(&FDBUser);
    tr.Params() = QStringList{"concurrency", "nowait"};
    sql.SetTransaction(&tr);
    tr.Start();
    try {
        sql.ExecQuery();
    } catch (...) {
        // the write's error is the one to report, also when this commit fails too
        try {
            tr.Commit();
        } catch (const Exception&) {
        }
        throw;
    }
    tr.Commit();
}

void TPtqUser::SetParamKestrin(const QString& nome, const QString& valore) {
    TFbSQL sql(&FDBUser);
    sql.SetSQL({"MERGE INTO TABKESTRIN A", "USING(", "  SELECT", "    CAST(:PARAMETRO AS VARCHAR(64)) AS PARAMETRO",
                "  FROM", "    RDB$DATABASE", ") B ON", "A.PARAMETRO=B.PARAMETRO", "AND", "A.UTENTE=:UTENTE", "AND",
                "A.INTESTAZIONE=:INTESTAZIONE", "WHEN MATCHED THEN UPDATE SET", "  A.VALORE=:VALORE",
                "WHEN NOT MATCHED THEN INSERT(", "  UTENTE,", "  INTESTAZIONE,", "  PARAMETRO,", "  VALORE,",
                "  PROGRESSIVO", ")", "VALUES(", "  :UTENTE,", "  :INTESTAZIONE,", "  :PARAMETRO,", "  :VALORE,",
                "  (", "    SELECT", "      COALESCE(MAX(PROGRESSIVO),0)+1", "    FROM", "      TABKESTRIN", "    WHERE",
                "      UTENTE=:UTENTE", "  )", ")"});
    sql.SetParam("UTENTE", FCodiceUtente);
    sql.SetParam("INTESTAZIONE", FDittaUtente);
    sql.SetParam("PARAMETRO", nome);
    sql.SetParam("VALORE", SostituisciApice(valore, "''"));
    EseguiScrittura(sql);
    if (!FUpdating) RicostruisciKestrinIni();
}

void TPtqUser::EndUpdate() {
    FUpdating = false;
    RicostruisciKestrinIni();
}

void TPtqUser::RicostruisciKestrinIni() {
    TFbSQL sql(&FDBUser);
    sql.SetParamCheck(false);
    sql.SetSQL({"EXECUTE BLOCK AS",
                "  DECLARE VARIABLE UTENTE Integer = " + QString::number(FCodiceUtente) + ";",
                "  DECLARE VARIABLE INTESTAZIONE VarChar(64);",
                "  DECLARE VARIABLE PARAMETRO VarChar(64);",
                "  DECLARE VARIABLE VALORE VarChar(256);",
                "  DECLARE VARIABLE SCRITTURA Smallint;",
                "BEGIN",
                "  UPDATE UTENTI SET KESTRIN=NULL WHERE CODICE=:UTENTE;",
                "  FOR SELECT DISTINCT INTESTAZIONE FROM TABKESTRIN",
                "      WHERE UTENTE=:UTENTE AND INTESTAZIONE IS NOT NULL",
                "      ORDER BY INTESTAZIONE",
                "      INTO :INTESTAZIONE DO",
                "  BEGIN",
                "    SCRITTURA=0;",
                "    FOR SELECT PARAMETRO, VALORE FROM TABKESTRIN",
                "        WHERE UTENTE=:UTENTE AND INTESTAZIONE=:INTESTAZIONE",
                "        ORDER BY INTESTAZIONE, PROGRESSIVO",
                "        INTO :PARAMETRO, :VALORE DO",
                "    BEGIN",
                "      IF (SCRITTURA=0) THEN",
                "      BEGIN",
                "        UPDATE UTENTI SET KESTRIN=COALESCE(KESTRIN,'')||'['||:INTESTAZIONE||']'||ASCII_CHAR(10)",
                "          WHERE CODICE=:UTENTE;",
                "        SCRITTURA=1;",
                "      END",
                "      UPDATE UTENTI SET KESTRIN=KESTRIN||:PARAMETRO||'='||COALESCE(:VALORE,'')||ASCII_CHAR(10)",
                "        WHERE CODICE=:UTENTE;",
                "    END",
                "  END",
                "END"});
    EseguiScrittura(sql);
    ++FRicostruzioni;
}

void TPtqUser::ScritturaHandleDiApertura(int idFinestra, quint64 handle) {
    TFbSQL sql(&FDBUser);
    sql.SetParamCheck(false);
    sql.SetSQL({"UPDATE VELDOLOGFUNZ SET", "HANDLEFINESTRA=" + QString::number(handle), "WHERE",
                "  IDFINESTRA=" + QString::number(idFinestra)});
    EseguiScrittura(sql);
}
