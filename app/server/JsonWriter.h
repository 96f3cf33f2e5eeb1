#pragma once
// Writes one compact JSON object whose text is 7-bit ASCII: every character outside 0x20-0x7F
// becomes \uXXXX (upper-case hex, UTF-16 code units), and the slash is written \/.
#include <QString>

class TJsonWriter {
public:
    void InizioOggetto();
    void FineOggetto();
    void Membro(const QString& nome, qint32 valore);
    void Membro(const QString& nome, const QString& valore);
    const QString& Testo() const { return FTesto; }

private:
    void Nome(const QString& nome);
    void Stringa(const QString& valore);

    QString FTesto;
    bool FPrimo = true;
};
