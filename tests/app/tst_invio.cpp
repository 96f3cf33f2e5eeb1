// The re-send through the main window: checks, confirmation, busy state, close guard and every
// answer, against the stand-in scan server and loopback servers that misbehave on purpose.
#include "app/FormMain.h"
#include "app/Invio.h"
#include "app/Programma.h"
#include "controls/SegnaliUscita.h"
#include "tests/app/AmbienteProva.h"
#include "tests/support/RecordingBoxes.h"

#include <QProcess>
#include <QtTest>
#include <atomic>
#include <csignal>
#include <httplib.h>
#include <thread>

namespace {

const QString Fallito = "Invio fallito\r\nRisposta negativa dal server\r\n";

// A loopback server whose answer each test chooses.
class TServerProva {
public:
    std::atomic<int> Richieste{0};
    std::function<void(const httplib::Request&, httplib::Response&)> Risposta;
    std::string UltimoCorpo, UltimoContentType;

    TServerProva() {
        FSrv.Post("/ZelFile/FromSrv", [this](const httplib::Request& req, httplib::Response& res) {
            ++Richieste;
            UltimoCorpo = req.body;
            UltimoContentType = req.get_header_value("Content-Type");
            if (Risposta) Risposta(req, res);
        });
        FPorta = FSrv.bind_to_any_port("127.0.0.1");
        FThread = std::thread([this] { FSrv.listen_after_bind(); });
        while (!FSrv.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ~TServerProva() {
        FSrv.stop();
        FThread.join();
    }
    QString Url() const { return QString("http://127.0.0.1:%1").arg(FPorta); }

private:
    httplib::Server FSrv;
    int FPorta = 0;
    std::thread FThread;
};

}  // namespace

class TestInvio : public QObject {
    Q_OBJECT
    TAmbienteProva FAmb;
    QString FFile, FOutbox;
    QProcess FStandIn;
    QString FUrlStandIn;

    std::unique_ptr<TFormMain> Finestra(const QString& url, const QString& soggetto = "A123") {
        const QString ini = FAmb.Ini("[CONFIG]\r\nUTENTE=1\r\nDITTA=01\r\nPercorsoDatabase={UTENTI}\r\nZELSCANSRVURL=" + url + "\r\n",
                                     "invio.ini");
        auto form = AvviaFormMain({}, ini);
        if (!form) qFatal("start-up failed");
        form->show();
        form->EditFiltroCodice->setText(soggetto);
        form->Aggiorna();
        form->SetTimeoutInvio(2000, 2000);
        return form;
    }
    static void Seleziona(TFormMain& form, const QString& file) {
        const auto nodi = form.TreeViewMain->findItems(file, Qt::MatchContains | Qt::MatchRecursive);
        QVERIFY(!nodi.isEmpty());
        form.TreeViewMain->setCurrentItem(nodi.first());
    }
    static void Attendi(TFormMain& form) { QTRY_VERIFY_WITH_TIMEOUT(!form.InvioInCorso() && form.PanelActivity->isHidden(), 15000); }

private slots:
    void initTestCase() {
        FFile = FAmb.Dir.Path("file");
        FOutbox = FAmb.Dir.Path("outbox");
        QDir().mkpath(FFile);
        QFile f(FFile + "/A124_lamiera.dxf");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("0\nSECTION\n");
        f.close();
        FStandIn.setProgram(ZELSCANSRV_PATH);
        FStandIn.setArguments({"--listen", "127.0.0.1:0", "--archivio", FAmb.Archivio, "--files", FFile, "--outbox", FOutbox,
                               "--log", FAmb.Dir.Path("srv.log")});
        FStandIn.start();
        QVERIFY(FStandIn.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(FStandIn.canReadLine(), 20000);
        const QString riga = QString::fromLocal8Bit(FStandIn.readLine()).trimmed();
        FUrlStandIn = "http://127.0.0.1:" + riga.section(':', -1);
    }
    void cleanupTestCase() {
        FStandIn.terminate();
        if (!FStandIn.waitForFinished(5000)) {
            FStandIn.kill();
            FStandIn.waitForFinished(5000);
        }
    }

    void productTimeOutsAreTenSeconds() {
        QCOMPARE(TimeoutConnessioneMs, 10000);
        QCOMPARE(TimeoutLetturaMs, 10000);
    }

    void serverAddress_data() {
        QTest::addColumn<QStringList>("voci");
        QTest::addColumn<QString>("url");
        QTest::newRow("full address") << QStringList{"ZELSCANSRVURL=http://srv:9000/base/"} << "http://srv:9000/base/";
        QTest::newRow("address wins over host") << QStringList{"ZELSCANSRVURL=http://a", "NOME SERVER=H"} << "http://a";
        QTest::newRow("present but empty") << QStringList{"ZELSCANSRVURL=", "NOME SERVER=H"} << "";
        QTest::newRow("host without port") << QStringList{"NOME SERVER=H"} << "http://H:8080";
        QTest::newRow("port not a number") << QStringList{"NOME SERVER=H", "PORTA=abc"} << "http://H:8080";
        QTest::newRow("port 81") << QStringList{"NOME SERVER=H", "PORTA=81"} << "http://H:81";
        QTest::newRow("placeholder in the host") << QStringList{"NOME SERVER=h%2x%1", "PORTA=81"} << "http://h%2x%1:81";
        QTest::newRow("empty host") << QStringList{"NOME SERVER=", "PORTA=81"} << "";
        QTest::newRow("nothing") << QStringList{} << "";
    }
    void serverAddress() {
        QFETCH(QStringList, voci);
        QFETCH(QString, url);
        TParametri ini;
        ini.Carica(voci);
        QCOMPARE(GetZelScanSrvURL(&ini), url);
    }

    void checksBeforeTheConfirmation() {
        TRecordingBoxes boxes;
        TServerProva srv;
        auto form = Finestra(srv.Url());
        form->ActionUpFile->trigger();
        QCOMPARE(boxes.Ultimo(), QString("Avviso: Nessun file selezionato"));

        TFbDatabase db;
        Connetti(db, FAmb.Archivio);
        EseguiSQL(db, "INSERT INTO ZELSCANLOGLIGHT (ID, DATOINPUT, NR_MACCHINA, FILEDESTINAZIONE_NOME, TIPOOPERAZIONE, STATUS)"
                      " VALUES (900, 'A125', 4, 'prova_900.nc', 'EXPORT LAVORO', 'ACCETTATO')");
        form->Aggiorna();
        Seleziona(*form, "prova_900.nc");
        const struct {
            QString sql, avviso;
        } casi[] = {{"UPDATE ZELSCANLOGLIGHT SET DATOINPUT = NULL WHERE ID = 900", "Record ID 900 senza Ser.Doc. (campo DATOINPUT)"},
                    {"UPDATE ZELSCANLOGLIGHT SET DATOINPUT = 'A125', NR_MACCHINA = NULL WHERE ID = 900",
                     "Record ID 900 senza Nr. Macchina (campo NR_MACCHINA)"},
                    {"UPDATE ZELSCANLOGLIGHT SET NR_MACCHINA = 0 WHERE ID = 900", "Record ID 900 senza Nr. Macchina (campo NR_MACCHINA)"},
                    {"DELETE FROM ZELSCANLOGLIGHT WHERE ID = 900", "Record ID 900 non trovato in archivio"}};
        for (const auto& c : casi) {
            EseguiSQL(db, c.sql);
            form->ActionUpFile->trigger();
            QCOMPARE(boxes.Ultimo(), "Avviso: " + c.avviso);
        }
        QCOMPARE(srv.Richieste.load(), 0);
        QVERIFY(!form->FromSrvRequest());
    }

    void addressMissing() {
        TRecordingBoxes boxes;
        // "NOME SERVER" also names the user database's server, so the window is started without it
        const QString ini = FAmb.Ini("[CONFIG]\r\nUTENTE=1\r\nDITTA=01\r\nPercorsoDatabase={UTENTI}\r\nPORTA=81\r\n",
                                     "senzaurl.ini");
        auto form = AvviaFormMain({}, ini);
        QVERIFY2(form, qPrintable(boxes.Ultimo()));
        form->show();
        form->EditFiltroCodice->setText("A124");
        form->Aggiorna();
        Seleziona(*form, "A124_lamiera.dxf");
        form->ActionUpFile->trigger();
        QCOMPARE(boxes.Ultimo(), QString("Avviso: Impossibile determinare URL di ZelScanSrv. Controllare la configurazione di "
                                         "ParametriZelScan.ini"));
    }

    void answeringNoSendsNothingAndKeepsThePreviousSend() {
        TRecordingBoxes boxes;
        TServerProva srv;
        srv.Risposta = [](const httplib::Request&, httplib::Response& res) {
            res.set_content(R"({"Status":"1","Messaggio":"ok"})", "application/json");
        };
        auto form = Finestra(srv.Url());
        Seleziona(*form, "A123_staffa.dxf");
        form->ActionUpFile->trigger();
        Attendi(*form);
        QCOMPARE(boxes.Ultimo(), QString("Informazione: Invio effettuato"));
        const TZelFileFromSrvRequest* richiesta = form->FromSrvRequest();
        const TZelFileFromSrvResponse* risposta = form->FromSrvResponse();
        QCOMPARE(srv.Richieste.load(), 1);
        QCOMPARE(QString::fromStdString(srv.UltimoCorpo),
                 QString(R"({"CodiceSituazione":0,"ControlloCodice":"","SerDoc":"A123","NrMacchina":1,"IdLogFile":2,"UtenteId":1,"Ditta":"01"})"));
        QCOMPARE(QString::fromStdString(srv.UltimoContentType), QString("application/json"));

        boxes.Risposta = false;
        Seleziona(*form, "A123_pannello.dxf");
        form->ActionUpFile->trigger();
        QCOMPARE(boxes.Ultimo(), QString("Conferma: Effettuare l'invio del file selezionato?"));
        QTest::qWait(200);
        QCOMPARE(srv.Richieste.load(), 1);
        QCOMPARE(form->FromSrvRequest(), richiesta);
        QCOMPARE(form->FromSrvResponse(), risposta);
        QCOMPARE(form->FromSrvRequest()->IdLogFile(), 2);
    }

    void sendThroughTheStandInCopiesTheFile() {
        TRecordingBoxes boxes;
        auto form = Finestra(FUrlStandIn, "A124");
        Seleziona(*form, "A124_lamiera.dxf");
        form->ActionUpFile->trigger();
        Attendi(*form);
        QCOMPARE(boxes.Ultimo(), QString("Informazione: Invio effettuato"));
        QVERIFY(QFile::exists(FOutbox + "/macchina_1/A124_lamiera.dxf"));
        // a file that is not in the files folder is refused by the server, with its reason
        Seleziona(*form, "A124_fori.nc");
        form->ActionUpFile->trigger();
        Attendi(*form);
        QCOMPARE(boxes.Boxes.last().Kind, QString("Errore"));
        QVERIFY2(boxes.Boxes.last().Text.startsWith(Fallito) && boxes.Boxes.last().Text.size() > Fallito.size(),
                 qPrintable(boxes.Boxes.last().Text));
    }

    void failures_data() {
        QTest::addColumn<int>("stato");
        QTest::addColumn<QString>("contentType");
        QTest::addColumn<QByteArray>("corpo");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("status 0 with its message") << 200 << "application/json" << QByteArray(R"({"Status":"0","Messaggio":"Macchina spenta"})") << "Macchina spenta";
        QTest::newRow("status 0 as a number") << 200 << "application/json" << QByteArray(R"({"Status":0})") << "";
        QTest::newRow("500") << 500 << "text/plain" << QByteArray("boom") << "HTTP/1.1 500 Internal Server Error";
        QTest::newRow("empty body") << 200 << "application/json" << QByteArray() << "Nessuna risposta";
        QTest::newRow("not JSON") << 200 << "text/plain" << QByteArray("<html>") << "The input value is not a valid Object";
        QTest::newRow("null") << 200 << "application/json" << QByteArray("null") << "Risposta del server non valida (vuota o null)";
        QTest::newRow("utf-8") << 200 << "application/json; charset=utf-8" << QByteArray("{\"Status\":\"0\",\"Messaggio\":\"Macchina \xc3\xa8 ferma\"}")
                               << QString("Macchina è ferma");
        QTest::newRow("no charset") << 200 << "application/json" << QByteArray("{\"Status\":\"0\",\"Messaggio\":\"Macchina \xe8 ferma\"}")
                                    << QString("Macchina è ferma");
    }
    void failures() {
        QFETCH(int, stato);
        QFETCH(QString, contentType);
        QFETCH(QByteArray, corpo);
        QFETCH(QString, messaggio);
        TRecordingBoxes boxes;
        TServerProva srv;
        srv.Risposta = [&](const httplib::Request&, httplib::Response& res) {
            res.status = stato;
            res.set_content(corpo.toStdString(), contentType.toStdString());
        };
        auto form = Finestra(srv.Url());
        Seleziona(*form, "A123_staffa.dxf");
        form->ActionUpFile->trigger();
        Attendi(*form);
        QCOMPARE(boxes.Boxes.last().Kind, QString("Errore"));
        QCOMPARE(boxes.Boxes.last().Text, Fallito + messaggio);
    }

    void closedPortAndSilentServer() {
        TRecordingBoxes boxes;
        QString chiuso;
        {
            TServerProva srv;
            chiuso = srv.Url();
        }
        auto form = Finestra(chiuso);
        Seleziona(*form, "A123_staffa.dxf");
        form->ActionUpFile->trigger();
        Attendi(*form);
        // the box's fixed lines, what the failure means, then libcurl's words
        QVERIFY2(boxes.Boxes.last().Text.startsWith(
                     Fallito + "Connessione rifiutata: nessun servizio in ascolto all'indirizzo e alla porta indicati\r\n"
                               "Dettaglio tecnico: Couldn't connect to server: Failed to connect to 127.0.0.1 port "),
                 qPrintable(boxes.Boxes.last().Text));

        TServerProva lento;
        lento.Risposta = [](const httplib::Request&, httplib::Response& res) {
            std::this_thread::sleep_for(std::chrono::milliseconds(3500));
            res.set_content("{}", "application/json");
        };
        auto secondo = Finestra(lento.Url());
        secondo->SetTimeoutInvio(1000, 700);
        Seleziona(*secondo, "A123_staffa.dxf");
        QElapsedTimer t;
        t.start();
        secondo->ActionUpFile->trigger();
        Attendi(*secondo);
        QVERIFY(t.elapsed() < 3000);
        QCOMPARE(boxes.Boxes.last().Text, Fallito + "Timeout di lettura: nessun dato dal server per 700 ms");
    }

    // The send from the keyboard: the tree's arrows reach the file, Ctrl+I sends it; while it runs
    // Ctrl+I starts nothing more and Ctrl+Q is refused with the warning; then the focus is back on
    // the tree, on the file that was sent.
    void keyboardSendReturnsToTheFile() {
        TRecordingBoxes boxes;
        TServerProva srv;
        std::atomic<bool> rilascia{false};
        srv.Risposta = [&](const httplib::Request&, httplib::Response& res) {
            while (!rilascia) std::this_thread::sleep_for(std::chrono::milliseconds(10));
            res.set_content(R"({"Status":"1"})", "application/json");
        };
        auto form = Finestra(srv.Url());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTreeWidget* albero = form->TreeViewMain;
        albero->setFocus(Qt::TabFocusReason);
        QTest::keyClick(albero, Qt::Key_Home);
        for (int i = 0; i < 20 && !albero->currentItem()->text(0).endsWith("A123_staffa.dxf"); ++i)
            QTest::keyClick(albero, Qt::Key_Down);
        QTreeWidgetItem* file = albero->currentItem();
        QVERIFY(file->text(0).endsWith("A123_staffa.dxf"));
        QTest::keyClick(albero, Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(boxes.Ultimo(), QString("Conferma: Effettuare l'invio del file selezionato?"));
        QVERIFY(form->InvioInCorso());
        QVERIFY(QApplication::focusWidget() != albero);  // the tree is disabled meanwhile
        QWidget* fuoco = QApplication::focusWidget() ? QApplication::focusWidget() : form.get();
        QTest::keyClick(fuoco, Qt::Key_I, Qt::ControlModifier);
        QTest::keyClick(fuoco, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(boxes.Ultimo(),
                 QString("Avviso: Invio in corso. Attendere la fine dell'operazione prima di chiudere il programma"));
        QVERIFY(form->isVisible());
        rilascia = true;
        Attendi(*form);
        QCOMPARE(boxes.Ultimo(), QString("Informazione: Invio effettuato"));
        QCOMPARE(srv.Richieste.load(), 1);
        QCOMPARE(QApplication::focusWidget(), albero);
        QCOMPARE(albero->currentItem(), file);
        QCOMPARE(form->IdRecordSelezionatoCorrente(), PayloadNodo(file)->ID);
    }

    // a signal during a send: the close guard holds the window until the send ends, without a box
    // (nobody may be at the screen), then the window closes
    void signalDuringASendClosesWhenItEnds() {
        TRecordingBoxes boxes;
        TServerProva srv;
        std::atomic<bool> rilascia{false};
        srv.Risposta = [&](const httplib::Request&, httplib::Response& res) {
            while (!rilascia) std::this_thread::sleep_for(std::chrono::milliseconds(10));
            res.set_content(R"({"Status":"1"})", "application/json");
        };
        auto form = Finestra(srv.Url());
        TSegnaliUscita segnali([&form] { form->ChiudiPerSegnale(); });
        Seleziona(*form, "A123_staffa.dxf");
        form->ActionUpFile->trigger();
        QVERIFY(form->InvioInCorso());
        const int prima = boxes.Boxes.size();
        std::raise(SIGTERM);
        QTest::qWait(500);
        QVERIFY(form->isVisible());
        QVERIFY(form->InvioInCorso());
        QCOMPARE(boxes.Boxes.size(), prima);
        rilascia = true;
        QTRY_VERIFY_WITH_TIMEOUT(!form->isVisible(), 15000);
        QVERIFY(!form->InvioInCorso());
        QCOMPARE(srv.Richieste.load(), 1);
        QCOMPARE(boxes.Boxes.size(), prima);
    }

    // the stand-in reads a request body of at most 64 KiB; a longer one is refused unread
    void standInCapsTheRequestBody_data() {
        QTest::addColumn<int>("dimensione");
        QTest::addColumn<int>("status");
        QTest::newRow("64 KiB") << 64 * 1024 << 200;
        QTest::newRow("one byte more") << 64 * 1024 + 1 << 413;
    }
    void standInCapsTheRequestBody() {
        QFETCH(int, dimensione);
        QFETCH(int, status);
        httplib::Client client(FUrlStandIn.toStdString());
        const auto res = client.Post("/ZelFile/FromSrv", std::string(size_t(dimensione), ' '), "application/json");
        QVERIFY(res);
        QCOMPARE(res->status, status);
    }

    void busyStateAndCloseGuard() {
        TRecordingBoxes boxes;
        TServerProva srv;
        std::atomic<bool> rilascia{false};
        srv.Risposta = [&](const httplib::Request&, httplib::Response& res) {
            while (!rilascia) std::this_thread::sleep_for(std::chrono::milliseconds(10));
            res.set_content(R"({"Status":"1"})", "application/json");
        };
        auto form = Finestra(srv.Url());
        Seleziona(*form, "A123_staffa.dxf");
        form->ActionUpFile->trigger();
        QVERIFY(form->InvioInCorso());
        QVERIFY(form->PanelActivity->isVisible());
        QCOMPARE(form->LabelActivity->text(), QString("Invio"));
        QVERIFY(!form->PanelFiltro->isEnabled());
        QVERIFY(!form->PanelPulsanti->isEnabled());
        QVERIFY(!form->TreeViewMain->isEnabled());
        QVERIFY(!form->ButtonUpFile->isEnabled());
        // the panel stays centred
        form->resize(701, 401);
        QCOMPARE(form->PanelActivity->x(), 701 / 2 - 64);
        QCOMPARE(form->PanelActivity->y(), 401 / 2 - 64);
        QVERIFY(!form->close());
        QCOMPARE(boxes.Ultimo(),
                 QString("Avviso: Invio in corso. Attendere la fine dell'operazione prima di chiudere il programma"));
        QVERIFY(form->isVisible());
        rilascia = true;
        Attendi(*form);
        QCOMPARE(boxes.Ultimo(), QString("Informazione: Invio effettuato"));
        QVERIFY(form->PanelFiltro->isEnabled() && form->PanelPulsanti->isEnabled() && form->TreeViewMain->isEnabled());
        QVERIFY(form->close());
    }
};

QTEST_MAIN(TestInvio)
#include "tst_invio.moc"
