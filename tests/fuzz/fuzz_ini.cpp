// Any bytes as the content of an INI file: every listed entry reads back by its key (the first
// occurrence of a key wins), and reading never fails.
#include "db/IniFile.h"
#include "tests/fuzz/Verifica.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const TIniFile ini = TIniFile::DaContenuto(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    ZEL_VERIFICA(ini.Exists());
    for (const QString& sezione : {QStringLiteral("CONFIG"), QStringLiteral("config"), QString()}) {
        const QStringList voci = ini.ReadSectionValues(sezione);
        ZEL_VERIFICA(voci.isEmpty() || ini.SectionExists(sezione));
        QStringList visti;
        for (const QString& voce : voci) {
            const int uguale = voce.indexOf('=');
            ZEL_VERIFICA(uguale >= 0);
            const QString chiave = voce.left(uguale);
            bool gia = false;
            for (const QString& v : visti) gia = gia || v.compare(chiave, Qt::CaseInsensitive) == 0;
            if (!gia) ZEL_VERIFICA(ini.ReadString(sezione, chiave, QStringLiteral("\x01")) == voce.mid(uguale + 1));
            visti << chiave;
        }
    }
    return 0;
}
