#pragma once
// Result fields: their description and the value of the current row.
#include <QDate>
#include <QDateTime>
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
    int Size = 0;       // declared size: characters for text, bytes otherwise
    int Scale = 0;
    int SubType = 0;
    int CharSet = 0;      // as the server reports it
    int TextCharSet = 0;  // the one its text is read in: its own, or the connection's for untyped text
    bool Nullable = true;
};

using TFbFieldDefs = QVector<TFbFieldDef>;
// A null QVariant is SQL NULL. NUMERIC and DECIMAL values with a scale are their exact decimal text
// (a QString such as "-12.50", with as many decimals as the scale), so no digit is lost to a double;
// written back as parameters they reach the server as that text, which it converts exactly.
using TFbRow = QVector<QVariant>;

// A value as the user reads it: numbers in decimal, dates and times in the regional short formats,
// NULL as empty text.
QString TestoValore(const QVariant& value);

// An identifier as the dialect needs it: plain when regular, else in double quotes.
QString QuotedIdentifier(const QString& name);

class TFbField {
public:
    TFbField() = default;
    TFbField(const TFbFieldDef* def, QVariant value) : FDef(def), FValue(std::move(value)) {}

    const TFbFieldDef& Def() const { return *FDef; }
    QString FieldName() const { return FDef->Name; }
    bool IsNull() const { return !FValue.isValid() || FValue.isNull(); }
    const QVariant& AsVariant() const { return FValue; }
    QString AsString() const { return TestoValore(FValue); }
    int AsInteger() const;   // NULL reads 0; a decimal drops its fraction; text that is not a number raises EConvertError
    qint64 AsInt64() const;
    double AsDouble() const;
    QDate AsDate() const;
    QDateTime AsDateTime() const;
    QByteArray AsBytes() const;

private:
    const TFbFieldDef* FDef = nullptr;
    QVariant FValue;
};
