// The user component against a real user database.
#include "db/FbSQL.h"
#include "db/FbTransaction.h"
#include "db/PtqUser.h"
#include "tests/support/TestDb.h"

#include <QCoreApplication>
#include <QtTest>

class TestPtqUser : public QObject {
    Q_OBJECT
    TTestDir FDir;
    QString FUser;

    QString Kestrin(TFbDatabase& db, int utente) {
        return ValoreSQL(db, QString("SELECT COALESCE(KESTRIN, '<NULL>') FROM UTENTI WHERE CODICE=%1").arg(utente));
    }

private slots:
    void initTestCase() {
        FUser = FDir.NuovoUtentiDemo("/dati/archivio.fdb");
        TFbDatabase db;
        Connetti(db, FUser);
        EseguiSQL(db, "INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA, PWDUTENTE) VALUES (7, 'Prove', '01', NULL)");
        EseguiSQL(db, "INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA) VALUES (8, 'Senza sezioni', '01')");
        EseguiSQL(db, "INSERT INTO TABKESTRIN (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO) VALUES (8, NULL, 'X', '1', 1)");
        EseguiSQL(db, "INSERT INTO VELDOLOGFUNZ (IDFINESTRA, NOMEFINESTRA) VALUES (3, 'FormMain')");
    }

    void loadsTheUserAndKeepsFieldsOnAMissingOne() {
        TPtqUser u;
        u.ConnettiDB(FUser);
        u.SetCodiceUtente(1);
        QCOMPARE(u.CodiceUtente(), 1);
        QCOMPARE(u.NomeUtente(), QString("Ufficio tecnico"));
        QCOMPARE(u.DittaUtente(), QString("01"));
        u.CheckPassword("ufficio");
        try {
            u.CheckPassword("Ufficio");
            QFAIL("password compared without case");
        } catch (const Exception& e) {
            QCOMPARE(e.Message(), QString("Password errata"));
        }
        try {
            u.SetCodiceUtente(99);
            QFAIL("unknown user accepted");
        } catch (const Exception& e) {
            QCOMPARE(e.Message(), QString("Utente 99 non trovato"));
        }
        QCOMPARE(u.CodiceUtente(), 1);
        QCOMPARE(u.NomeUtente(), QString("Ufficio tecnico"));
        u.SetCodiceUtente(7);
        u.CheckPassword("");  // NULL password reads as empty
    }

    void readsParametersOfTheCurrentCompanyOnly() {
        TPtqUser u;
        u.ConnettiDB(TDBConnectionInfo{QString(), QString(), QString(), FUser, QString()});
        u.SetCodiceUtente(1);
        QCOMPARE(u.GetParamKestrin("Archivio"), QString("/dati/archivio.fdb"));
        QCOMPARE(u.GetParamKestrin("Nessuno"), QString());
        QCOMPARE(u.GetParamKestrin("l'apice"), QString());  // a quote cannot break the statement
        u.SetDittaUtente("02");
        QCOMPARE(u.GetParamKestrin("Archivio"), QString());  // only in company 01
        u.SetDittaUtente("0'1");
        QCOMPARE(u.GetParamKestrin("Archivio"), QString());
    }

    void writesKeepTheirOrderAndRebuildTheImage() {
        TPtqUser u;
        u.ConnettiDB(FUser);
        u.SetCodiceUtente(7);
        u.SetDittaUtente("B");
        u.SetParamKestrin("Directory bin", "C:\\Suite\\bin");
        u.SetParamKestrin("Archivio", "x");
        u.SetDittaUtente("A");
        u.SetParamKestrin("Colore", "l'azzurro");
        u.SetDittaUtente("B");
        u.SetParamKestrin("Archivio", "y");  // updates in place, keeps its PROGRESSIVO
        u.SetParamKestrin("Vuoto", QString());
        QCOMPARE(u.GetParamKestrin("Archivio"), QString("y"));
        TFbDatabase db;
        Connetti(db, FUser);
        QCOMPARE(ValoreSQL(db, "SELECT LIST(PARAMETRO || ':' || PROGRESSIVO, ',') FROM "
                               "(SELECT PARAMETRO, PROGRESSIVO FROM TABKESTRIN WHERE UTENTE=7 ORDER BY PROGRESSIVO)"),
                 QString("Directory bin:1,Archivio:2,Colore:3,Vuoto:4"));
        u.SetDittaUtente("A");
        QCOMPARE(u.GetParamKestrin("Colore"), QString("l''azzurro"));  // stored doubled, read back as stored
        QCOMPARE(Kestrin(db, 7), QString("[A]\nColore=l''azzurro\n[B]\nDirectory bin=C:\\Suite\\bin\nArchivio=y\nVuoto=\n"));
    }

    void batchedWritesRebuildOnceAtTheEnd() {
        TPtqUser u;
        u.ConnettiDB(FUser);
        u.SetCodiceUtente(2);
        TFbDatabase db;
        Connetti(db, FUser);
        const int prima = u.Ricostruzioni();
        u.BeginUpdate();
        u.BeginUpdate();  // no nesting count
        u.SetParamKestrin("P1", "1");
        u.SetParamKestrin("P2", "2");
        u.SetParamKestrin("P3", "3");
        QCOMPARE(u.Ricostruzioni(), prima);
        QCOMPARE(Kestrin(db, 2), QString("<NULL>"));
        QCOMPARE(ValoreSQL(db, "SELECT COUNT(*) FROM TABKESTRIN WHERE UTENTE=2"), QString("4"));
        u.EndUpdate();
        QCOMPARE(u.Ricostruzioni(), prima + 1);
        QCOMPARE(Kestrin(db, 2), QString("[02]\nDirectory bin=%1\nP1=1\nP2=2\nP3=3\n").arg(FDir.Root() + "/bin"));
    }

    void rowsWithoutSectionLeaveTheImageNull() {
        TPtqUser u;
        u.ConnettiDB(FUser);
        u.SetCodiceUtente(8);
        u.EndUpdate();  // rebuilds even with nothing written
        TFbDatabase db;
        Connetti(db, FUser);
        QCOMPARE(Kestrin(db, 8), QString("<NULL>"));
    }

    void aLockedRowFailsAtOnceWithTheDatabaseMessage() {
        TPtqUser u;
        u.ConnettiDB(FUser);
        u.SetCodiceUtente(1);
        TFbDatabase other;
        Connetti(other, FUser);
        TFbTransaction holder(&other);
        holder.Start();
        TFbSQL lock(&other, &holder);
        lock.SetSQL({"UPDATE TABKESTRIN SET VALORE=VALORE WHERE UTENTE=1 AND PARAMETRO='Archivio'"});
        lock.ExecQuery();
        QElapsedTimer t;
        t.start();
        try {
            u.SetParamKestrin("Archivio", "altro");
            QFAIL("the locked row was written");
        } catch (const EDatabaseError& e) {
            QVERIFY2(e.Message().contains("deadlock"), qPrintable(e.Message()));
        }
        QVERIFY(t.elapsed() < 2000);
        holder.Rollback();
        QCOMPARE(u.GetParamKestrin("Archivio"), QString("/dati/archivio.fdb"));
    }

    void aFailedWriteReportsItsOwnErrorWhenItsCommitFailsToo() {
        TPtqUser u;
        u.ConnettiDB(FUser);
        u.SetCodiceUtente(1);
        InstallaRifiutoCommit(*u.DBUser());
        RifiutaCommit(*u.DBUser(), true);
        try {
            u.SetParamKestrin("Troppo lungo", QString(300, 'x'));  // VALORE holds 256 characters
            QFAIL("a value longer than the column was written");
        } catch (const EDatabaseError& e) {
            QVERIFY2(e.Message().contains("string right truncation"), qPrintable(e.Message()));
            QVERIFY2(!e.Message().contains("commit rifiutato"), qPrintable(e.Message()));
        }
        RifiutaCommit(*u.DBUser(), false);
        u.SetParamKestrin("Dopo il rifiuto", "ok");
        QCOMPARE(u.GetParamKestrin("Dopo il rifiuto"), QString("ok"));
    }

    void writesTheWindowHandle() {
        TPtqUser u;
        u.ConnettiDB(FUser);
        u.ScritturaHandleDiApertura(3, Q_UINT64_C(4294967296123));
        u.ScritturaHandleDiApertura(42, 5);  // no such row: nothing happens
        TFbDatabase db;
        Connetti(db, FUser);
        QCOMPARE(ValoreSQL(db, "SELECT HANDLEFINESTRA FROM VELDOLOGFUNZ WHERE IDFINESTRA=3"), QString("4294967296123"));
    }

    void connectsToTheUserFolderBesideTheProgram() {
        const QString dir = QCoreApplication::applicationDirPath() + "/user";
        QDir().mkpath(dir);
        QFile::remove(dir + "/user.fdb");
        QVERIFY(QFile::copy(FUser, dir + "/user.fdb"));
        TPtqUser u;
        u.ConnettiDB();
        u.SetCodiceUtente(1);
        QCOMPARE(u.DBUser()->DatabaseName(), QDir::toNativeSeparators(dir + "/user.fdb"));
        u.DBUser()->Close();
        QDir(dir).removeRecursively();
    }
};

QTEST_GUILESS_MAIN(TestPtqUser)
#include "tst_ptquser.moc"
