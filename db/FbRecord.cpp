#include "db/FbRecord.h"

#include "db/Charset.h"
#include "db/Decimale.h"
#include "db/TestoValore.h"

#include <firebird/Interface.h>

#include <QDateTime>
#include <QVarLengthArray>
#include <cstring>

namespace {

constexpr int kHeader = 4;  // the number of fields
constexpr int kSlot = 8;    // bytes of a field's slot: the largest scalar (BIGINT, DOUBLE, TIMESTAMP)

template <typename T>
T Read(const char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// ISC_DATE counts days from 17 November 1858; ISC_TIME counts tenths of a millisecond.
QDate DecodeDate(ISC_DATE d) { return QDate::fromJulianDay(qint64(d) + 2400001); }
QTime DecodeTime(ISC_TIME t) { return QTime::fromMSecsSinceStartOfDay(int(t / 10)); }

bool IsText(unsigned sqlType) { return sqlType == SQL_TEXT || sqlType == SQL_VARYING; }

// Bytes of a text value as the message holds them; CHAR loses its trailing pad, put back when read.
QByteArrayView TextBytes(const char* message, const TFbFieldDef& d) {
    if (d.SqlType == SQL_VARYING) return {message + d.Offset + 2, Read<unsigned short>(message + d.Offset)};
    qsizetype len = d.Length;
    if (d.CharSet != Charset::Octets)
        while (len > 0 && message[d.Offset + len - 1] == ' ') --len;
    return {message + d.Offset, len};
}

qint64 ReadInteger(const char* slot, unsigned sqlType) {
    switch (sqlType) {
    case SQL_SHORT: return Read<short>(slot);
    case SQL_LONG: return Read<int>(slot);
    default: return Read<qint64>(slot);
    }
}

bool IsInteger(unsigned sqlType) { return sqlType == SQL_SHORT || sqlType == SQL_LONG || sqlType == SQL_INT64; }

}  // namespace

TFbRecord TFbRecord::FromMessage(const char* message, const TFbFieldDefs& defs, TFbRow blobs) {
    const int count = int(defs.size());
    QVarLengthArray<QByteArrayView, 32> texts(count);
    qsizetype size = kHeader + qsizetype(count) * (1 + kSlot);
    for (int i = 0; i < count; ++i) {
        const TFbFieldDef& d = defs[i];
        if (IsText(d.SqlType) && Read<short>(message + d.NullOffset) == 0) {
            texts[i] = TextBytes(message, d);
            size += texts[i].size();
        }
    }
    TFbRecord r;
    r.FValues = std::move(blobs);
    r.FPacked = QByteArray(size, Qt::Uninitialized);
    char* out = r.FPacked.data();
    const quint32 n = quint32(count);
    std::memcpy(out, &n, kHeader);
    char* nulls = out + kHeader;
    char* values = nulls + count;
    quint32 tail = quint32(kHeader + qsizetype(count) * (1 + kSlot));
    for (int i = 0; i < count; ++i) {
        const TFbFieldDef& d = defs[i];
        char* slot = values + qsizetype(i) * kSlot;
        const bool isNull = Read<short>(message + d.NullOffset) != 0;
        nulls[i] = isNull ? 1 : 0;
        if (isNull) continue;
        if (IsText(d.SqlType)) {
            const quint32 len = quint32(texts[i].size());
            std::memcpy(slot, &tail, 4);
            std::memcpy(slot + 4, &len, 4);
            if (len) std::memcpy(out + tail, texts[i].data(), len);
            tail += len;
        } else if (d.SqlType != SQL_BLOB) {
            std::memcpy(slot, message + d.Offset, qMin<unsigned>(d.Length, kSlot));
        }
    }
    return r;
}

TFbRecord TFbRecord::FromValues(TFbRow values) {
    TFbRecord r;
    r.FValues = std::move(values);
    return r;
}

int TFbRecord::Count() const { return FPacked.isEmpty() ? 0 : int(Read<quint32>(FPacked.constData())); }

const char* TFbRecord::Slot(int index) const { return FPacked.constData() + kHeader + Count() + qsizetype(index) * kSlot; }

bool TFbRecord::IsNull(int index) const {
    if (FPacked.isEmpty()) {
        const QVariant v = FValues.value(index);
        return !v.isValid() || v.isNull();
    }
    return index < 0 || index >= Count() || FPacked.constData()[kHeader + index] != 0;
}

QString TFbRecord::DecodedText(const TFbFieldDef& d, int index) const {
    const char* slot = Slot(index);
    const char* bytes = FPacked.constData() + Read<quint32>(slot);
    const qsizetype len = Read<quint32>(slot + 4);
    QString s = Charset::Decode(bytes, len, d.TextCharSet);
    if (d.SqlType == SQL_TEXT) {
        // the pad dropped at packing, up to the declared number of characters
        const qsizetype pad = qMin<qsizetype>(qsizetype(d.Length) - len, qsizetype(d.Size) - s.size());
        if (pad > 0) s.append(QString(pad, ' '));
        else if (s.size() > d.Size) s.truncate(d.Size);
    }
    return s;
}

QByteArray TFbRecord::RawBytes(int index) const {
    const char* slot = Slot(index);
    return QByteArray(FPacked.constData() + Read<quint32>(slot), Read<quint32>(slot + 4));
}

QVariant TFbRecord::Value(const TFbFieldDef& d, int index) const {
    if (FPacked.isEmpty() || d.SqlType == SQL_BLOB) return FValues.value(index);
    if (IsNull(index)) return QVariant();
    const char* slot = Slot(index);
    switch (d.SqlType) {
    case SQL_SHORT:
    case SQL_LONG:
        if (d.Scale < 0) return TestoDecimale(ReadInteger(slot, d.SqlType), -d.Scale);
        return int(ReadInteger(slot, d.SqlType));
    case SQL_INT64:
        if (d.Scale < 0) return TestoDecimale(Read<qint64>(slot), -d.Scale);
        return QVariant::fromValue(Read<qint64>(slot));
    case SQL_FLOAT: return double(Read<float>(slot));
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return Read<double>(slot);
    case SQL_BOOLEAN: return slot[0] != 0;
    case SQL_TEXT:
    case SQL_VARYING:
        if (d.CharSet == Charset::Octets) return RawBytes(index);
        return DecodedText(d, index);
    case SQL_TYPE_DATE: return DecodeDate(Read<ISC_DATE>(slot));
    case SQL_TYPE_TIME: return DecodeTime(Read<ISC_TIME>(slot));
    case SQL_TIMESTAMP: {
        const auto ts = Read<ISC_TIMESTAMP>(slot);
        return QDateTime(DecodeDate(ts.timestamp_date), DecodeTime(ts.timestamp_time));
    }
    default: return QVariant();
    }
}

QString TFbRecord::Text(const TFbFieldDef& d, int index) const {
    if (FPacked.isEmpty() || d.SqlType == SQL_BLOB) return TestoValore(FValues.value(index));
    if (IsNull(index)) return QString();
    const char* slot = Slot(index);
    switch (d.SqlType) {
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64: {
        const qint64 v = ReadInteger(slot, d.SqlType);
        return d.Scale < 0 ? TestoDecimale(v, -d.Scale) : QString::number(v);
    }
    case SQL_FLOAT: return TestoDouble(double(Read<float>(slot)));
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return TestoDouble(Read<double>(slot));
    case SQL_BOOLEAN: return TestoBooleano(slot[0] != 0);
    case SQL_TEXT:
    case SQL_VARYING:
        if (d.CharSet == Charset::Octets) return QString::fromLatin1(RawBytes(index));
        return DecodedText(d, index);
    case SQL_TYPE_DATE: return TestoData(DecodeDate(Read<ISC_DATE>(slot)));
    case SQL_TYPE_TIME: return TestoOra(DecodeTime(Read<ISC_TIME>(slot)));
    case SQL_TIMESTAMP: {
        const auto ts = Read<ISC_TIMESTAMP>(slot);
        return TestoDataOra(DecodeDate(ts.timestamp_date), DecodeTime(ts.timestamp_time));
    }
    default: return QString();
    }
}

bool TFbRecord::Integer(const TFbFieldDef& d, int index, qint64* value) const {
    if (FPacked.isEmpty() || !IsInteger(d.SqlType) || d.Scale < 0 || IsNull(index)) return false;
    *value = ReadInteger(Slot(index), d.SqlType);
    return true;
}

TFbRow TFbRecord::Values(const TFbFieldDefs& defs) const {
    if (FPacked.isEmpty()) {
        TFbRow row = FValues;
        row.resize(defs.size());
        return row;
    }
    TFbRow row;
    row.reserve(defs.size());
    for (int i = 0; i < defs.size(); ++i) row << Value(defs[i], i);
    return row;
}
