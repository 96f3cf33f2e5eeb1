#include "lookup/DatiRicerca.h"

bool TDatiRicerca::IsCompilato() const {
    return !FTabellaRicerca.isEmpty() && !FCampoRicerca.isEmpty() && !FCampoRitorno.isEmpty();
}

void TDatiRicerca::Assign(const TDatiRicerca& AFrom) {
    FTabellaRicerca = AFrom.FTabellaRicerca;
    FCampoRicerca = AFrom.FCampoRicerca;
    FCampoRitorno = AFrom.FCampoRitorno;
    FPrefissoRitorno = AFrom.FPrefissoRitorno;
}

std::unique_ptr<TDatiRicerca> TDatiRicerca::Clone() const {
    auto copia = std::make_unique<TDatiRicerca>();
    copia->Assign(*this);
    return copia;
}
