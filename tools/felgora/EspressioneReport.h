#pragma once
// The text of a cell or of a text line: a field of the print's data (its name), a literal in double
// quotes, or literals, fields and the page functions Page$() and TotalPages$() joined by "+".
// A quoted text that is not such a join (a heading typed with double quotes in it) is one literal.
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class TEspressioneReport {
public:
    enum class TTipo { Testo, Campo, Pagina, TotalePagine };
    struct TParte {
        TTipo Tipo = TTipo::Testo;
        QString Testo;  // the literal, or the field's name
        bool operator==(const TParte&) const = default;
    };

    static TEspressioneReport Leggi(const QString& testo);

    const QList<TParte>& Parti() const { return FParti; }
    bool UsaTotalePagine() const;
    QStringList Campi() const;
    // The text shown: `campo` gives a field's value by its position among Campi().
    QString Valuta(const std::function<QString(int campo)>& campo, int pagina, int totalePagine) const;

private:
    QList<TParte> FParti;
};
