#include "db/FbClient.h"

#include "db/FbEngine.h"

#include <mutex>

namespace FbClient {

Firebird::IMaster* Master() {
    static Firebird::IMaster* master = [] {
        PrepareSharedEmbeddedEngine();
        return Firebird::fb_get_master_interface();
    }();
    return master;
}

Firebird::IUtil* Util() { return Master()->getUtilInterface(); }

Firebird::IProvider* Provider() {
    static Firebird::IProvider* provider = Master()->getDispatcher();
    return provider;
}

QString FormatStatus(const Firebird::IStatus* status) {
    char buffer[2048];
    Util()->formatStatus(buffer, sizeof buffer, const_cast<Firebird::IStatus*>(status));
    return QString::fromLocal8Bit(buffer).trimmed();
}

}  // namespace FbClient
