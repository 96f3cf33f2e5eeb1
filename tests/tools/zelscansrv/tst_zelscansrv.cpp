// The stand-in scan server as a real child process on 127.0.0.1 with a demo archive.
#include "app/server/InvioFromSrv.h"
#include "db/FbDatabase.h"
#include "tests/support/TestDb.h"

#include <QProcess>
#include <QtTest>
#include <httplib.h>

namespace {

// The body of a request for log row `id` as the program sends it.
QByteArray Corpo(int id, const QString& serDoc, int nr) {
    TZelFileFromSrvRequest r;
    r.SetIdLogFile(id);
    r.SetSerDoc(serDoc);
    r.SetNrMacchina(nr);
    r.SetUtenteId(1);
    r.SetDitta("01");
    return r.ToJsonString().toLatin1();
}

// The answer to a request that sent `file` to machine `nr`, byte for byte.
QByteArray Inviato(const QString& file, int nr) {
    return QString(R"({"Status":"1","Messaggio":"File %1 inviato alla macchina %2"})").arg(file).arg(nr).toUtf8();
}

}  // namespace

class TestZelScanSrv : public QObject {
    Q_OBJECT
    TTestDir FDir;
    QString FArchivio, FFile, FOutbox, FLog;
    QProcess FServer;
    int FPorta = 0;
    int FRichieste = 0;  // requests sent, for the log check

    QStringList Argomenti() const {
        return {"--listen", "127.0.0.1:0", "--archivio", FArchivio, "--files", FFile, "--outbox", FOutbox, "--log", FLog};
    }

    httplib::Result Post(const std::string& percorso, const QByteArray& corpo) {
        httplib::Client c("127.0.0.1", FPorta);
        ++FRichieste;
        return c.Post(percorso, corpo.toStdString(), "application/json");
    }

    static void Scrivi(const QString& percorso, const QByteArray& dati) {
        QFile f(percorso);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(dati);
    }

private slots:
    void initTestCase() {
        FArchivio = FDir.NuovoArchivioDemo();
        FFile = FDir.Path("file");
        FOutbox = FDir.Path("outbox");
        FLog = FDir.Path("zelscansrv.log");
        QDir().mkpath(FFile);
        Scrivi(FFile + "/A123_pannello.dxf", "0\nSECTION\n2\nENTITIES\n");
        Scrivi(FFile + "/A123_piega.lst", "piega 90\n");
        Scrivi(FFile + "/A123_punz.nc", "G00 X0\n");
        {
            TFbDatabase db;
            Connetti(db, FArchivio);
            EseguiSQL(db, "INSERT INTO ZELSCANLOGLIGHT (ID, DATOINPUT, NR_MACCHINA, FILEDESTINAZIONE_NOME, TIPOOPERAZIONE, STATUS)"
                          " VALUES (100, 'A123', 1, '../segreto.txt', 'EXPORT LAVORO', 'ACCETTATO')");
            EseguiSQL(db, "INSERT INTO ZELSCANLOGLIGHT (ID, DATOINPUT, NR_MACCHINA, FILEDESTINAZIONE_NOME, TIPOOPERAZIONE, STATUS)"
                          " VALUES (101, 'A123', 1, NULL, 'EXPORT LAVORO', 'ACCETTATO')");
        }
        FServer.setProgram(ZELSCANSRV_PATH);
        FServer.setArguments(Argomenti());
        FServer.start();
        QVERIFY(FServer.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(FServer.canReadLine(), 20000);
        const QString riga = QString::fromLocal8Bit(FServer.readLine()).trimmed();
        QVERIFY2(riga.startsWith("ZelScanSrv in ascolto su http://127.0.0.1:"), qPrintable(riga));
        FPorta = riga.section(':', -1).toInt();
        QVERIFY(FPorta > 0);
    }

    void cleanupTestCase() {
        if (FServer.state() != QProcess::NotRunning) {
            FServer.terminate();
            FServer.waitForFinished(10000);
        }
    }

    void goodRequestCopiesTheFile_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("serDoc");
        QTest::addColumn<int>("nr");
        QTest::addColumn<QString>("file");
        QTest::newRow("machine 1") << 1 << "A123" << 1 << "A123_pannello.dxf";
        QTest::newRow("machine 2, sent twice") << 3 << "A123" << 2 << "A123_piega.lst";
        QTest::newRow("machine 2 again: replaced") << 4 << "A123" << 2 << "A123_piega.lst";
    }

    void goodRequestCopiesTheFile() {
        QFETCH(int, id);
        QFETCH(QString, serDoc);
        QFETCH(int, nr);
        QFETCH(QString, file);
        const auto res = Post("/ZelFile/FromSrv", Corpo(id, serDoc, nr));
        QVERIFY(res);
        QCOMPARE(res->status, 200);
        QCOMPARE(QByteArray::fromStdString(res->body), Inviato(file, nr));
        QCOMPARE(QString::fromStdString(res->get_header_value("Content-Type")), QString("application/json; charset=utf-8"));
        QFile copia(QString("%1/macchina_%2/%3").arg(FOutbox).arg(nr).arg(file));
        QVERIFY(copia.open(QIODevice::ReadOnly));
        QFile originale(FFile + "/" + file);
        QVERIFY(originale.open(QIODevice::ReadOnly));
        QCOMPARE(copia.readAll(), originale.readAll());
    }

    void theProgramsOwnExchangeSucceeds() {
        ++FRichieste;
        const auto r = EseguiInvioFromSrv(TZelFileFromSrvRequest(), QString("http://127.0.0.1:%1").arg(FPorta));
        QCOMPARE(r->Messaggio(), QString("Record ID 0 non trovato in archivio"));
        QVERIFY(r->IsError());
        TZelFileFromSrvRequest buona;
        buona.SetIdLogFile(1);
        buona.SetSerDoc("A123");
        buona.SetNrMacchina(1);
        buona.SetUtenteId(1);
        buona.SetDitta("01");
        ++FRichieste;
        const auto ok = EseguiInvioFromSrv(buona, QString("http://127.0.0.1:%1").arg(FPorta));
        QCOMPARE(ok->Status(), QString("1"));
        QCOMPARE(ok->Messaggio(), QString("File A123_pannello.dxf inviato alla macchina 1"));
    }

    void refusals_data() {
        QTest::addColumn<QByteArray>("corpo");
        QTest::addColumn<QString>("messaggio");

        QTest::newRow("unknown ID") << Corpo(999, "A123", 1) << "Record ID 999 non trovato in archivio";
        QTest::newRow("other machine") << Corpo(1, "A123", 2) << "Record ID 1: macchina 1 diversa da quella richiesta (2)";
        QTest::newRow("other order series") << Corpo(1, "A124", 1) << "Record ID 1: Ser.Doc. A123 diverso da quello richiesto (A124)";
        QTest::newRow("refused export") << Corpo(5, "A123", 3) << "Record ID 5 non accettato dalla macchina (stato RIFIUTATO)";
        QTest::newRow("import, not an export") << Corpo(6, "A123", 4) << "Record ID 6 non è un'esportazione di lavoro (IMPORT)";
        QTest::newRow("file missing") << Corpo(8, "A124", 1) << "File A124_lamiera.dxf non trovato nella cartella dei file";
        QTest::newRow("file name with a folder part") << Corpo(100, "A123", 1) << "Nome file non valido: ../segreto.txt";
        QTest::newRow("no file name") << Corpo(101, "A123", 1) << "Record ID 101 senza nome del file (campo FILEDESTINAZIONE_NOME)";
        const QString nonOggetto = "Richiesta non valida: il corpo non è un oggetto JSON";
        QTest::newRow("bad JSON") << QByteArray("{\"IdLogFile\":1,") << nonOggetto;
        QTest::newRow("empty body") << QByteArray() << nonOggetto;
        QTest::newRow("array") << QByteArray("[1]") << nonOggetto;
        QTest::newRow("bytes that are not UTF-8") << QByteArray("{\"SerDoc\":\"\xff\"}") << nonOggetto;
        QTest::newRow("member missing")
            << QByteArray(R"({"IdLogFile":1,"NrMacchina":1,"SerDoc":"A123","UtenteId":1})")
            << "Richiesta non valida: manca il membro \"Ditta\"";
        QTest::newRow("ID as text")
            << QByteArray(R"({"IdLogFile":"1","NrMacchina":1,"SerDoc":"A123","UtenteId":1,"Ditta":"01"})")
            << "Richiesta non valida: il membro \"IdLogFile\" deve essere un numero intero";
        QTest::newRow("ID beyond 32 bits")
            << QByteArray(R"({"IdLogFile":4294967297,"NrMacchina":1,"SerDoc":"A123","UtenteId":1,"Ditta":"01"})")
            << "Richiesta non valida: il membro \"IdLogFile\" deve essere un numero intero";
        QTest::newRow("machine as a fraction")
            << QByteArray(R"({"IdLogFile":1,"NrMacchina":1.5,"SerDoc":"A123","UtenteId":1,"Ditta":"01"})")
            << "Richiesta non valida: il membro \"NrMacchina\" deve essere un numero intero";
        QTest::newRow("SerDoc as a number")
            << QByteArray(R"({"IdLogFile":1,"NrMacchina":1,"SerDoc":123,"UtenteId":1,"Ditta":"01"})")
            << "Richiesta non valida: il membro \"SerDoc\" deve essere un testo";
        QTest::newRow("optional member of the wrong kind")
            << QByteArray(R"({"IdLogFile":1,"NrMacchina":1,"SerDoc":"A123","UtenteId":1,"Ditta":"01","ControlloCodice":5})")
            << "Richiesta non valida: il membro \"ControlloCodice\" deve essere un testo";
    }

    void refusals() {
        QFETCH(QByteArray, corpo);
        QFETCH(QString, messaggio);
        const auto res = Post("/ZelFile/FromSrv", corpo);
        QVERIFY(res);
        QCOMPARE(res->status, 200);
        const auto risposta = TZelFileFromSrvResponse::FromJsonString(QString::fromStdString(res->body));
        QVERIFY(risposta);
        QCOMPARE(risposta->Status(), QString("0"));
        QCOMPARE(risposta->Messaggio(), messaggio);
        QVERIFY(!QFile::exists(FDir.Path("segreto.txt")));
        QVERIFY(!QDir(FOutbox + "/macchina_3").exists());
    }

    void otherPathsAndMethods() {
        QCOMPARE(Post("/ZelFile/Altro", Corpo(1, "A123", 1))->status, 404);
        QCOMPARE(Post("/ZelFile/FromSrv/", Corpo(1, "A123", 1))->status, 404);
        httplib::Client c("127.0.0.1", FPorta);
        ++FRichieste;
        const auto get = c.Get("/ZelFile/FromSrv");
        QVERIFY(get);
        QCOMPARE(get->status, 405);
        QCOMPARE(QString::fromStdString(get->get_header_value("Allow")), QString("POST"));
        ++FRichieste;
        QCOMPARE(c.Put("/ZelFile/FromSrv", "{}", "application/json")->status, 405);
    }

    void oneLogLinePerRequest() {
        // The server writes a request's line just after sending its answer.
        const auto righe = [this] {
            QFile log(FLog);
            return log.open(QIODevice::ReadOnly) ? log.readAll().split('\n') : QList<QByteArray>();
        };
        QTRY_COMPARE(righe().size() - 1, FRichieste);  // every line ends with a line feed
        const QByteArray prima = righe().first();
        QVERIFY2(prima.contains(" 127.0.0.1 POST /ZelFile/FromSrv 200 {\"Status\":\"1\""), prima.constData());
        const QList<QByteArray> tutte = righe();
        QVERIFY(std::any_of(tutte.begin(), tutte.end(), [](const QByteArray& r) { return r.endsWith(" 127.0.0.1 GET /ZelFile/FromSrv 405 "); }));
    }

    void stopsCleanlyOnSigterm() {
        FServer.terminate();
        QVERIFY(FServer.waitForFinished(10000));
        QCOMPARE(FServer.exitStatus(), QProcess::NormalExit);
        QCOMPARE(FServer.exitCode(), 0);
    }

    void badCommandLine_data() {
        QTest::addColumn<QStringList>("argomenti");
        QTest::addColumn<QString>("errore");
        QTest::newRow("no archive") << QStringList{"--listen", "127.0.0.1:0"} << "zelscansrv: Manca l'opzione --archivio";
        QTest::newRow("unknown option") << QStringList{"--archivio", "x.fdb", "--porta", "1"} << "zelscansrv: Opzione sconosciuta: --porta";
        QTest::newRow("listen without port") << QStringList{"--archivio", "x.fdb", "--listen", "127.0.0.1"}
                                             << "zelscansrv: Indirizzo di ascolto non valido: 127.0.0.1 (atteso host:porta)";
        QTest::newRow("port out of range") << QStringList{"--archivio", "x.fdb", "--listen", "127.0.0.1:70000"}
                                           << "zelscansrv: Indirizzo di ascolto non valido: 127.0.0.1:70000 (atteso host:porta)";
        QTest::newRow("value missing") << QStringList{"--archivio"} << "zelscansrv: Manca il valore dell'opzione --archivio";
        QTest::newRow("files folder missing") << QStringList{"--archivio", "x.fdb", "--files", "/nessuna/cartella"}
                                              << "zelscansrv: Cartella dei file inesistente: /nessuna/cartella";
    }

    void badCommandLine() {
        QFETCH(QStringList, argomenti);
        QFETCH(QString, errore);
        QProcess p;
        p.start(ZELSCANSRV_PATH, argomenti);
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 2);
        const QString stderrTesto = QString::fromLocal8Bit(p.readAllStandardError());
        QCOMPARE(stderrTesto.section('\n', 0, 0), errore);
        QVERIFY(stderrTesto.contains("Uso: zelscansrv --archivio"));
    }

    void archiveThatCannotOpen() {
        QProcess p;  // a server address where nobody listens fails at once
        p.start(ZELSCANSRV_PATH, {"--listen", "127.0.0.1:0", "--archivio", "127.0.0.1/1:" + FDir.Path("nessuno.fdb")});
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(QString::fromLocal8Bit(p.readAllStandardError()).startsWith("zelscansrv: impossibile aprire l'archivio "));
    }
};

QTEST_GUILESS_MAIN(TestZelScanSrv)
#include "tst_zelscansrv.moc"
