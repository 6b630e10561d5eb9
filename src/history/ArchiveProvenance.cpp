#include "ArchiveProvenance.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTimeZone>

#include "HistoryTime.h"

namespace orvane {

namespace {

QString Pick(UiLanguage language, const char* english, const char* chinese) {
    return QString::fromUtf8(EffectiveLanguage(language) == UiLanguage::Chinese ? chinese
                                                                                : english);
}

QString RecordTime(double days) {
    if (days == 0) return QStringLiteral("-");
    return DateTimeFromDays(days).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString ImportTime(const QString& utcIso) {
    QDateTime at = QDateTime::fromString(utcIso, Qt::ISODate);
    if (!at.isValid()) return utcIso;
    if (at.timeSpec() == Qt::LocalTime) at.setTimeZone(QTimeZone::utc());
    return at.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString Summary(const ArchiveInfo& info, UiLanguage language) {
    return Pick(language, "%1 records from %2 imports, %3 unreadable lines; %4",
                "%1 条记录，来自 %2 次导入，%3 行时间无法读取；%4")
        .arg(info.records)
        .arg(info.imports.size())
        .arg(info.unreadable)
        .arg(info.location);
}

}  // namespace

ProvenanceTable DescribeProvenance(const ArchiveInfo& info, UiLanguage language) {
    ProvenanceTable table;
    table.columns = {Pick(language, "File", "文件"),
                     Pick(language, "Size", "大小"),
                     Pick(language, "First record", "最早记录"),
                     Pick(language, "Last record", "最晚记录"),
                     Pick(language, "Read", "读取"),
                     Pick(language, "Added", "新增"),
                     Pick(language, "Duplicates", "重复"),
                     Pick(language, "Unreadable", "无法读取"),
                     Pick(language, "Imported", "导入时间"),
                     Pick(language, "Station", "气象站"),
                     QStringLiteral("SHA-256")};
    for (const ArchiveImportInfo& i : info.imports)
        table.rows.push_back({i.fileName, QString::number(i.fileSize), RecordTime(i.firstTime),
                              RecordTime(i.lastTime), QString::number(i.rowsRead),
                              QString::number(i.added), QString::number(i.duplicates),
                              QString::number(i.unreadable), ImportTime(i.importedAt), i.station,
                              i.sha256});
    table.summary = Summary(info, language);
    return table;
}

bool ReadProvenance(const QString& location, UiLanguage language, ProvenanceTable& table,
                    QString& error) {
    if (!Archive::IsPostgresLocation(location) && !QFileInfo::exists(location)) {
        ArchiveInfo none;
        none.location = location;
        table = DescribeProvenance(none, language);
        table.summary = Pick(language, "No archive yet: %1", "尚无档案：%1").arg(location);
        return true;
    }
    std::unique_ptr<Archive> archive = Archive::Open(location, error);
    if (!archive) return false;
    ArchiveInfo info;
    if (!archive->Info(info)) {
        error = archive->LastError();
        return false;
    }
    table = DescribeProvenance(info, language);
    return true;
}

}  // namespace orvane
