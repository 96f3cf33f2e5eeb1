// The exchange of a re-send against real HTTP servers on 127.0.0.1.
#include "app/server/InvioFromSrv.h"

#include <QElapsedTimer>
#include <QtTest>
#include <httplib.h>

#include <arpa/inet.h>
#include <mutex>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

// A listening socket on 127.0.0.1 that never accepts: connections complete and then hear nothing.
class TSocketMuto {
public:
    TSocketMuto() {
        FFd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(FFd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        listen(FFd, 4);
        socklen_t n = sizeof a;
        getsockname(FFd, reinterpret_cast<sockaddr*>(&a), &n);
        FPorta = ntohs(a.sin_port);
    }
    ~TSocketMuto() { Chiudi(); }
    void Chiudi() {
        if (FFd >= 0) close(FFd);
        FFd = -1;
    }
    int Porta() const { return FPorta; }

private:
    int FFd = -1;
    int FPorta = 0;
};

// A listening socket on 127.0.0.1 whose queue of connections is full: a new connection is never
// completed, as with a server that does not answer at all.
class TCodaPiena {
public:
    TCodaPiena() {
        FFd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(FFd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        listen(FFd, 0);
        socklen_t n = sizeof a;
        getsockname(FFd, reinterpret_cast<sockaddr*>(&a), &n);
        FPorta = ntohs(a.sin_port);
        for (int& c : FClienti) {
            c = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(c, reinterpret_cast<sockaddr*>(&a), sizeof a);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the queue fills
    }
    ~TCodaPiena() {
        for (int c : FClienti) close(c);
        close(FFd);
    }
    int Porta() const { return FPorta; }

private:
    int FFd = -1;
    int FPorta = 0;
    int FClienti[3] = {-1, -1, -1};
};

struct TRichiestaRicevuta {
    std::string Metodo, Percorso, Corpo, ContentType;
    bool Authorization = false, Expect = false;
    int Numero = 0;
};

}  // namespace

class TestInvioServer : public QObject {
    Q_OBJECT
    httplib::Server FSrv;
    std::thread FThread;
    int FPorta = 0;
    std::mutex FMutex;
    TRichiestaRicevuta FRicevuta;

    QString Base(const QString& prefisso) const { return QString("http://127.0.0.1:%1%2").arg(FPorta).arg(prefisso); }

    static TZelFileFromSrvRequest Richiesta() {
        TZelFileFromSrvRequest r;
        r.SetUtenteId(5);
        r.SetDitta("01");
        r.SetSerDoc("A/1");
        r.SetNrMacchina(2);
        r.SetIdLogFile(17);
        return r;
    }

    void Risposta(const std::string& prefisso, int status, const std::string& corpo, const char* tipo) {
        FSrv.Post(prefisso + PercorsoFromSrv, [=](const httplib::Request&, httplib::Response& res) {
            res.status = status;
            res.set_content(corpo, tipo);
        });
    }

private slots:
    void initTestCase() {
        Risposta("/ok", 200, R"({"Status":"1","Messaggio":"File inviato"})", "application/json");
        Risposta("/rifiuto", 200, R"({"Status":"0","Messaggio":"File non trovato"})", "application/json");
        Risposta("/zero", 200, R"({"Status":0})", "application/json");
        Risposta("/errore", 500, R"({"Status":"1"})", "application/json");
        Risposta("/mancante", 404, "non qui", "text/plain");
        Risposta("/vuoto", 200, "", "application/json");
        Risposta("/testo", 200, "Servizio non disponibile", "text/plain");
        Risposta("/null", 200, "null", "application/json");
        Risposta("/spazi", 200, "  \r\n", "application/json");
        const std::string utf8 = QString::fromUtf8(R"({"Status":"0","Messaggio":"Perché è così"})").toStdString();
        const QByteArray latin1 = QString::fromUtf8(R"({"Status":"0","Messaggio":"Perché è così"})").toLatin1();
        Risposta("/utf8", 200, utf8, "application/json; charset=utf-8");
        Risposta("/utf8maiuscolo", 200, utf8, "application/json; Charset=\"UTF-8\"");
        Risposta("/senzacharset", 200, utf8, "application/json");
        Risposta("/latin1", 200, latin1.toStdString(), "application/json; charset=ISO-8859-1");
        Risposta("/win1252", 200, "{\"Status\":\"0\",\"Messaggio\":\"\x80 \x93x\x94\"}", "application/json; charset=windows-1252");
        auto eco = [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard<std::mutex> lock(FMutex);
            FRicevuta.Metodo = req.method;
            FRicevuta.Percorso = req.path;
            FRicevuta.Corpo = req.body;
            FRicevuta.ContentType = req.get_header_value("Content-Type");
            FRicevuta.Authorization = req.has_header("Authorization");
            FRicevuta.Expect = req.has_header("Expect");
            ++FRicevuta.Numero;
            res.set_content(R"({"Status":"1"})", "application/json");
        };
        FSrv.Post(std::string("/eco") + PercorsoFromSrv, eco);
        FSrv.Post(std::string("/") + PercorsoFromSrv, eco);  // a base address ending in "/"
        FPorta = FSrv.bind_to_any_port("127.0.0.1");
        QVERIFY(FPorta > 0);
        FThread = std::thread([this] { FSrv.listen_after_bind(); });
        QTRY_VERIFY(FSrv.is_running());
    }

    void cleanupTestCase() {
        FSrv.stop();
        if (FThread.joinable()) FThread.join();
    }

    void productTimeOutsAreTenSeconds() {
        QCOMPARE(TimeoutConnessioneMs, 10000);
        QCOMPARE(TimeoutLetturaMs, 10000);
    }

    void answers_data() {
        QTest::addColumn<QString>("prefisso");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<bool>("errore");

        const QString perche = QString::fromUtf8("Perché è così");
        QTest::newRow("200 success") << "/ok" << "1" << "File inviato" << false;
        QTest::newRow("Status \"0\" with its message") << "/rifiuto" << "0" << "File non trovato" << true;
        QTest::newRow("Status number 0") << "/zero" << "0" << "" << true;
        QTest::newRow("500: the status line") << "/errore" << "0" << "HTTP/1.1 500 Internal Server Error" << true;
        QTest::newRow("404: the status line") << "/mancante" << "0" << "HTTP/1.1 404 Not Found" << true;
        QTest::newRow("no route on the server") << "/altrove" << "0" << "HTTP/1.1 404 Not Found" << true;
        QTest::newRow("200 empty body") << "/vuoto" << "0" << "Nessuna risposta" << true;
        QTest::newRow("200 not JSON") << "/testo" << "0" << "The input value is not a valid Object" << true;
        QTest::newRow("200 null") << "/null" << "0" << MessaggioRispostaNulla << true;
        QTest::newRow("200 blanks") << "/spazi" << "0" << MessaggioRispostaNulla << true;
        QTest::newRow("charset=utf-8") << "/utf8" << "0" << perche << true;
        QTest::newRow("Charset=\"UTF-8\"") << "/utf8maiuscolo" << "0" << perche << true;
        QTest::newRow("no charset: bytes as ISO-8859-1") << "/senzacharset" << "0" << QString::fromLatin1(perche.toUtf8()) << true;
        QTest::newRow("charset=ISO-8859-1") << "/latin1" << "0" << perche << true;
        QTest::newRow("charset=windows-1252") << "/win1252" << "0" << QString::fromUtf8("€ “x”") << true;
    }

    void answers() {
        QFETCH(QString, prefisso);
        QFETCH(QString, status);
        QFETCH(QString, messaggio);
        QFETCH(bool, errore);
        const auto r = EseguiInvioFromSrv(Richiesta(), Base(prefisso));
        QVERIFY(r);
        QCOMPARE(r->Status(), status);
        QCOMPARE(r->Messaggio(), messaggio);
        QCOMPARE(r->IsError(), errore);
    }

    void requestArrivesAsWritten_data() {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("percorso");
        QTest::newRow("base address") << "/eco" << "/eco/ZelFile/FromSrv";
        QTest::newRow("base ending in a slash: plain concatenation") << "/" << "//ZelFile/FromSrv";
    }

    void requestArrivesAsWritten() {
        QFETCH(QString, base);
        QFETCH(QString, percorso);
        int prima;
        {
            std::lock_guard<std::mutex> lock(FMutex);
            prima = FRicevuta.Numero;
        }
        const auto r = EseguiInvioFromSrv(Richiesta(), Base(base));
        QCOMPARE(r->Messaggio(), QString());
        QCOMPARE(r->Status(), QString("1"));
        std::lock_guard<std::mutex> lock(FMutex);
        QCOMPARE(FRicevuta.Numero, prima + 1);
        QCOMPARE(QString::fromStdString(FRicevuta.Metodo), QString("POST"));
        QCOMPARE(QString::fromStdString(FRicevuta.Percorso), percorso);
        QCOMPARE(QString::fromStdString(FRicevuta.Corpo),
                 QString(R"({"CodiceSituazione":0,"ControlloCodice":"","SerDoc":"A\/1","NrMacchina":2,"IdLogFile":17,"UtenteId":5,"Ditta":"01"})"));
        QCOMPARE(QString::fromStdString(FRicevuta.ContentType), QString("application/json"));
        QVERIFY(!FRicevuta.Authorization);
        QVERIFY(!FRicevuta.Expect);
    }

    // The failures a user meets are said in Italian; libcurl's words follow as the detail.
    void networkFailuresSaidInItalian_data() {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<QString>("spiegazione");
        QTest::addColumn<QString>("dettaglio");  // how the detail begins
        QTest::newRow("connection refused")
            << "rifiutata" << "Connessione rifiutata: nessun servizio in ascolto all'indirizzo e alla porta indicati"
            << "Couldn't connect to server: Failed to connect to 127.0.0.1 port %1 ";
        QTest::newRow("connection time-out") << "codapiena"
                                             << "Timeout di connessione: nessuna connessione con il server entro 500 ms"
                                             << "Timeout was reached: ";
        QTest::newRow("name not found") << "nome" << "Nome del server non trovato"
                                        << "Couldn't resolve host name: Could not resolve host: zelscansrv.invalid";
        QTest::newRow("TLS refused") << "tls"
                                     << "Connessione sicura (TLS) rifiutata: il server non ha accettato la connessione "
                                        "protetta o il suo certificato non è valido"
                                     << "SSL connect error: ";
    }
    void networkFailuresSaidInItalian() {
        QFETCH(QString, caso);
        QFETCH(QString, spiegazione);
        QFETCH(QString, dettaglio);
        TSocketMuto libero;
        TCodaPiena piena;
        const int chiusa = libero.Porta();
        libero.Chiudi();  // nobody listens there now
        const QHash<QString, QString> indirizzi{{"rifiutata", QString("http://127.0.0.1:%1").arg(chiusa)},
                                                {"codapiena", QString("http://127.0.0.1:%1").arg(piena.Porta())},
                                                {"nome", "http://zelscansrv.invalid:8080"},
                                                {"tls", QString("https://127.0.0.1:%1/ok").arg(FPorta)}};
        QElapsedTimer t;
        t.start();
        const auto r = EseguiInvioFromSrv(Richiesta(), indirizzi.value(caso), 500, 2000);
        QVERIFY(t.elapsed() < 5000);
        QVERIFY(r->IsError());
        const QString atteso = spiegazione + "\r\nDettaglio tecnico: " + dettaglio.arg(chiusa);
        QVERIFY2(r->Messaggio().startsWith(atteso), qPrintable(r->Messaggio() + "\n" + atteso));
    }

    // only http and https: an address from the INI file never reads a file or speaks another protocol
    void badAddressIsAnError_data() {
        QTest::addColumn<QString>("url");
        QTest::newRow("unknown scheme") << "nonhttp://127.0.0.1:1";
        QTest::newRow("file") << "file://" + QCoreApplication::applicationFilePath();
        QTest::newRow("ftp") << "ftp://127.0.0.1:1";
        QTest::newRow("dict") << "dict://127.0.0.1:1";
        QTest::newRow("gopher") << "gopher://127.0.0.1:1";
    }
    void badAddressIsAnError() {
        QFETCH(QString, url);
        const auto r = EseguiInvioFromSrv(Richiesta(), url);
        QVERIFY(r->IsError());
        const QString atteso = "Indirizzo del server non utilizzabile: sono ammessi solo http e https\r\n"
                               "Dettaglio tecnico: Unsupported protocol";
        QVERIFY2(r->Messaggio().startsWith(atteso), qPrintable(r->Messaggio()));
    }

    void silentServerEndsAtTheReadTimeOut() {
        TSocketMuto muto;
        QElapsedTimer t;
        t.start();
        const auto r = EseguiInvioFromSrv(Richiesta(), QString("http://127.0.0.1:%1").arg(muto.Porta()), 2000, 300);
        const qint64 ms = t.elapsed();
        QVERIFY(r->IsError());
        QCOMPARE(r->Messaggio(), QString("Timeout di lettura: nessun dato dal server per 300 ms"));
        QVERIFY2(ms >= 300 && ms < 3000, qPrintable(QString::number(ms)));
    }
};

QTEST_GUILESS_MAIN(TestInvioServer)
#include "tst_invioserver.moc"
