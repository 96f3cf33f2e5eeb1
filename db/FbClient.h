#pragma once
// The Firebird client's entry points, shared by the data layer's classes.
#include <firebird/Interface.h>

#include <QString>

namespace FbClient {

Firebird::IMaster* Master();
Firebird::IUtil* Util();
Firebird::IProvider* Provider();

// Text the client formats from a status vector (the database's own message).
QString FormatStatus(const Firebird::IStatus* status);

// Runs `fn` with a throwing status wrapper and turns a client exception into EDatabaseError.
template <typename Fn>
auto Call(Fn&& fn) -> decltype(fn(std::declval<Firebird::ThrowStatusWrapper&>()));

}  // namespace FbClient

#include "db/Errore.h"

template <typename Fn>
auto FbClient::Call(Fn&& fn) -> decltype(fn(std::declval<Firebird::ThrowStatusWrapper&>())) {
    Firebird::ThrowStatusWrapper status(Master()->getStatus());
    struct Disposer {
        Firebird::ThrowStatusWrapper& s;
        ~Disposer() { s.dispose(); }
    } disposer{status};
    try {
        return fn(status);
    } catch (const Firebird::FbException& e) {
        throw EDatabaseError(FormatStatus(e.getStatus()));
    }
}
