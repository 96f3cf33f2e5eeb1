// The command line: items separated by NUL bytes, split into keys and values as start-up does.
// Each item splits at its first "=", and a key given twice keeps its first value.
#include "app/Parametri.h"
#include "tests/fuzz/Verifica.h"

#include <QLocale>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QStringList argomenti;
    for (const QByteArray& parte : QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0'))
        argomenti << QString::fromUtf8(parte);
    TParametri parametri;
    parametri.Carica(argomenti);
    QStringList chiavi;
    for (const QString& item : argomenti) {
        QString chiave, valore;
        const bool ok = SeparaChiaveValore(item, chiave, valore);
        const int uguale = item.indexOf('=');
        ZEL_VERIFICA(ok == (uguale >= 0));
        if (!ok) {
            ZEL_VERIFICA(chiave.isEmpty() && valore.isEmpty());
            continue;
        }
        ZEL_VERIFICA(valore == item.mid(uguale + 1));
        ZEL_VERIFICA(chiave == QLocale::system().toUpper(item.left(uguale)));
        ZEL_VERIFICA(parametri.Contiene(chiave));
        if (!chiavi.contains(chiave)) ZEL_VERIFICA(parametri.Valore(chiave) == valore);
        chiavi << chiave;
    }
    chiavi.removeDuplicates();
    ZEL_VERIFICA(parametri.Count() == chiavi.size());
    return 0;
}
