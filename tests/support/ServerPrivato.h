#pragma once
// A Firebird server on loopback that belongs to one test program, so the test can stop it during
// a session and start it again (the shared server of the test command is never stopped). It is
// run by scripts/fbserver.sh on the root <build>/fbprivate/<name>; scripts/test.sh stops what a
// crashed test leaves there.
#include <QString>
#include <QStringList>

class TServerPrivato {
public:
    // `porte`: the ports to try, in order, none of them the shared server's; ZEL_TEST_FBPRIVATE_PORTS
    // ("P1 P2 ...") replaces them, for a machine where each developer has ports of their own.
    TServerPrivato(const QString& nome, const QStringList& porte);
    ~TServerPrivato();  // stops the server
    TServerPrivato(const TServerPrivato&) = delete;
    TServerPrivato& operator=(const TServerPrivato&) = delete;

    // Each returns an empty text, or what the script reported when it failed.
    QString Avvia();     // a fresh root: new port choice, no databases
    QString Ferma();
    QString Riprendi();  // starts it again on the same port, with the same databases

    QString Host() const { return FHost; }          // "localhost/3052"
    QString Cartella() const { return FCartella; }  // folder of the server-side databases

private:
    QString Script(const QString& azione);
    QString FRoot;
    QStringList FPorte;
    QString FHost;
    QString FCartella;
};

// Skips the test when the test command started no Firebird server (it needs root and the server
// package); under CI that is a failure.
#define ZEL_RICHIEDI_SERVER_DI_TEST()                                                                  \
    do {                                                                                               \
        if (ServerDiTest().isEmpty()) {                                                                \
            const char* why = "ZEL_TEST_FBSERVER is empty: no Firebird server runs for this test run " \
                              "(bash scripts/test.sh starts one)";                                     \
            if (qEnvironmentVariable("CI") == "true") QFAIL(why);                                      \
            QSKIP(why);                                                                                \
        }                                                                                              \
    } while (false)
