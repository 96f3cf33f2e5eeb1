#pragma once
// One row as the data layer keeps it: the scalar values packed as the server sent them, each decoded
// only when it is read, so fetching many rows costs one small buffer a row.
#include "db/FbFieldDef.h"

#include <QByteArray>

class TFbRecord {
public:
    TFbRecord() = default;  // every value NULL

    // Packs the output message `message`, laid out as `defs` describe. `blobs` holds the values of the
    // blob fields, read while the row was fetched (empty when the row has none).
    static TFbRecord FromMessage(const char* message, const TFbFieldDefs& defs, TFbRow blobs);
    // A row the program wrote: its values as they stand.
    static TFbRecord FromValues(TFbRow values);

    bool IsNull(int index) const;
    // The value as a QVariant (the types TFbRow documents).
    QVariant Value(const TFbFieldDef& def, int index) const;
    // The value as the user reads it (TestoValore of Value), without building the QVariant.
    QString Text(const TFbFieldDef& def, int index) const;
    // An integer field's value without a QVariant; false when the field holds no integer.
    bool Integer(const TFbFieldDef& def, int index, qint64* value) const;
    TFbRow Values(const TFbFieldDefs& defs) const;

private:
    int Count() const;
    const char* Slot(int index) const;
    QString DecodedText(const TFbFieldDef& def, int index) const;
    QByteArray RawBytes(int index) const;

    // Packed form: the number of fields, a null flag per field, an 8-byte slot per field (the value
    // itself, or offset and length of its bytes), then the bytes of the text values.
    QByteArray FPacked;
    TFbRow FValues;  // blob values; every value when the row was written by the program (FPacked empty)
};
