// The re-send request's JSON text and the reading of the scan server's answer.
#include "app/server/ZelFile.FromSrv.Request.h"
#include "app/server/ZelFile.FromSrv.Response.h"
#include "db/Errore.h"

#include <QtTest>

class TestServerJson : public QObject {
    Q_OBJECT

private slots:
    void requestText_data() {
        QTest::addColumn<int>("codice");
        QTest::addColumn<QString>("controllo");
        QTest::addColumn<QString>("serDoc");
        QTest::addColumn<int>("nr");
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("utente");
        QTest::addColumn<QString>("ditta");
        QTest::addColumn<QString>("json");

        QTest::newRow("new request: every member, empty and zero")
            << 0 << "" << "" << 0 << 0 << 0 << ""
            << R"({"CodiceSituazione":0,"ControlloCodice":"","SerDoc":"","NrMacchina":0,"IdLogFile":0,"UtenteId":0,"Ditta":""})";
        QTest::newRow("as the re-send fills it")
            << 0 << "" << "A123" << 2 << 17 << 5 << "01"
            << R"({"CodiceSituazione":0,"ControlloCodice":"","SerDoc":"A123","NrMacchina":2,"IdLogFile":17,"UtenteId":5,"Ditta":"01"})";
        QTest::newRow("slash escaped")
            << 0 << "" << "A/1" << 1 << 1 << 1 << "01"
            << R"({"CodiceSituazione":0,"ControlloCodice":"","SerDoc":"A\/1","NrMacchina":1,"IdLogFile":1,"UtenteId":1,"Ditta":"01"})";
        QTest::newRow("accented letter as upper-case \\u")
            << 0 << "" << "B'7" << 1 << 1 << 1 << QString::fromUtf8("Società è")
            << "{\"CodiceSituazione\":0,\"ControlloCodice\":\"\",\"SerDoc\":\"B'7\",\"NrMacchina\":1,\"IdLogFile\":1,"
               "\"UtenteId\":1,\"Ditta\":\"Societ\\u00E0 \\u00E8\"}";
        QTest::newRow("outside the basic plane: surrogate pair, euro sign")
            << 0 << QString::fromUtf8("😀€") << "" << 0 << 0 << 0 << ""
            << R"({"CodiceSituazione":0,"ControlloCodice":"\uD83D\uDE00\u20AC","SerDoc":"","NrMacchina":0,"IdLogFile":0,"UtenteId":0,"Ditta":""})";
        const QChar del(0x7F);
        QTest::newRow("control characters, quote, backslash, DEL kept")
            << 0 << QString("\b\t\n\f\r") + QChar(0x01) + QChar(0x1F) + "\"\\" + del << "" << 0 << 0 << 0 << ""
            << QString("{\"CodiceSituazione\":0,\"ControlloCodice\":\"\\b\\t\\n\\f\\r\\u0001\\u001F\\\"\\\\") + del +
                   "\",\"SerDoc\":\"\",\"NrMacchina\":0,\"IdLogFile\":0,\"UtenteId\":0,\"Ditta\":\"\"}";
        QTest::newRow("negative and extreme integers")
            << -5 << "X" << "S" << INT_MIN << INT_MAX << -1 << "D"
            << R"({"CodiceSituazione":-5,"ControlloCodice":"X","SerDoc":"S","NrMacchina":-2147483648,"IdLogFile":2147483647,"UtenteId":-1,"Ditta":"D"})";
    }

    void requestText() {
        QFETCH(int, codice);
        QFETCH(QString, controllo);
        QFETCH(QString, serDoc);
        QFETCH(int, nr);
        QFETCH(int, id);
        QFETCH(int, utente);
        QFETCH(QString, ditta);
        QFETCH(QString, json);
        TZelFileFromSrvRequest r;
        if (codice) r.SetCodiceSituazione(codice);
        if (!controllo.isEmpty()) r.SetControlloCodice(controllo);
        r.SetSerDoc(serDoc);
        r.SetNrMacchina(nr);
        r.SetIdLogFile(id);
        r.SetUtenteId(utente);
        r.SetDitta(ditta);
        const QString testo = r.ToJsonString();
        QCOMPARE(testo, json);
        for (const QChar c : testo) QVERIFY(c.unicode() < 0x80);
    }

    void requestProperties() {
        TZelFileFromSrvRequest r;
        QCOMPARE(r.CodiceSituazione(), 0);
        QCOMPARE(r.ControlloCodice(), QString());
        r.SetCodiceSituazione(3);
        r.SetControlloCodice("K");
        r.SetSerDoc("A123");
        r.SetNrMacchina(4);
        r.SetIdLogFile(9);
        r.SetUtenteId(5);
        r.SetDitta("01");
        QCOMPARE(r.CodiceSituazione(), 3);
        QCOMPARE(r.ControlloCodice(), QString("K"));
        QCOMPARE(r.SerDoc(), QString("A123"));
        QCOMPARE(r.NrMacchina(), 4);
        QCOMPARE(r.IdLogFile(), 9);
        QCOMPARE(r.UtenteId(), 5);
        QCOMPARE(r.Ditta(), QString("01"));
    }

    void responseCreationAndError() {
        QCOMPARE(TResponse(7).Status(), QString("7"));
        QCOMPARE(TResponse(-3).Status(), QString("-3"));
        QCOMPARE(TResponse("0").Messaggio(), QString());
        const TResponse both("2", "Testo");
        QCOMPARE(both.Status(), QString("2"));
        QCOMPARE(both.Messaggio(), QString("Testo"));

        TZelFileFromSrvResponse r;
        QCOMPARE(r.Status(), QString("1"));
        QCOMPARE(r.Messaggio(), QString());
        QVERIFY(!r.IsError());
        r.SetError("Connessione rifiutata");
        QVERIFY(r.IsError());
        QCOMPARE(r.Status(), QString("0"));
        QCOMPARE(r.Messaggio(), QString("Connessione rifiutata"));
        for (const char* s : {"00", " 0", "0 ", "", "-0"}) {
            r.SetStatus(s);
            QVERIFY2(!r.IsError(), s);
        }
    }

    void answer_data() {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("esito");  // "record", "nessuno" or the conversion error's message
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<bool>("errore");

        const QString record = "record", nessuno = "nessuno", nonOggetto = "The input value is not a valid Object";
        QTest::newRow("Status \"0\" with Messaggio") << R"({"Status":"0","Messaggio":"File non trovato"})" << record << "0" << "File non trovato" << true;
        QTest::newRow("Status number 0, no Messaggio") << R"({"Status":0})" << record << "0" << "" << true;
        QTest::newRow("lower-case status ignored") << R"({"status":"0"})" << record << "1" << "" << false;
        QTest::newRow("Status null") << R"({"Status":null})" << record << "" << "" << false;
        QTest::newRow("Status \"2\"") << R"({"Status":"2"})" << record << "2" << "" << false;
        QTest::newRow("Status \"1\" and message") << R"({"Status":"1","Messaggio":"File inviato"})" << record << "1" << "File inviato" << false;
        QTest::newRow("empty object") << "{}" << record << "1" << "" << false;
        QTest::newRow("blanks around the object") << " \r\n {\"Status\":\"0\"}\t" << record << "0" << "" << true;
        QTest::newRow("other members ignored, nested too")
            << R"({"Nota":[1,{"Status":"0"}],"Altro":{"Messaggio":"x"},"Status":"1"})" << record << "1" << "" << false;
        QTest::newRow("repeated member: the last wins") << R"({"Status":"0","Messaggio":"a","Status":"1","Messaggio":"b"})" << record << "1" << "b" << false;
        QTest::newRow("Messaggio null") << R"({"Status":"0","Messaggio":null})" << record << "0" << "" << true;
        QTest::newRow("Messaggio number as written") << R"({"Messaggio":42})" << record << "1" << "42" << false;
        QTest::newRow("exponent kept as written") << R"({"Status":1e2})" << record << "1e2" << "" << false;
        QTest::newRow("fraction kept: 0.0 is not an error") << R"({"Status":0.0})" << record << "0.0" << "" << false;
        QTest::newRow("minus zero kept") << R"({"Status":-0})" << record << "-0" << "" << false;
        QTest::newRow("negative integer") << R"({"Status":-12})" << record << "-12" << "" << false;
        QTest::newRow("huge integer kept") << R"({"Status":123456789012345678901234567890})" << record << "123456789012345678901234567890" << "" << false;
        QTest::newRow("numbers elsewhere do not shift the texts")
            << "{\"A\":[1.50,\"2e3\",-7],\"Status\":0,\"B\":\"x\\\"9\",\"Messaggio\":3E+1}" << record << "0" << "3E+1" << true;
        QTest::newRow("escapes in the message")
            << "{\"Status\":\"0\",\"Messaggio\":\"Citt\\u00E0 \\/ \\\"A\\\"\\n\\uD83D\\uDE00\"}" << record << "0"
            << QString::fromUtf8("Città / \"A\"\n😀") << true;
        QTest::newRow("non-ASCII text in the message") << QString::fromUtf8(R"({"Status":"0","Messaggio":"Perché è così"})") << record
                                                       << "0" << QString::fromUtf8("Perché è così") << true;
        QTest::newRow("empty text") << "" << nessuno << "" << "" << false;
        QTest::newRow("blanks only") << " \t\r\n " << nessuno << "" << "" << false;
        QTest::newRow("literal null") << "null" << nessuno << "" << "" << false;
        QTest::newRow("literal null with blanks") << "  null\r\n" << nessuno << "" << "" << false;
        QTest::newRow("array") << "[]" << nonOggetto << "" << "" << false;
        QTest::newRow("array of an object") << R"([{"Status":"0"}])" << nonOggetto << "" << "" << false;
        QTest::newRow("number") << "0" << nonOggetto << "" << "" << false;
        QTest::newRow("string") << R"("0")" << nonOggetto << "" << "" << false;
        QTest::newRow("true") << "true" << nonOggetto << "" << "" << false;
        QTest::newRow("garbage") << "Servizio non disponibile" << nonOggetto << "" << "" << false;
        QTest::newRow("html") << "<html><body>Errore</body></html>" << nonOggetto << "" << "" << false;
        QTest::newRow("truncated object") << R"({"Status":"0")" << nonOggetto << "" << "" << false;
        QTest::newRow("text after the object") << R"({"Status":"0"} x)" << nonOggetto << "" << "" << false;
        QTest::newRow("two objects") << R"({}{})" << nonOggetto << "" << "" << false;
        QTest::newRow("single quotes") << R"({'Status':'0'})" << nonOggetto << "" << "" << false;
        QTest::newRow("leading zero is not JSON") << R"({"Status":007})" << nonOggetto << "" << "" << false;
        QTest::newRow("control character inside a string") << QString("{\"Messaggio\":\"a\x01\"}") << nonOggetto << "" << "" << false;
        const QString statusKind = "Valore non valido per il membro \"Status\" della risposta";
        const QString messaggioKind = "Valore non valido per il membro \"Messaggio\" della risposta";
        QTest::newRow("Status true") << R"({"Status":true})" << statusKind << "" << "" << false;
        QTest::newRow("Status false") << R"({"Status":false})" << statusKind << "" << "" << false;
        QTest::newRow("Status object") << R"({"Status":{"Status":"0"}})" << statusKind << "" << "" << false;
        QTest::newRow("Messaggio array") << R"({"Status":"0","Messaggio":["a"]})" << messaggioKind << "" << "" << false;
    }

    void answer() {
        QFETCH(QString, testo);
        QFETCH(QString, esito);
        QFETCH(QString, status);
        QFETCH(QString, messaggio);
        QFETCH(bool, errore);
        std::unique_ptr<TZelFileFromSrvResponse> r;
        try {
            r = TZelFileFromSrvResponse::FromJsonString(testo);
        } catch (const EConvertError& e) {
            QCOMPARE(e.Message(), esito);
            return;
        }
        if (esito == "nessuno") {
            QVERIFY(!r);
            return;
        }
        QCOMPARE(esito, QString("record"));
        QVERIFY(r);
        QCOMPARE(r->Status(), status);
        QCOMPARE(r->Messaggio(), messaggio);
        QCOMPARE(r->IsError(), errore);
    }
};

QTEST_GUILESS_MAIN(TestServerJson)
#include "tst_serverjson.moc"
