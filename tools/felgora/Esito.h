#pragma once
// What a reader of the launcher's input files returns: the value read, or the reason it cannot be used.
#include <QString>
#include <optional>

template <class T>
class TEsito {
public:
    TEsito(T valore) : FValore(std::move(valore)) {}
    static TEsito Fallito(QString errore) { return TEsito(std::move(errore), 0); }

    bool Ok() const { return FValore.has_value(); }
    const T& Valore() const { return *FValore; }
    const QString& Errore() const { return FErrore; }

private:
    TEsito(QString errore, int) : FErrore(std::move(errore)) {}
    std::optional<T> FValore;
    QString FErrore;
};
