#pragma once
// The scan server's answer to a re-send: status "0" means the send failed.
#include "app/server/Response.h"

#include <memory>

class TZelFileFromSrvResponse : public TResponse {
public:
    TZelFileFromSrvResponse() : TResponse(1) {}

    // True exactly when Status is the text "0" ("00" or " 0" are not errors).
    bool IsError() const { return Status() == QLatin1String("0"); }
    void SetError(const QString& messaggio);

    // The answer text as a response. Blank text and the literal null give no record (nullptr).
    // Raises EConvertError "The input value is not a valid Object" for anything that is not a
    // JSON object, and a conversion error naming the member when "Status" or "Messaggio" holds
    // true, false, an object or an array.
    static std::unique_ptr<TZelFileFromSrvResponse> FromJsonString(const QString& testo);
};
