#pragma once
// Carries the subject between the main window's operations.
#include <QString>

class TFiltro {
public:
    explicit TFiltro(QString soggetto = {}) : FSoggetto(std::move(soggetto)) {}
    QString Soggetto() const { return FSoggetto; }
    void SetSoggetto(const QString& soggetto) { FSoggetto = soggetto; }

private:
    QString FSoggetto;
};
