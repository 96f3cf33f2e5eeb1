// Any bytes as a report definition: the reader gives a definition or a reason and never throws.
#include "tests/fuzz/Verifica.h"
#include "tools/felgora/DefinizioneReport.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto esito = LeggiDefinizioneReport(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    ZEL_VERIFICA(esito.Ok() || !esito.Errore().isEmpty());
    return 0;
}
