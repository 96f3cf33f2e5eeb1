#include "bench/datalayer/Isql.h"

#include "bench/datalayer/Misure.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryFile>
#include <stdexcept>

qint64 TempoIsql(const QString& database, const QStringList& statements, int runs) {
    QTemporaryFile script;
    if (!script.open()) throw std::runtime_error("cannot write the isql-fb script");
    script.write((statements.join('\n') + '\n').toUtf8());
    script.close();
    QVector<qint64> samples;
    for (int i = 0; i < runs; ++i) {
        QProcess isql;
        isql.setStandardOutputFile(QProcess::nullDevice());
        isql.setStandardInputFile(QProcess::nullDevice());
        QElapsedTimer t;
        t.start();
        isql.start("isql-fb", {"-q", "-b", "-ch", "UTF8", "-user", "SYSDBA", "-password", "quillbent", "-i",
                               script.fileName(), database});
        if (!isql.waitForFinished(600000) || isql.exitStatus() != QProcess::NormalExit || isql.exitCode() != 0)
            throw std::runtime_error("isql-fb failed: " + isql.readAllStandardError().toStdString());
        samples << t.nsecsElapsed();
    }
    return Mediana(samples);
}
