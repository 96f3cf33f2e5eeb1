#pragma once
// What the data layer asks of the Firebird client, counted for the whole process: statements
// prepared, statements executed (a cursor opened or a statement run), fetch calls and
// transactions started. On a server each of them is a request over the network, so the counts
// of an operation tell its cost in round trips. Always on and cheap (relaxed atomic counters);
// readable and resettable from any thread.
#include <QString>
#include <QStringList>
#include <QtGlobal>

struct TContatoriDB {
    qint64 Preparazioni = 0;
    qint64 Esecuzioni = 0;
    qint64 Fetch = 0;
    qint64 Transazioni = 0;

    TContatoriDB operator-(const TContatoriDB& prima) const;
    TContatoriDB operator+(const TContatoriDB& altri) const;
    bool operator==(const TContatoriDB&) const = default;
    // "3 prepared, 4 executed, 12 fetches, 2 transactions"
    QString Testo() const;
};

namespace ContatoriDB {

// The counts so far (since the start or the last reset).
TContatoriDB Lettura();
void Azzera();

// The cost of what runs between its construction and the call of Costo.
class TMisura {
public:
    TMisura() : FInizio(Lettura()) {}
    TContatoriDB Costo() const { return Lettura() - FInizio; }

private:
    TContatoriDB FInizio;
};

// For a benchmark that lists the statements an operation runs: called, on the thread that sends
// it, with the text of every statement prepared and of every statement executed. None by default.
enum class TRichiesta { Preparazione, Esecuzione };
using TOsservatore = void (*)(TRichiesta richiesta, const QString& sql);
void SetOsservatore(TOsservatore osservatore);

// Called by the data layer at each request, before it is sent.
void Preparazione(const QStringList& sql);
void Esecuzione(const QStringList& sql);
void Fetch();
void Transazione();

}  // namespace ContatoriDB
