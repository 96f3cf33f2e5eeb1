#pragma once
// Exceptions of the program: each carries one message text, shown to the user as it stands.
#include <QString>
#include <exception>

class Exception : public std::exception {
public:
    explicit Exception(QString message) : FMessage(std::move(message)), FUtf8(FMessage.toUtf8()) {}
    const QString& Message() const { return FMessage; }
    const char* what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

// An error reported by the Firebird client, with the text the client formats from its status vector.
class EDatabaseError : public Exception {
public:
    using Exception::Exception;
};

// A value that cannot be converted (JSON answer, number text, ...).
class EConvertError : public Exception {
public:
    using Exception::Exception;
};
