#include "print/FileAnsi.h"

#include "db/Charset.h"
#include "db/Errore.h"

#include <QDir>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

QByteArray TestoAnsi(const QString& testo) {
#ifdef Q_OS_WIN
    if (testo.isEmpty()) return {};
    const auto* origine = reinterpret_cast<const wchar_t*>(testo.utf16());
    const int lunghezza = WideCharToMultiByte(CP_ACP, 0, origine, int(testo.size()), nullptr, 0, nullptr, nullptr);
    QByteArray byte(lunghezza, Qt::Uninitialized);
    WideCharToMultiByte(CP_ACP, 0, origine, int(testo.size()), byte.data(), lunghezza, nullptr, nullptr);
    return byte;
#else
    return Charset::ToWindows1252(testo);
#endif
}

TFileAnsi::TFileAnsi(const QString& percorso) : FFile(percorso) {
    if (!FFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Exception("Impossibile creare il file \"" + percorso + "\":\r\n" + FFile.errorString());
}

void TFileAnsi::Scrivi(const QString& testo) {
    const QByteArray byte = TestoAnsi(testo);
    if (FFile.write(byte) != byte.size() || !FFile.flush()) {
        const QString errore = FFile.errorString();
        FFile.remove();
        throw Exception("Impossibile scrivere il file \"" + FFile.fileName() + "\":\r\n" + errore);
    }
}

void ScriviFileAnsi(const QString& percorso, const QString& testo) { TFileAnsi(percorso).Scrivi(testo); }

QString MarcaTemporale(const QDateTime& istante) { return istante.toString(QStringLiteral("yyyyMMddHHmmsszzz")); }

QString ConSeparatore(const QString& cartella) {
    return cartella.endsWith(QDir::separator()) ? cartella : cartella + QDir::separator();
}
