#pragma once
// Parameter dictionaries: upper-cased keys to values, filled from KEY=VALUE items.
// A key given twice in one source keeps its first value (as Windows reads an INI key given twice);
// the rule is the same for the command line and for the INI file.
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class TParametri {
public:
    bool Contiene(const QString& chiave) const { return Indice(chiave) >= 0; }
    QString Valore(const QString& chiave) const;  // empty when absent
    // Adds the pair unless the key is there already; returns whether it was added.
    bool Aggiungi(const QString& chiave, const QString& valore);
    bool IsEmpty() const { return FVoci.isEmpty(); }
    int Count() const { return int(FVoci.size()); }
    // Pairs in the order they were added.
    const QList<QPair<QString, QString>>& Voci() const { return FVoci; }

    // Splits each item and adds the ones that are parameters.
    void Carica(const QStringList& items);

private:
    int Indice(const QString& chiave) const;
    QList<QPair<QString, QString>> FVoci;
};

// Splits "key=value" at the first "="; the key is upper-cased by the user's locale, nothing is trimmed.
// Not ok (key and value empty) when the item has no "=".
bool SeparaChiaveValore(const QString& item, QString& chiave, QString& valore);
