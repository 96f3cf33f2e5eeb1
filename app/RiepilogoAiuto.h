#pragma once
// The help summary: recognised parameters of both sources and the source in use, then the keys.
#include "app/Avvio.h"

#include <QList>
#include <utility>

// A group of keys in the summary: its title, then one entry per key (the keys' names, what they do).
struct TTastiAiuto {
    QString Titolo;
    QList<std::pair<QString, QString>> Voci;
};

// Each group of `tasti` follows the parameters as its title, one line "- %s = %s" per entry and an
// empty line.
QString TestoRiepilogoAiuto(const TParametri& cmd, const TParametri* ini, TOrigine origine,
                            const QList<TTastiAiuto>& tasti = {});
