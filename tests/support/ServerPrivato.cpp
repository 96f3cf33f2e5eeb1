#include "tests/support/ServerPrivato.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

TServerPrivato::TServerPrivato(const QString& nome, const QStringList& porte)
    : FRoot(QStringLiteral(ZEL_FBPRIVATE_DIR "/") + nome),
      FPorte(qEnvironmentVariableIsEmpty("ZEL_TEST_FBPRIVATE_PORTS")
                 ? porte
                 : qEnvironmentVariable("ZEL_TEST_FBPRIVATE_PORTS").split(' ', Qt::SkipEmptyParts)) {}

TServerPrivato::~TServerPrivato() { Ferma(); }

QString TServerPrivato::Script(const QString& azione) {
    QProcess p;
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert("FBSERVER_PORTS", FPorte.join(' '));
    p.setProcessEnvironment(ambiente);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start("bash", {QStringLiteral(ZEL_FBSERVER_SCRIPT), azione, FRoot});
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return "fbserver.sh " + azione + ": no answer within two minutes";
    }
    const QString uscita = QString::fromLocal8Bit(p.readAll());
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return "fbserver.sh " + azione + ": " + uscita;
    if (azione == "stop") return {};
    // server.env holds the two NAME=value lines the tests read
    QFile env(FRoot + "/server.env");
    if (!env.open(QIODevice::ReadOnly)) return "fbserver.sh " + azione + " wrote no server.env: " + uscita;
    for (const QByteArray& riga : env.readAll().split('\n')) {
        const int uguale = riga.indexOf('=');
        if (uguale < 0) continue;
        const QByteArray chiave = riga.left(uguale);
        const QString valore = QString::fromLocal8Bit(riga.mid(uguale + 1));
        if (chiave == "ZEL_TEST_FBSERVER") FHost = valore;
        else if (chiave == "ZEL_TEST_FBSERVER_DIR") FCartella = valore;
    }
    return {};
}

QString TServerPrivato::Avvia() {
    QDir().mkpath(FRoot);
    return Script("start");
}

QString TServerPrivato::Ferma() { return Script("stop"); }

QString TServerPrivato::Riprendi() { return Script("resume"); }
