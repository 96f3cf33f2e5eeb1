// The connection text from the four INI location keys and the file name (fields separated by
// NUL bytes): a text or the "incomplete" error, never anything else.
#include "db/ConnessioneDB.h"
#include "db/Errore.h"
#include "tests/fuzz/Verifica.h"

#include <QByteArrayList>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> campi = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0');
    auto campo = [&](int i) { return i < campi.size() ? QString::fromUtf8(campi[i]) : QString(); };
    TDBConnectionInfo info;
    info.NomeServer = campo(0);
    info.PercorsoDatabase = campo(1);
    info.LetteraDiscoServer = campo(2);
    info.Alias = campo(3);
    info.FileName = campo(4);
    try {
        const QString nome = ComponiNomeDatabase(info);
        if (!info.NomeServer.isEmpty()) ZEL_VERIFICA(nome.startsWith(info.NomeServer + ':') || nome.startsWith("\\\\" + info.NomeServer + '\\'));
    } catch (const Exception& e) {
        ZEL_VERIFICA(!info.NomeServer.isEmpty() && info.Alias.isEmpty() && info.LetteraDiscoServer.isEmpty() &&
                     info.PercorsoDatabase.isEmpty());
        ZEL_VERIFICA(e.Message().startsWith("Riferimenti file .ini incompleti"));
    }
    return 0;
}
