// zeldemo --dir <folder>     builds the demo installation in <folder> and writes the program's INI
//                            file beside this executable
// zeldemo --verify <folder>  opens the demo databases and checks a few rows (exit 0 when all is well)
// with --server <host> --server-dir <folder>: the two databases live on that Firebird server, in
//                            that folder of it, and are created and opened through it
#include "db/Errore.h"
#include "tools/demo/Demo.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Builds and checks the ZelScanFile demo databases.");
    parser.addHelpOption();
    const QCommandLineOption dir("dir", "Builds the demo in <folder> and writes ParametriZelScan.ini beside zeldemo.",
                                 "folder");
    const QCommandLineOption verify("verify", "Checks the demo in <folder>.", "folder");
    const QCommandLineOption server("server", "The databases live on the Firebird server <host> (\"localhost/3051\").",
                                    "host");
    const QCommandLineOption serverDir("server-dir", "The server's folder for the databases.", "folder");
    parser.addOptions({dir, verify, server, serverDir});
    parser.process(app);
    if (parser.isSet(dir) == parser.isSet(verify)) {
        std::fprintf(stderr, "zeldemo: give either --dir <folder> or --verify <folder>\n");
        return 2;
    }
    if (parser.isSet(server) != parser.isSet(serverDir)) {
        std::fprintf(stderr, "zeldemo: --server and --server-dir go together\n");
        return 2;
    }
    const Demo::TDatabasesDemo databases{parser.value(server), parser.value(serverDir)};
    try {
        if (parser.isSet(dir)) {
            const QString folder = QDir(parser.value(dir)).absolutePath();
            Demo::Crea(folder, QCoreApplication::applicationDirPath(), databases);
            std::printf("zeldemo: demo built in %s, INI file %s/ParametriZelScan.ini\n"
                        "zeldemo: user database %s, archive %s\n",
                        qPrintable(folder), qPrintable(QCoreApplication::applicationDirPath()),
                        qPrintable(databases.Utenti(folder)), qPrintable(databases.Archivio(folder)));
            return 0;
        }
        const QStringList problems = Demo::Verifica(parser.value(verify), databases);
        for (const QString& p : problems) std::fprintf(stderr, "zeldemo: %s\n", qPrintable(p));
        if (problems.isEmpty()) std::printf("zeldemo: demo in %s is complete\n", qPrintable(parser.value(verify)));
        return problems.isEmpty() ? 0 : 1;
    } catch (const Exception& e) {
        std::fprintf(stderr, "zeldemo: %s\n", qPrintable(e.Message()));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zeldemo: %s\n", e.what());
    }
    return 1;
}
