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

} // namespace karvex
