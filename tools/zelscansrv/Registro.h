#pragma once
// The server's log: one line per request, to a file (appended) or to standard output.
#include <QString>

#include <cstdio>
#include <mutex>

class TRegistro {
public:
    ~TRegistro();
    // Empty name: standard output. Raises Exception when the file cannot be opened.
    void Apri(const QString& nomeFile);
    // Writes the time stamp, a blank and `testo` as one line; safe from any thread.
    void Scrivi(const QString& testo);

private:
    std::mutex FMutex;
    std::FILE* FFile = stdout;
    bool FProprio = false;
};
