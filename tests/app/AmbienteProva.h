#pragma once
// A demo archive and user database, and INI files that point at them, for the window's tests.
#include "tests/support/TestDb.h"

#include <QFile>

class TAmbienteProva {
public:
    TTestDir Dir;
    QString Archivio;
    QString Utenti;

    TAmbienteProva() : TAmbienteProva(QString()) {}
    // `archivio`: the connection text of a demo archive made elsewhere (on a server); empty: a new one here.
    explicit TAmbienteProva(const QString& archivio) {
        Archivio = archivio.isEmpty() ? Dir.NuovoArchivioDemo() : archivio;
        Utenti = Dir.NuovoUtentiDemo(Archivio);
    }

    // Writes an INI file; "{UTENTI}" in the text stands for the user database's path.
    QString Ini(const QString& testo, const QString& nome = QStringLiteral("ParametriZelScan.ini")) const {
        const QString path = Dir.Path(nome);
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(QString(testo).replace("{UTENTI}", Utenti).toUtf8());
        return path;
    }
    QString IniStandard() const { return Ini("[CONFIG]\r\nUTENTE=1\r\nDITTA=01\r\nPercorsoDatabase={UTENTI}\r\n"); }
};
