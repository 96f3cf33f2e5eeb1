#pragma once
// Conversion between Firebird message buffers and Qt values (data layer internals).
#include "db/FbField.h"

#include <firebird/Interface.h>

namespace FbValues {

// Fields of a result; untyped text is read in `connectionCharset`, the one statement texts are sent in.
// A text field in a character set without a converter raises EDatabaseError.
TFbFieldDefs DescribeFields(Firebird::ThrowStatusWrapper& st, Firebird::IMessageMetadata* meta, int connectionCharset);

// The row in the output message `message`, kept packed; blob values are read now, while the
// transaction that fetched the row is sure to be active.
TFbRecord ReadRecord(Firebird::ThrowStatusWrapper& st, Firebird::IAttachment* att, Firebird::ITransaction* tra,
                     const char* message, const TFbFieldDefs& defs);

// The input message of one execution: each value is sent in its own type and the server
// converts it to the parameter's type, so its own conversion errors reach the user.
class InputMessage {
public:
    InputMessage(Firebird::ThrowStatusWrapper& st, Firebird::IAttachment* att, Firebird::ITransaction* tra,
                 Firebird::IMessageMetadata* params, const TFbRow& values, int defaultCharset);
    ~InputMessage();
    Firebird::IMessageMetadata* Meta() const { return FMeta; }
    unsigned char* Buffer() { return FMeta ? reinterpret_cast<unsigned char*>(FBuffer.data()) : nullptr; }

private:
    Firebird::IMessageMetadata* FMeta = nullptr;
    QByteArray FBuffer;
};

}  // namespace FbValues
