// Any text and released key for the date field's check: the outcome is an error code or a text
// no longer than ten characters plus the one key, and checking it again never fails.
#include "controls/EditData.h"
#include "tests/fuzz/Verifica.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int tasto = data[0];
    const QString testo = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const QString esito = ControllaData(testo, tasto);
    const bool errore = esito == ErroreGiorno || esito == ErroreMese || esito == ErroreAnno;
    if (!errore) (void)ControllaData(esito, tasto);
    return 0;
}
