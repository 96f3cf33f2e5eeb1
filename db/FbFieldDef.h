#pragma once
// Descriptions of result fields and rows of values (data layer).
#include <QString>
#include <QVariant>
#include <QVector>

enum class TFbFieldType { Smallint, Integer, Largeint, Float, Double, Numeric, FixedChar, String,
                          Date, Time, TimeStamp, Memo, Blob, Boolean, Unknown };

struct TFbFieldDef {
    QString Name;       // the result column's name (its alias when one is given)
    QString FieldName;  // the column's name as the server reports it
    QString Relation;   // source table; empty for a computed column
    QString Origin;     // RELATION.FIELD, each part quoted where the dialect needs it; empty when computed
    TFbFieldType Type = TFbFieldType::Unknown;
    int Size = 0;         // declared size: characters for text, bytes otherwise
    int Scale = 0;
    int SubType = 0;
    int CharSet = 0;      // as the server reports it
    int TextCharSet = 0;  // the one its text is read in: its own, or the connection's for untyped text
    // where the value lies in the statement's output message
    unsigned SqlType = 0, Offset = 0, NullOffset = 0, Length = 0;
    bool Nullable = true;
};

using TFbFieldDefs = QVector<TFbFieldDef>;

// A null QVariant is SQL NULL. NUMERIC and DECIMAL values with a scale are their exact decimal text
// (a QString such as "-12.50", with as many decimals as the scale), so no digit is lost to a double;
// written back as parameters they reach the server as that text, which it converts exactly.
using TFbRow = QVector<QVariant>;
