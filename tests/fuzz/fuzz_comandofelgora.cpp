// Any bytes as the report launcher's command file: the reader gives a command or a reason, never
// throws.
#include "tests/fuzz/Verifica.h"
#include "tools/felgora/ComandoFelgora.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto esito = LeggiComandoFelgora(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    ZEL_VERIFICA(esito.Ok() || !esito.Errore().isEmpty());
    return 0;
}
