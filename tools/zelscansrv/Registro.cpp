#include "tools/zelscansrv/Registro.h"

#include "db/Errore.h"

#include <QDateTime>
#include <QFile>

TRegistro::~TRegistro() {
    if (FProprio) std::fclose(FFile);
}

void TRegistro::Apri(const QString& nomeFile) {
    if (nomeFile.isEmpty()) return;
    std::FILE* f = std::fopen(QFile::encodeName(nomeFile).constData(), "a");
    if (!f) throw Exception(QStringLiteral("Impossibile aprire il file di registro %1").arg(nomeFile));
    FFile = f;
    FProprio = true;
}

void TRegistro::Scrivi(const QString& testo) {
    const QByteArray riga = (QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz ")) + testo)
                                .toUtf8()
                                .replace('\n', ' ')
                                .replace('\r', ' ') +
                            '\n';
    std::lock_guard<std::mutex> lock(FMutex);
    std::fwrite(riga.constData(), 1, size_t(riga.size()), FFile);
    std::fflush(FFile);
}
