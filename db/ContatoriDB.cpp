#include "db/ContatoriDB.h"

#include <atomic>

namespace {

struct {
    std::atomic<qint64> Preparazioni{0};
    std::atomic<qint64> Esecuzioni{0};
    std::atomic<qint64> Fetch{0};
    std::atomic<qint64> Transazioni{0};
} Contatori;
std::atomic<ContatoriDB::TOsservatore> Osservatore{nullptr};

void Conta(std::atomic<qint64>& contatore) { contatore.fetch_add(1, std::memory_order_relaxed); }

void Osserva(ContatoriDB::TRichiesta richiesta, const QStringList& sql) {
    if (const ContatoriDB::TOsservatore o = Osservatore.load(std::memory_order_relaxed)) o(richiesta, sql.join('\n'));
}

}  // namespace

TContatoriDB TContatoriDB::operator-(const TContatoriDB& prima) const {
    return {Preparazioni - prima.Preparazioni, Esecuzioni - prima.Esecuzioni, Fetch - prima.Fetch,
            Transazioni - prima.Transazioni};
}

TContatoriDB TContatoriDB::operator+(const TContatoriDB& altri) const {
    return {Preparazioni + altri.Preparazioni, Esecuzioni + altri.Esecuzioni, Fetch + altri.Fetch,
            Transazioni + altri.Transazioni};
}

QString TContatoriDB::Testo() const {
    return QString("%1 prepared, %2 executed, %3 fetches, %4 transactions")
        .arg(Preparazioni)
        .arg(Esecuzioni)
        .arg(Fetch)
        .arg(Transazioni);
}

namespace ContatoriDB {

TContatoriDB Lettura() {
    return {Contatori.Preparazioni.load(std::memory_order_relaxed), Contatori.Esecuzioni.load(std::memory_order_relaxed),
            Contatori.Fetch.load(std::memory_order_relaxed), Contatori.Transazioni.load(std::memory_order_relaxed)};
}

void Azzera() {
    for (std::atomic<qint64>* c : {&Contatori.Preparazioni, &Contatori.Esecuzioni, &Contatori.Fetch, &Contatori.Transazioni})
        c->store(0, std::memory_order_relaxed);
}

void SetOsservatore(TOsservatore osservatore) { Osservatore.store(osservatore, std::memory_order_relaxed); }

void Preparazione(const QStringList& sql) {
    Conta(Contatori.Preparazioni);
    Osserva(TRichiesta::Preparazione, sql);
}

void Esecuzione(const QStringList& sql) {
    Conta(Contatori.Esecuzioni);
    Osserva(TRichiesta::Esecuzione, sql);
}

void Fetch() { Conta(Contatori.Fetch); }

void Transazione() { Conta(Contatori.Transazioni); }

}  // namespace ContatoriDB
