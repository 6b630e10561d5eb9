#include "DataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace orvane {

QString DefaultDataFolder() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/Orvane");
}

QString FindProgramDataDir(const QStringList& candidates) {
    for (const QString& dir : candidates)
        if (!dir.isEmpty() && QFileInfo::exists(dir + u'/' + QLatin1String(kIniFileName)))
            return QDir::cleanPath(dir);
    return QString();
}

DataFolderResult ProvideDataFolder(const QString& programDataDir, const QString& dataFolder) {
    DataFolderResult result;
    if (!QDir().mkpath(dataFolder)) {
        result.problem = QStringLiteral(
                             "The data folder %1 cannot be created; settings and "
                             "history cannot be kept.")
                             .arg(QDir::toNativeSeparators(dataFolder));
        return result;
    }
    result.folderReady = true;
    QStringList missing;
    for (const char* name : {kDatabaseFileName, kIniFileName}) {
        const QString target = dataFolder + u'/' + QLatin1String(name);
        if (QFileInfo::exists(target)) continue;
        const QString source = programDataDir + u'/' + QLatin1String(name);
        if (!programDataDir.isEmpty() && QFile::copy(source, target))
            result.copied << QLatin1String(name);
        else
            missing << QLatin1String(name);
    }
    const QString ini = dataFolder + u'/' + QLatin1String(kIniFileName);
    if (QFileInfo::exists(ini)) {
        QFile::setPermissions(ini, QFile::permissions(ini) | QFile::WriteOwner | QFile::ReadOwner);
    }
    if (!missing.isEmpty())
        result.problem =
            QStringLiteral("%1 could not be placed in the data folder %2.")
                .arg(missing.join(QStringLiteral(" and ")), QDir::toNativeSeparators(dataFolder));
    return result;
}

}  // namespace orvane
