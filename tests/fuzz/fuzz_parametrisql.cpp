// Statement text with named parameters: every placeholder comes from a ":NAME" and the names
// listed are exactly the distinct names in their positions.
#include "db/FbParams.h"
#include "tests/fuzz/Verifica.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString sql = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const TParsedSQL p = ParseNamedParams(sql);
    ZEL_VERIFICA(p.Positions.size() <= sql.count(':'));
    ZEL_VERIFICA(p.Text.count('?') == sql.count('?') + p.Positions.size());
    ZEL_VERIFICA(p.Text.size() <= sql.size());
    QStringList distinti = p.Positions;
    distinti.removeDuplicates();
    ZEL_VERIFICA(distinti == p.Names);
    for (const QString& nome : p.Names) ZEL_VERIFICA(!nome.isEmpty() && nome == nome.toUpper());
    // without any colon the text is unchanged
    if (!sql.contains(':')) ZEL_VERIFICA(p.Text == sql);
    return 0;
}
