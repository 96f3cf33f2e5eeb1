#pragma once
// The exchange of a re-send, with no window: posts the request to the scan server and turns
// whatever happens into a response. Safe to run on a worker thread; never raises.
#include "app/server/HttpPost.h"
#include "app/server/ZelFile.FromSrv.Request.h"
#include "app/server/ZelFile.FromSrv.Response.h"

#include <memory>

// The path of the re-send service, appended to the server's base address as it stands.
inline constexpr char PercorsoFromSrv[] = "/ZelFile/FromSrv";

// A reply that names no record (blank text or the literal null) is a failed send with this message.
inline constexpr char MessaggioRispostaNulla[] = "Risposta del server non valida (vuota o null)";

// The server's answer, or a response with Status "0" and the failure's message: the connection
// error, the status line of a reply outside 200-299, "Nessuna risposta" for an empty body, the
// conversion error of the answer, or MessaggioRispostaNulla.
std::unique_ptr<TZelFileFromSrvResponse> EseguiInvioFromSrv(const TZelFileFromSrvRequest& richiesta, const QString& url,
                                                            int connectTimeoutMs = TimeoutConnessioneMs,
                                                            int readTimeoutMs = TimeoutLetturaMs) noexcept;
