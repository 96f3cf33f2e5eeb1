#include "db/FbEngine.h"

#include <QtGlobal>

#ifndef Q_OS_WIN
#include <dlfcn.h>
#include <firebird/Interface.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtDebug>
#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

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

// The engine loads its plugins and reads its configuration from the root, so the root must be
// the user's alone: `path` is created with mode 0700 when missing (mkdir is atomic, so a folder
// somebody else creates first is found, never taken over), and an existing one is used only when
// it is a real folder (no link), owned by this user and closed to everybody else.
bool PrivateFolder(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST) return false;
    struct stat info{};
    if (::lstat(name.constData(), &info) != 0) return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 0077) == 0 &&
           (info.st_mode & 0700) == 0700;
}

// The user's engine root in the temporary folder; a fresh one of its own when the usual name is
// taken by a folder that fails the checks. Empty when not even that can be made.
QString EngineRoot() {
    const QString usual = QDir::tempPath() + "/zelscanfile-fbroot-" + QString::number(::geteuid());
    if (PrivateFolder(usual)) return usual;
    QByteArray fresh = QFile::encodeName(usual + "-XXXXXX");
    if (!::mkdtemp(fresh.data())) return {};
    qWarning().noquote() << "Firebird: la cartella" << usual
                         << "non è privata dell'utente; motore in" << QFile::decodeName(fresh);
    return QFile::decodeName(fresh);
}

}  // namespace

void PrepareSharedEmbeddedEngine() {
    if (qEnvironmentVariableIsSet("FIREBIRD")) return;
    const QString system = SystemFirebirdRoot();
    const QString root = EngineRoot();
    if (root.isEmpty()) return;  // the system's own root then: safe, without shared databases
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
