#include "db/FbEngine.h"

#include <QtGlobal>

#ifndef Q_OS_WIN
#include <dlfcn.h>
#include <firebird/Interface.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdlib>

namespace {

// Folder of the system's Firebird root, found beside the client library that is loaded.
QString SystemFirebirdRoot() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&Firebird::fb_get_master_interface), &info) && info.dli_fname) {
        const QString libDir = QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath();
        const QString root = libDir + "/firebird/3.0";
        if (QFileInfo::exists(root + "/plugins")) return root;
    }
    return QStringLiteral("/usr/lib/x86_64-linux-gnu/firebird/3.0");
}

// Several processes may prepare the root at the same moment (two test programs, the program and
// the scan server): each writes a temporary file of its own and renames it over the old one, so
// nobody ever sees a half-written file.
void ReplaceAtomically(const QString& path, const QByteArray& content) {
    QSaveFile out(path);
    if (out.open(QIODevice::WriteOnly)) {
        out.write(content);
        out.commit();
    }
}

}  // namespace

void PrepareSharedEmbeddedEngine() {
    if (qEnvironmentVariableIsSet("FIREBIRD")) return;
    const QString system = SystemFirebirdRoot();
    const QString root = QDir::tempPath() + "/zelscanfile-fbroot";
    QDir().mkpath(root);
    for (const char* item : {"UDF", "include", "lib", "plugins", "plugins.conf", "firebird.msg"}) {
        const QString link = root + "/" + item;
        if (!QFileInfo(link).exists() && QFileInfo::exists(system + "/" + item)) {
            QFile::remove(link);  // a dangling link from another installation
            QFile::link(system + "/" + item, link);
        }
    }
    // The character-set module is refused when it is a link that leads out of the root: copy it.
    const QString intl = root + "/intl";
    if (QFileInfo(intl).isSymLink()) QFile::remove(intl);
    QDir().mkpath(intl);
    if (!QFileInfo::exists(intl + "/fbintl.conf")) QFile::link(system + "/intl/fbintl.conf", intl + "/fbintl.conf");
    const QString module = intl + "/libfbintl.so";
    if (QFileInfo(module).size() != QFileInfo(system + "/intl/libfbintl.so").size()) {
        QFile source(system + "/intl/libfbintl.so");
        if (source.open(QIODevice::ReadOnly)) ReplaceAtomically(module, source.readAll());
    }
    const QString conf = root + "/firebird.conf";
    const QByteArray wanted = "# Written by ZelScanFile: lets several processes share embedded databases.\n"
                              "ServerMode = SuperClassic\n";
    QFile existing(conf);
    if (!existing.open(QIODevice::ReadOnly) || existing.readAll() != wanted) ReplaceAtomically(conf, wanted);
    qputenv("FIREBIRD", QFile::encodeName(root));
}
#else
void PrepareSharedEmbeddedEngine() {}
#endif
