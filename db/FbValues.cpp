#include "db/FbValues.h"

#include "db/Charset.h"
#include "db/FbClient.h"

#include <cstring>

using namespace Firebird;

namespace FbValues {

namespace {

template <typename T>
T Read(const char* message, unsigned offset) {
    T v;
    std::memcpy(&v, message + offset, sizeof v);
    return v;
}

template <typename T>
void Write(QByteArray& buf, unsigned offset, T v) {
    std::memcpy(buf.data() + offset, &v, sizeof v);
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
        const unsigned type = meta->getType(&st, i) & ~1u;
        d.Scale = meta->getScale(&st, i);
        d.SubType = meta->getSubType(&st, i);
        d.CharSet = int(meta->getCharSet(&st, i)) & 0xFF;
        d.Nullable = meta->isNullable(&st, i);
        d.Type = TypeOf(type, d.Scale, d.SubType);
        const unsigned length = meta->getLength(&st, i);
        d.SqlType = type;
        d.Offset = meta->getOffset(&st, i);
        d.NullOffset = meta->getNullOffset(&st, i);
        d.Length = length;
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

TFbRecord ReadRecord(ThrowStatusWrapper& st, IAttachment* att, ITransaction* tra, const char* message,
                     const TFbFieldDefs& defs) {
    TFbRow blobs;
    for (int i = 0; i < defs.size(); ++i) {
        const TFbFieldDef& d = defs[i];
        if (d.SqlType != SQL_BLOB || Read<short>(message, d.NullOffset) != 0) continue;
        if (blobs.isEmpty()) blobs.resize(defs.size());
        const QByteArray data = ReadBlob(st, att, tra, Read<ISC_QUAD>(message, d.Offset));
        blobs[i] = d.SubType == 1 ? QVariant(Charset::Decode(data, d.TextCharSet)) : QVariant(data);
    }
    return TFbRecord::FromMessage(message, defs, std::move(blobs));
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
