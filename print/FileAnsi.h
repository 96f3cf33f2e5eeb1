#pragma once
// Text files written for the suite's other programs: in the system's ANSI code page
// (Windows-1252 off Windows), without byte-order mark, with time-stamped names.
#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>

// The text in the ANSI code page.
QByteArray TestoAnsi(const QString& testo);

// A file created (or replaced) at once, then written. Both steps raise the file layer's error;
// a file that could not be written whole is removed.
class TFileAnsi {
public:
    explicit TFileAnsi(const QString& percorso);
    void Scrivi(const QString& testo);

private:
    QFile FFile;
};

// The file at `percorso` created with `testo` in the ANSI code page.
void ScriviFileAnsi(const QString& percorso, const QString& testo);

// Local date and time as "yyyymmddhhnnsszzz": year, month, day, 24-hour hour, minutes, seconds, milliseconds.
QString MarcaTemporale(const QDateTime& istante);

// The folder with the platform separator at its end, unless it already ends with one.
QString ConSeparatore(const QString& cartella);
