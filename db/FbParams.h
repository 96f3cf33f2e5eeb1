#pragma once
// Client-side parsing of named parameters: ":NAME" becomes a positional placeholder.
#include <QString>
#include <QStringList>

struct TParsedSQL {
    QString Text;             // the statement with "?" in place of each ":NAME"
    QStringList Positions;    // upper-cased parameter name of each "?" in order
    QStringList Names;        // distinct names in order of first use
};

// A colon inside a quoted literal, a double-quoted identifier or a comment is not a parameter,
// nor is ":=" or a colon not followed by a name.
TParsedSQL ParseNamedParams(const QString& sql);
