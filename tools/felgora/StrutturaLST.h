#pragma once
// The report engine's project text as a tree. Lines are "[Section]", "{", "}" and "Key=Value";
// indentation does not count. A section followed by "{" holds what comes up to the matching "}";
// a section without "{" (the file's main sections) holds what comes up to the next such section.
#include "tools/felgora/Esito.h"

#include <QList>
#include <QPair>
#include <QString>
#include <vector>

struct TNodoLST {
    QString Nome;                           // section name without brackets; empty for the whole file
    QList<QPair<QString, QString>> Valori;  // "Key=Value" lines in file order, the value as written
    std::vector<TNodoLST> Figli;

    // The first value of `chiave` (compared without case); `predefinito` when there is none.
    QString Valore(const QString& chiave, const QString& predefinito = {}) const;
    bool Contiene(const QString& chiave) const;
    // Child sections named `nome` (compared without case), in file order.
    QList<const TNodoLST*> Sezioni(const QString& nome) const;
    const TNodoLST* Sezione(const QString& nome) const;  // the first one, or nullptr
};

// Reads the text of a project file; never throws.
TEsito<TNodoLST> LeggiStrutturaLST(const QString& testo);
