#pragma once
// The command line of zelscansrv.
#include <QString>
#include <QStringList>

struct TOpzioni {
    QString Host = QStringLiteral("127.0.0.1");
    int Porta = 8080;           // 0: any free port (the one chosen is announced on standard output)
    QString Archivio;           // database path or connection text
    QString CartellaFile = QStringLiteral(".");
    QString CartellaOutbox = QStringLiteral("outbox");
    QString FileLog;            // empty: standard output
    bool Aiuto = false;
};

extern const char* const UsoZelScanSrv;

// Reads the arguments (without the program name); raises Exception with the reason when they are wrong.
TOpzioni LeggiOpzioni(const QStringList& argomenti);
