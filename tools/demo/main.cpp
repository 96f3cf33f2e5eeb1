// zeldemo --dir <folder>     builds the demo installation in <folder> and writes the program's INI
//                            file beside this executable
// zeldemo --verify <folder>  opens the demo databases and checks a few rows (exit 0 when all is well)
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
    parser.addOptions({dir, verify});
    parser.process(app);
    if (parser.isSet(dir) == parser.isSet(verify)) {
        std::fprintf(stderr, "zeldemo: give either --dir <folder> or --verify <folder>\n");
        return 2;
    }
    try {
        if (parser.isSet(dir)) {
            const QString folder = QDir(parser.value(dir)).absolutePath();
            Demo::Crea(folder, QCoreApplication::applicationDirPath());
            std::printf("zeldemo: demo built in %s, INI file %s/ParametriZelScan.ini\n", qPrintable(folder),
                        qPrintable(QCoreApplication::applicationDirPath()));
            return 0;
        }
        const QStringList problems = Demo::Verifica(parser.value(verify));
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
