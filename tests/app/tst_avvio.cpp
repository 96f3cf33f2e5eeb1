// Start-up: parameter sources, run modes and every failure message, over real databases.
#include "app/FormMain.h"
#include "app/Programma.h"
#include "db/FbSQL.h"
#include "print/Felgora.h"
#include "tests/app/AmbienteProva.h"
#include "tests/support/RecordingBoxes.h"

#include <QtTest>

class TestAvvio : public QObject {
    Q_OBJECT
    TAmbienteProva FAmb;

private slots:
    void initTestCase() {
        TFbDatabase db;
        Connetti(db, FAmb.Utenti);
        EseguiSQL(db, "INSERT INTO TABKESTRIN (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO) VALUES "
                      "(1, '01', 'ArchivioB', '" + FAmb.Archivio + "', 3)");
        EseguiSQL(db, "INSERT INTO TABKESTRIN (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO) VALUES "
                      "(1, '01', 'ArchivioRotto', '" + FAmb.Dir.Path("manca.fdb") + "', 4)");
        EseguiSQL(db, "INSERT INTO TABKESTRIN (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO) VALUES "
                      "(1, '02', 'ArchivioDitta02', '" + FAmb.Archivio + "', 5)");
    }

    void separaChiaveValore_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("chiave");
        QTest::addColumn<QString>("valore");
        QTest::newRow("lower case key") << "utente=12" << true << "UTENTE" << "12";
        QTest::newRow("blanks kept") << "PARAMETRO ARCHIVIO=Archivio Ditta 2" << true << "PARAMETRO ARCHIVIO" << "Archivio Ditta 2";
        QTest::newRow("second equals") << "X=a=b" << true << "X" << "a=b";
        QTest::newRow("no equals") << "-debug" << false << "" << "";
        QTest::newRow("empty key") << "=x" << true << "" << "x";
        QTest::newRow("nothing trimmed") << " a = b " << true << " A " << " b ";
    }
    void separaChiaveValore() {
        QFETCH(QString, item);
        QFETCH(bool, ok);
        QFETCH(QString, chiave);
        QFETCH(QString, valore);
        QString k = "?", v = "?";
        QCOMPARE(SeparaChiaveValore(item, k, v), ok);
        QCOMPARE(k, chiave);
        QCOMPARE(v, valore);
    }

    void aKeyGivenTwiceKeepsItsFirstValue() {
        TAvvio a({"DITTA=01", "ditta=02", "UTENTE=1"}, FAmb.Ini("[CONFIG]\r\nUTENTE=1\r\nutente=2\r\n", "doppio.ini"));
        QCOMPARE(a.CmdParams().Valore("DITTA"), QString("01"));
        QCOMPARE(a.IniParams()->Valore("UTENTE"), QString("1"));
        QCOMPARE(a.CmdParams().Count(), 2);
    }

    void decisionTable_data() {
        QTest::addColumn<QStringList>("argomenti");
        QTest::addColumn<int>("modo");
        QTest::addColumn<QString>("origine");
        QTest::addColumn<QString>("campo");
        QTest::newRow("no command line") << QStringList{} << int(mStandAlone) << "INI" << "";
        QTest::newRow("external call") << QStringList{"UTENTE=1", "DITTA=01", "SOGGETTO=A123"} << int(mExternalCall) << "CMD" << "A123";
        QTest::newRow("keys in lower case") << QStringList{"utente=1", "Ditta=01"} << int(mStandAlone) << "CMD" << "";
        QTest::newRow("UTENTE alone") << QStringList{"UTENTE=5"} << int(mStandAlone) << "INI" << "";
        QTest::newRow("empty subject") << QStringList{"UTENTE=1", "DITTA=01", "SOGGETTO="} << int(mExternalCall) << "CMD" << "";
        QTest::newRow("argument without equals") << QStringList{"-debug", "=x"} << int(mStandAlone) << "INI" << "";
    }
    void decisionTable() {
        QFETCH(QStringList, argomenti);
        QFETCH(int, modo);
        QFETCH(QString, origine);
        QFETCH(QString, campo);
        TRecordingBoxes boxes;
        auto form = AvviaFormMain(argomenti, FAmb.IniStandard());
        QVERIFY2(form, qPrintable(boxes.Ultimo()));
        QCOMPARE(int(form->Modalita()), modo);
        QCOMPARE(TestoOrigine(form->Avvio().OrigineParametri()), origine);
        QCOMPARE(form->EditFiltroCodice->text(), campo);
        QCOMPARE(form->PanelFiltro->isHidden(), modo == mExternalCall);
        QVERIFY(form->DBArchivio->Connected());
        QVERIFY(boxes.Boxes.isEmpty());
        QVERIFY(!form->isVisible());
    }

    void subjectInTheIniFileIsIgnored() {
        TRecordingBoxes boxes;
        auto form = AvviaFormMain({"UTENTE=1", "DITTA=01"},
                                  FAmb.Ini("[CONFIG]\r\nUTENTE=1\r\nDITTA=01\r\nSOGGETTO=C123\r\nPercorsoDatabase={UTENTI}\r\n", "sogg.ini"));
        QVERIFY(form);
        QCOMPARE(int(form->Modalita()), int(mStandAlone));
        QCOMPARE(form->Avvio().Soggetto(), QString());
    }

    void archiveParameterFromTheCommandLineAlsoWithIniSource() {
        TRecordingBoxes boxes;
        auto form = AvviaFormMain({"PARAMETRO ARCHIVIO=ArchivioB"}, FAmb.IniStandard());
        QVERIFY2(form, qPrintable(boxes.Ultimo()));
        QCOMPARE(form->Avvio().NomeParametroArchivio(), QString("ArchivioB"));
        auto vuoto = AvviaFormMain({"PARAMETRO ARCHIVIO="}, FAmb.IniStandard());
        QVERIFY(vuoto);
        QCOMPARE(vuoto->Avvio().NomeParametroArchivio(), QString("Archivio"));
    }

    void failures_data() {
        QTest::addColumn<QStringList>("argomenti");
        QTest::addColumn<QString>("ini");  // empty: no INI file
        QTest::addColumn<QString>("messaggio");
        const QString ok = "[CONFIG]\r\nUTENTE=1\r\nDITTA=01\r\nPercorsoDatabase={UTENTI}\r\n";
        const QString iniErr = "Errore nei parametri di ParametriZelScan.ini\r\n";
        QTest::newRow("missing INI") << QStringList{"UTENTE=1", "DITTA=01"} << "" << "File ParametriZelScan.ini non trovato";
        QTest::newRow("UTENTE=abc") << QStringList{} << "[CONFIG]\r\nUTENTE=abc\r\nDITTA=01\r\n"
                                    << iniErr + "Parametro \"UTENTE\" con valore \"abc\" non valido";
        QTest::newRow("UTENTE=abc on the command line") << QStringList{"UTENTE=abc", "DITTA=01"} << ok
                                                        << "Errore nei parametri CMD\r\nParametro \"UTENTE\" con valore \"abc\" non valido";
        QTest::newRow("DITTA empty") << QStringList{} << "[CONFIG]\r\nUTENTE=1\r\nDITTA=\r\n"
                                     << iniErr + "Parametro \"DITTA\" con valore \"\" non valido";
        QTest::newRow("DITTA missing") << QStringList{} << "[CONFIG]\r\nUTENTE=1\r\n" << iniErr + "Parametro \"DITTA\" non trovato";
        QTest::newRow("no CONFIG section") << QStringList{} << "[ALTRO]\r\nUTENTE=1\r\n" << iniErr + "Parametro \"UTENTE\" non trovato";
        QTest::newRow("unknown user") << QStringList{"UTENTE=99", "DITTA=01"} << ok
                                      << "Errore nei parametri CMD\r\nUtente 99 non trovato nello USER.FDB (\"{UTENTI}\")";
        QTest::newRow("archive parameter missing") << QStringList{"UTENTE=1", "DITTA=01", "PARAMETRO ARCHIVIO=Manca"} << ok
                                                   << "Errore nei parametri CMD\r\nParametro \"Manca\" non trovato o non valorizzato nel KestrinIni dell'utente";
        QTest::newRow("company given replaces the stored one") << QStringList{"UTENTE=1", "DITTA=02"} << ok
                                                               << "Errore nei parametri CMD\r\nParametro \"Archivio\" non trovato o non valorizzato nel KestrinIni dell'utente";
        QTest::newRow("archive unreachable") << QStringList{"UTENTE=1", "DITTA=01", "PARAMETRO ARCHIVIO=ArchivioRotto"} << ok
                                             << "Errore nei parametri CMD\r\nFallita connessione DB Archivio: I/O error during \"open\" operation for file";
        QTest::newRow("user database unreachable") << QStringList{} << "[CONFIG]\r\nUTENTE=1\r\nDITTA=01\r\nPercorsoDatabase=/nessuna/user.fdb\r\n"
                                                   << iniErr + "Fallita connessione USER.FDB\r\nI/O error during \"open\" operation for file \"/nessuna/user.fdb\"";
        QTest::newRow("server without drive") << QStringList{} << "[CONFIG]\r\nUTENTE=1\r\nDITTA=01\r\nNome Server=SRV\r\n"
                                              << iniErr + "Fallita connessione USER.FDB\r\nRiferimenti file .ini incompleti (specificare \"Lettera Disco Server\" o \"PercorsoDatabase\")";
    }
    void failures() {
        QFETCH(QStringList, argomenti);
        QFETCH(QString, ini);
        QFETCH(QString, messaggio);
        messaggio.replace("{UTENTI}", FAmb.Utenti);
        const QString file = ini.isEmpty() ? FAmb.Dir.Path("nessun.ini") : FAmb.Ini(ini, "prova.ini");
        TRecordingBoxes boxes;
        auto form = AvviaFormMain(argomenti, file);
        QVERIFY(!form);
        QCOMPARE(boxes.Boxes.size(), 1);
        QCOMPARE(boxes.Boxes[0].Kind, QString("Errore"));
        const QString atteso = "Esecuzione non consentita:\r\n" + messaggio;
        QVERIFY2(boxes.Boxes[0].Text.startsWith(atteso), qPrintable(boxes.Boxes[0].Text + "\n---\n" + atteso));
    }

    // The companion programs started from the window inherit the session that the start-up
    // decided: its user and its company, whichever source gave them.
    void sessionGoesToTheEnvironment_data() {
        QTest::addColumn<QStringList>("argomenti");
        QTest::addColumn<QString>("ditta");
        QTest::newRow("command line") << QStringList{"UTENTE=1", "DITTA=02", "PARAMETRO ARCHIVIO=ArchivioDitta02"} << "02";
        QTest::newRow("INI file") << QStringList{} << "01";
    }
    void sessionGoesToTheEnvironment() {
        QFETCH(QStringList, argomenti);
        QFETCH(QString, ditta);
        qunsetenv(AmbienteUtente);
        qunsetenv(AmbienteDitta);
        TRecordingBoxes boxes;
        auto form = AvviaFormMain(argomenti, FAmb.IniStandard());
        QVERIFY2(form, qPrintable(boxes.Ultimo()));
        QCOMPARE(qEnvironmentVariable(AmbienteUtente), "1");
        QCOMPARE(qEnvironmentVariable(AmbienteDitta), ditta);
    }

    // the checks run on a worker, started before the window as the program does: the window takes
    // the user and the archive's connection, and a failure is told only once the window is made
    void checksStartedBeforeTheWindow() {
        TRecordingBoxes boxes;
        auto avvio = std::make_unique<TAvvio>(QStringList{"UTENTE=1", "DITTA=01"}, FAmb.IniStandard());
        avvio->AvviaVerifica().waitForFinished();
        auto form = AvviaFormMain(std::move(avvio));
        QVERIFY2(form, qPrintable(boxes.Ultimo()));
        TPtqUser* utente = form->Avvio().PtqUser();
        QCOMPARE(utente->parent(), form.get());
        QCOMPARE(utente->thread(), form->thread());
        QVERIFY(utente->DBUser()->Connected());
        QCOMPARE(utente->DittaUtente(), QString("01"));
        QVERIFY(form->DBArchivio->Connected());
        QCOMPARE(ValoreSQL(*form->DBArchivio, "SELECT COUNT(*) FROM ZELSCANLOGLIGHT WHERE 1 = 0"), QString("0"));

        auto fallita = std::make_unique<TAvvio>(QStringList{"UTENTE=99", "DITTA=01"}, FAmb.IniStandard());
        fallita->AvviaVerifica().waitForFinished();
        QVERIFY(boxes.Boxes.isEmpty());
        QVERIFY(!AvviaFormMain(std::move(fallita)));
        QCOMPARE(boxes.Boxes.size(), 1);
        QVERIFY(boxes.Boxes[0].Text.contains("Utente 99 non trovato nello USER.FDB"));
    }

    // a window closed while its checks run, or whose checks failed half-way, keeps no connection
    void noConnectionOutlivesItsWindow_data() {
        QTest::addColumn<QStringList>("argomenti");
        QTest::newRow("window gone at once") << QStringList{"UTENTE=1", "DITTA=01"};
        QTest::newRow("archive unreachable") << QStringList{"UTENTE=1", "DITTA=01", "PARAMETRO ARCHIVIO=ArchivioRotto"};
    }
    void noConnectionOutlivesItsWindow() {
        QFETCH(QStringList, argomenti);
        TRecordingBoxes boxes;
        if (argomenti.size() == 2) std::make_unique<TFormMain>(argomenti, FAmb.IniStandard()).reset();
        else QVERIFY(!AvviaFormMain(argomenti, FAmb.IniStandard()));
        TFbDatabase db;
        Connetti(db, FAmb.Utenti);
        QCOMPARE(ValoreSQL(db, "SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION "
                               "AND MON$SYSTEM_FLAG = 0"),
                 QString("0"));
    }

    // an error of any type, not only the program's own, ends the start-up in the same box
    void anyErrorEndsTheStartUp_data() {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("program's own") << 0 << "Parametro \"UTENTE\" non trovato";
        QTest::newRow("standard library") << 1 << "stoi";
        QTest::newRow("out of memory") << 2 << "std::bad_alloc";
        QTest::newRow("anything else") << 3 << "Errore sconosciuto";
    }
    void anyErrorEndsTheStartUp() {
        QFETCH(int, tipo);
        QFETCH(QString, messaggio);
        TRecordingBoxes boxes;
        bool ok = true;
        try {
            ok = EseguiControlliAvvio([tipo] {
                switch (tipo) {
                case 0: throw Exception("Parametro \"UTENTE\" non trovato");
                case 1: (void)std::stoi("x"); break;
                case 2: throw std::bad_alloc();
                default: throw 42;
                }
            });
        } catch (...) {
            QFAIL("the error escaped the start-up");
        }
        QVERIFY(!ok);
        QCOMPARE(boxes.Boxes.size(), 1);
        QCOMPARE(boxes.Boxes[0].Kind, QString("Errore"));
        QCOMPARE(boxes.Boxes[0].Text, "Esecuzione non consentita:\r\n" + messaggio);
        QVERIFY(EseguiControlliAvvio([] {}));
        QCOMPARE(boxes.Boxes.size(), 1);
    }
};

QTEST_MAIN(TestAvvio)
#include "tst_avvio.moc"
