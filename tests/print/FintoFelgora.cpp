// A test stand-in for the report launcher: records what it receives while it runs, so the tests
// can read the files the print job deletes afterwards. In the folder named by ZEL_FELGORA_REGISTRO
// each run N leaves N.argomenti (one argument a line), N.comando (the command file's bytes),
// N.report (the bytes of the report definition named by <NomeReport>) and N.ambiente (the
// program's session as the launcher finds it in its environment, one NAME=value a line). Ends
// with exit code 3, which the print job does not read.
#include "print/Felgora.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {

QByteArray Leggi(const QString& percorso) {
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(mancante)");
}

void Scrivi(const QString& percorso, const QByteArray& byte) {
    QFile f(percorso);
    if (f.open(QIODevice::WriteOnly)) f.write(byte);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString registro = qEnvironmentVariable("ZEL_FELGORA_REGISTRO");
    if (registro.isEmpty()) return 2;
    int n = 1;
    while (QFile::exists(QDir(registro).filePath(QString::number(n) + ".argomenti"))) ++n;
    const QString base = QDir(registro).filePath(QString::number(n));

    const QStringList argomenti = app.arguments().mid(1);
    const QByteArray comando = argomenti.size() > 1 ? Leggi(argomenti[1]) : QByteArray();
    const int inizio = comando.indexOf("<NomeReport>");
    const int fine = comando.indexOf("</NomeReport>");
    const QString report = inizio >= 0 && fine > inizio ? QString::fromLatin1(comando.mid(inizio + 12, fine - inizio - 12))
                                                        : QString();
    Scrivi(base + ".comando", comando);
    Scrivi(base + ".report", Leggi(report));
    QByteArray ambiente;
    for (const char* nome : {AmbienteUtente, AmbienteDitta}) ambiente += QByteArray(nome) + "=" + qgetenv(nome) + "\n";
    Scrivi(base + ".ambiente", ambiente);
    Scrivi(base + ".argomenti", (argomenti.join('\n') + '\n').toUtf8());
    return 3;
}
