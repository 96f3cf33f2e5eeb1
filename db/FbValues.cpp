#include "db/FbValues.h"

#include "db/Charset.h"
#include "db/Decimale.h"
#include "db/FbClient.h"

#include <cstring>

using namespace Firebird;

namespace FbValues {

namespace {

template <typename T>
T Read(const QByteArray& buf, unsigned offset) {
    T v;
    std::memcpy(&v, buf.constData() + offset, sizeof v);
    return v;
}

template <typename T>
void Write(QByteArray& buf, unsigned offset, T v) {
    std::memcpy(buf.data() + offset, &v, sizeof v);
}

QDate DecodeDate(ISC_DATE d) {
    unsigned y, m, day;
    FbClient::Util()->decodeDate(d, &y, &m, &day);
    return QDate(int(y), int(m), int(day));
}

QTime DecodeTime(ISC_TIME t) {
    unsigned h, mi, s, frac;
    FbClient::Util()->decodeTime(t, &h, &mi, &s, &frac);
    return QTime(int(h), int(mi), int(s), int(frac / 10));
}

ISC_DATE EncodeDate(const QDate& d) { return FbClient::Util()->encodeDate(unsigned(d.year()), unsigned(d.month()), unsigned(d.day())); }

ISC_TIME EncodeTime(const QTime& t) {
    return FbClient::Util()->encodeTime(unsigned(t.hour()), unsigned(t.minute()), unsigned(t.second()), unsigned(t.msec()) * 10);
}

QByteArray ReadBlob(ThrowStatusWrapper& st, IAttachment* att, ITransaction* tra, ISC_QUAD id) {
    IBlob* blob = att->openBlob(&st, tra, &id, 0, nullptr);
    QByteArray data;
    try {
        char segment[32768];
        unsigned len = 0;
        for (;;) {
            const int r = blob->getSegment(&st, sizeof segment, segment, &len);
            if (r == IStatus::RESULT_OK || r == IStatus::RESULT_SEGMENT) data.append(segment, int(len));
            else break;
        }
        blob->close(&st);
    } catch (...) {
        blob->release();
        throw;
    }
    return data;
}

ISC_QUAD WriteBlob(ThrowStatusWrapper& st, IAttachment* att, ITransaction* tra, const QByteArray& data) {
    ISC_QUAD id{};
    IBlob* blob = att->createBlob(&st, tra, &id, 0, nullptr);
    try {
        for (int pos = 0; pos < data.size(); pos += 32768) {
            const int len = qMin(32768, int(data.size()) - pos);
            blob->putSegment(&st, unsigned(len), data.constData() + pos);
        }
        blob->close(&st);
    } catch (...) {
        blob->release();
        throw;
    }
    return id;
}

TFbFieldType TypeOf(unsigned sqlType, int scale, int subType) {
    switch (sqlType) {
    case SQL_SHORT: return scale < 0 ? TFbFieldType::Numeric : TFbFieldType::Smallint;
    case SQL_LONG: return scale < 0 ? TFbFieldType::Numeric : TFbFieldType::Integer;
    case SQL_INT64: return scale < 0 ? TFbFieldType::Numeric : TFbFieldType::Largeint;
    case SQL_FLOAT: return TFbFieldType::Float;
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return TFbFieldType::Double;
    case SQL_TEXT: return TFbFieldType::FixedChar;
    case SQL_VARYING: return TFbFieldType::String;
    case SQL_TYPE_DATE: return TFbFieldType::Date;
    case SQL_TYPE_TIME: return TFbFieldType::Time;
    case SQL_TIMESTAMP: return TFbFieldType::TimeStamp;
    case SQL_BLOB: return subType == 1 ? TFbFieldType::Memo : TFbFieldType::Blob;
    case SQL_BOOLEAN: return TFbFieldType::Boolean;
    default: return TFbFieldType::Unknown;
    }
}

// A scaled integer (NUMERIC, DECIMAL) as its exact decimal text.
QVariant Scaled(qint64 raw, int scale) {
    if (scale >= 0) return QVariant::fromValue(raw);
    return QVariant(TestoDecimale(raw, -scale));
}

}  // namespace

TFbFieldDefs DescribeFields(ThrowStatusWrapper& st, IMessageMetadata* meta, int connectionCharset) {
    TFbFieldDefs defs;
    const unsigned count = meta->getCount(&st);
    defs.reserve(int(count));
    for (unsigned i = 0; i < count; ++i) {
        TFbFieldDef d;
        d.Name = QString::fromUtf8(meta->getAlias(&st, i));
        d.FieldName = QString::fromUtf8(meta->getField(&st, i));
        d.Relation = QString::fromUtf8(meta->getRelation(&st, i));
        if (d.Name.isEmpty()) d.Name = d.FieldName;
        if (!d.Relation.isEmpty()) d.Origin = QuotedIdentifier(d.Relation) + '.' + QuotedIdentifier(d.FieldName);
        const unsigned type = meta->getType(&st, i);
        d.Scale = meta->getScale(&st, i);
        d.SubType = meta->getSubType(&st, i);
        d.CharSet = int(meta->getCharSet(&st, i)) & 0xFF;
        d.Nullable = meta->isNullable(&st, i);
        d.Type = TypeOf(type, d.Scale, d.SubType);
        const unsigned length = meta->getLength(&st, i);
        const bool text = type == SQL_TEXT || type == SQL_VARYING;
        d.Size = text ? int(length) / Charset::BytesPerChar(d.CharSet) : int(length);
        // untyped text (literals, CAST without CHARACTER SET) comes back as it was sent
        d.TextCharSet = d.CharSet == Charset::None ? connectionCharset : d.CharSet;
        if ((text || (type == SQL_BLOB && d.SubType == 1)) && d.CharSet != Charset::Octets) {
            try {
                Charset::CheckConverter(d.TextCharSet);
            } catch (const EDatabaseError& e) {
                throw EDatabaseError(QString("Campo %1:\n%2").arg(d.Name, e.Message()));
            }
        }
        defs << d;
    }
    return defs;
}

TFbRow DecodeRow(ThrowStatusWrapper& st, IAttachment* att, ITransaction* tra, IMessageMetadata* meta,
                 const QByteArray& buf, const TFbFieldDefs& defs) {
    TFbRow row;
    const unsigned count = meta->getCount(&st);
    row.reserve(int(count));
    for (unsigned i = 0; i < count; ++i) {
        if (Read<short>(buf, meta->getNullOffset(&st, i)) != 0) {
            row << QVariant();
            continue;
        }
        const unsigned off = meta->getOffset(&st, i);
        const TFbFieldDef& d = defs[int(i)];
        switch (meta->getType(&st, i)) {
        case SQL_SHORT: row << (d.Scale < 0 ? Scaled(Read<short>(buf, off), d.Scale) : QVariant(int(Read<short>(buf, off)))); break;
        case SQL_LONG: row << (d.Scale < 0 ? Scaled(Read<int>(buf, off), d.Scale) : QVariant(Read<int>(buf, off))); break;
        case SQL_INT64: row << Scaled(Read<qint64>(buf, off), d.Scale); break;
        case SQL_FLOAT: row << QVariant(double(Read<float>(buf, off))); break;
        case SQL_DOUBLE:
        case SQL_D_FLOAT: row << QVariant(Read<double>(buf, off)); break;
        case SQL_BOOLEAN: row << QVariant(buf.at(int(off)) != 0); break;
        case SQL_TEXT: {
            const QByteArray bytes(buf.constData() + off, int(meta->getLength(&st, i)));
            if (d.CharSet == Charset::Octets) { row << QVariant(bytes); break; }
            QString s = Charset::Decode(bytes, d.TextCharSet);
            // multi-byte sets pad to the byte length; keep the declared number of characters
            if (s.size() > d.Size) s.truncate(d.Size);
            row << QVariant(s);
            break;
        }
        case SQL_VARYING: {
            const unsigned short len = Read<unsigned short>(buf, off);
            const QByteArray bytes(buf.constData() + off + 2, len);
            row << (d.CharSet == Charset::Octets ? QVariant(bytes) : QVariant(Charset::Decode(bytes, d.TextCharSet)));
            break;
        }
        case SQL_TYPE_DATE: row << QVariant(DecodeDate(Read<ISC_DATE>(buf, off))); break;
        case SQL_TYPE_TIME: row << QVariant(DecodeTime(Read<ISC_TIME>(buf, off))); break;
        case SQL_TIMESTAMP: {
            const auto ts = Read<ISC_TIMESTAMP>(buf, off);
            row << QVariant(QDateTime(DecodeDate(ts.timestamp_date), DecodeTime(ts.timestamp_time)));
            break;
        }
        case SQL_BLOB: {
            const QByteArray data = ReadBlob(st, att, tra, Read<ISC_QUAD>(buf, off));
            row << (d.SubType == 1 ? QVariant(Charset::Decode(data, d.TextCharSet)) : QVariant(data));
            break;
        }
        default: row << QVariant(); break;
        }
    }
    return row;
}

InputMessage::InputMessage(ThrowStatusWrapper& st, IAttachment* att, ITransaction* tra, IMessageMetadata* params,
                           const TFbRow& values, int defaultCharset) {
    const unsigned count = params->getCount(&st);
    if (count == 0) return;
    IMetadataBuilder* builder = params->getBuilder(&st);
    try {
        for (unsigned i = 0; i < count; ++i) {
            const QVariant& v = values[int(i)];
            const unsigned declared = params->getType(&st, i) & ~1u;
            int cs = int(params->getCharSet(&st, i)) & 0xFF;
            if (cs == Charset::None) cs = defaultCharset;
            if (!v.isValid() || v.isNull() || declared == SQL_BLOB) continue;  // sent in the declared type
            switch (v.typeId()) {
            case QMetaType::Bool:
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::Short:
            case QMetaType::UShort:
            case QMetaType::Long:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
                builder->setType(&st, i, SQL_INT64 + 1);
                builder->setScale(&st, i, 0);
                builder->setLength(&st, i, sizeof(qint64));
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                builder->setType(&st, i, SQL_DOUBLE + 1);
                builder->setScale(&st, i, 0);
                builder->setLength(&st, i, sizeof(double));
                break;
            case QMetaType::QDate:
                builder->setType(&st, i, SQL_TYPE_DATE + 1);
                builder->setLength(&st, i, sizeof(ISC_DATE));
                break;
            case QMetaType::QTime:
                builder->setType(&st, i, SQL_TYPE_TIME + 1);
                builder->setLength(&st, i, sizeof(ISC_TIME));
                break;
            case QMetaType::QDateTime:
                builder->setType(&st, i, SQL_TIMESTAMP + 1);
                builder->setLength(&st, i, sizeof(ISC_TIMESTAMP));
                break;
            case QMetaType::QByteArray:
                builder->setType(&st, i, SQL_VARYING + 1);
                builder->setCharSet(&st, i, Charset::Octets);
                builder->setLength(&st, i, unsigned(qMax<qsizetype>(1, v.toByteArray().size())));
                break;
            default: {
                const QByteArray bytes = Charset::Encode(v.toString(), cs);
                builder->setType(&st, i, SQL_VARYING + 1);
                builder->setCharSet(&st, i, unsigned(cs));
                builder->setLength(&st, i, unsigned(qMax<qsizetype>(1, bytes.size())));
                break;
            }
            }
        }
        FMeta = builder->getMetadata(&st);
        builder->release();
    } catch (...) {
        builder->release();
        throw;
    }
    FBuffer = QByteArray(int(FMeta->getMessageLength(&st)), 0);
    for (unsigned i = 0; i < count; ++i) {
        const QVariant& v = values[int(i)];
        const unsigned off = FMeta->getOffset(&st, i);
        const bool isNull = !v.isValid() || v.isNull();
        Write<short>(FBuffer, FMeta->getNullOffset(&st, i), isNull ? -1 : 0);
        if (isNull) continue;
        const unsigned type = FMeta->getType(&st, i) & ~1u;
        int cs = int(FMeta->getCharSet(&st, i)) & 0xFF;
        if (cs == Charset::None) cs = defaultCharset;
        switch (type) {
        case SQL_INT64: Write<qint64>(FBuffer, off, v.toLongLong()); break;
        case SQL_DOUBLE: Write<double>(FBuffer, off, v.toDouble()); break;
        case SQL_TYPE_DATE: Write<ISC_DATE>(FBuffer, off, EncodeDate(v.toDate())); break;
        case SQL_TYPE_TIME: Write<ISC_TIME>(FBuffer, off, EncodeTime(v.toTime())); break;
        case SQL_TIMESTAMP: {
            const QDateTime dt = v.toDateTime();
            ISC_TIMESTAMP ts{EncodeDate(dt.date()), EncodeTime(dt.time())};
            Write<ISC_TIMESTAMP>(FBuffer, off, ts);
            break;
        }
        case SQL_VARYING: {
            const QByteArray bytes = v.typeId() == QMetaType::QByteArray ? v.toByteArray() : Charset::Encode(v.toString(), cs);
            Write<unsigned short>(FBuffer, off, static_cast<unsigned short>(bytes.size()));
            std::memcpy(FBuffer.data() + off + 2, bytes.constData(), size_t(bytes.size()));
            break;
        }
        case SQL_BLOB: {
            const bool text = FMeta->getSubType(&st, i) == 1 && v.typeId() != QMetaType::QByteArray;
            const QByteArray bytes = text ? Charset::Encode(v.toString(), cs) : v.toByteArray();
            Write<ISC_QUAD>(FBuffer, off, WriteBlob(st, att, tra, bytes));
            break;
        }
        default:
            throw EDatabaseError(QString("Tipo di parametro %1 non supportato").arg(type));
        }
    }
}

InputMessage::~InputMessage() {
    if (FMeta) FMeta->release();
}

}  // namespace FbValues
