#include "app/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace karvex {

QString ResolveProgramFolder()
{
    const QString home = qEnvironmentVariable("KARVEX_HOME");
    if (!home.isEmpty()) {
        QDir().mkpath(home);
        return QDir::toNativeSeparators(QDir(home).absolutePath());
    }
    const QString exeFolder = QCoreApplication::applicationDirPath();
    if (QFileInfo(exeFolder).isWritable())
        return QDir::toNativeSeparators(exeFolder);
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dataFolder);
    return QDir::toNativeSeparators(dataFolder);
}

QString ResolveHelpFile(const QString& programFolder)
{
    const QString exeFolder = QCoreApplication::applicationDirPath();
    const QString candidates[] = {
        programFolder + "/help/index.html",
        exeFolder + "/help/index.html",
        exeFolder + "/../share/karvex/help/index.html",
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isFile())
            return QDir::toNativeSeparators(
                QDir::cleanPath(QFileInfo(candidate).absoluteFilePath()));
    }
    return QDir::toNativeSeparators(QDir::cleanPath(candidates[0]));
}

} // namespace karvex
