#pragma once
// One HTTP POST through libcurl, over http or https only: the given content type exactly (no charset added), no
// "Expect: 100-continue", no authorization, a connect time-out and a read time-out.
#include <QByteArray>
#include <QString>

// The product's time-outs for the exchange with the scan server.
constexpr int TimeoutConnessioneMs = 10000;
constexpr int TimeoutLetturaMs = 10000;

// POSTs `corpo` to `url` and returns the reply body decoded with the charset named by the
// reply's Content-Type (utf-8, iso-8859-1, windows-1252, utf-16...; ISO-8859-1 when none is named
// or the name is unknown). The read time-out ends the exchange when, once connected, no byte
// moves for that long. Raises Exception for network errors and for an address of another scheme
// with what the failure means in Italian (connection refused, name not found, time-out, TLS
// refused...) and, on the next line after "Dettaglio tecnico: ", libcurl's own message; with
// the status line as received (e.g. "HTTP/1.1 500 Internal Server Error") for a status outside 200-299.
QString HttpPost(const QString& url, const QByteArray& corpo, const QByteArray& contentType,
                 int connectTimeoutMs, int readTimeoutMs);
