#pragma once
// Result fields: their description and the value of the current row.
#include "db/FbFieldDef.h"
#include "db/FbRecord.h"
#include "db/TestoValore.h"

#include <QDate>
#include <QDateTime>

// An identifier as the dialect needs it: plain when regular, else in double quotes.
QString QuotedIdentifier(const QString& name);

// One value of a row; it is decoded from the row when it is read.
class TFbField {
public:
    TFbField() = default;
    TFbField(const TFbFieldDef* def, TFbRecord record, int index) : FDef(def), FRecord(std::move(record)), FIndex(index) {}

    const TFbFieldDef& Def() const { return *FDef; }
    QString FieldName() const { return FDef->Name; }
    bool IsNull() const { return FRecord.IsNull(FIndex); }
    QVariant AsVariant() const { return FDef ? FRecord.Value(*FDef, FIndex) : QVariant(); }
    QString AsString() const { return FDef ? FRecord.Text(*FDef, FIndex) : QString(); }  // TestoValore of the value
    int AsInteger() const;   // NULL reads 0; a decimal drops its fraction; text that is not a number raises EConvertError
    qint64 AsInt64() const;
    double AsDouble() const;
    QDate AsDate() const;
    QDateTime AsDateTime() const;
    QByteArray AsBytes() const;

private:
    const TFbFieldDef* FDef = nullptr;
    TFbRecord FRecord;  // the row the value lies in (shared, not copied)
    int FIndex = 0;
};
