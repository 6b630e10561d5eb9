#include <gtest/gtest.h>

#include <QDateTime>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimeZone>

#include "ArchiveProvenance.h"
#include "HistoryTime.h"

using namespace orvane;

namespace {

// Two imports into an SQLite archive: a file of three records, then an
// overlapping one that adds one new record and a line without a time.
void FillArchive(const QString& location) {
    QString error;
    std::unique_ptr<Archive> archive = Archive::Open(location, error);
    ASSERT_TRUE(archive) << error.toStdString();
    const auto add = [&](int minute) {
        HistoryRecord r;
        r.No = minute + 1;
        r.Time = DaysFromParts(2024, 3, 1, 9, minute, 0);
        r.OutTemp = 5.0f + static_cast<float>(minute);
        return archive->Add(r, "line");
    };
    ASSERT_TRUE(archive->Begin({"first.txt", 300, "aa11", {}}));
    for (int minute : {0, 1, 2}) ASSERT_TRUE(add(minute));
    ASSERT_TRUE(archive->Commit());
    ASSERT_TRUE(archive->Begin({"second.txt", 200, "bb22", {}}));
    for (int minute : {2, 3}) ASSERT_TRUE(add(minute));
    ASSERT_TRUE(archive->Add(HistoryRecord{}, "99,not a time"));
    ASSERT_TRUE(archive->Commit());
}

}  // namespace

TEST(ArchiveProvenance, ImportsAreListedOldestFirstWithTheirCounts) {
    QTemporaryDir dir;
    const QString location = dir.filePath("Archive.sqlite");
    FillArchive(location);

    ProvenanceTable t;
    QString error;
    ASSERT_TRUE(ReadProvenance(location, UiLanguage::English, t, error)) << error.toStdString();
    ASSERT_EQ(t.columns.size(), ProvenanceTable::kColumnCount);
    ASSERT_EQ(t.rows.size(), 2u);
    using C = ProvenanceTable;
    const QStringList& first = t.rows[0];
    const QStringList& second = t.rows[1];
    EXPECT_EQ(first[C::kFile], "first.txt");
    EXPECT_EQ(first[C::kSize], "300");
    EXPECT_EQ(first[C::kFirst], "2024-03-01 09:00:00");
    EXPECT_EQ(first[C::kLast], "2024-03-01 09:02:00");
    EXPECT_EQ(first[C::kAdded], "3");
    EXPECT_EQ(first[C::kStation], kDefaultArchiveStation);
    EXPECT_EQ(second[C::kFile], "second.txt");
    EXPECT_EQ(second[C::kRead], "3");
    EXPECT_EQ(second[C::kAdded], "1");
    EXPECT_EQ(second[C::kDuplicates], "1");
    EXPECT_EQ(second[C::kUnreadable], "1");
    EXPECT_EQ(second[C::kStation], kDefaultArchiveStation);
    EXPECT_EQ(second[C::kSha256], "bb22");
    // The import happened just now, shown in local time.
    const QDateTime at =
        QDateTime::fromString(second[C::kImportedAt], QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    ASSERT_TRUE(at.isValid()) << second[C::kImportedAt].toStdString();
    EXPECT_LE(std::abs(at.secsTo(QDateTime::currentDateTime())), 120);
    EXPECT_TRUE(t.summary.startsWith("4 records from 2 imports, 1 unreadable lines"))
        << t.summary.toStdString();
}

// Rendering only: a file without readable records, a UTC time stamp, and
// the Chinese captions.
TEST(ArchiveProvenance, EmptyFilesAndChineseCaptions) {
    ArchiveInfo info;
    info.location = "/data/Archive.sqlite";
    ArchiveImportInfo none;
    none.fileName = "empty.txt";
    none.importedAt = "2024-03-01T12:00:00Z";
    info.imports.push_back(none);
    const ProvenanceTable t = DescribeProvenance(info, UiLanguage::Chinese);
    ASSERT_EQ(t.rows.size(), 1u);
    EXPECT_EQ(t.rows[0][ProvenanceTable::kFirst], "-");
    EXPECT_EQ(t.rows[0][ProvenanceTable::kLast], "-");
    const QDateTime utc(QDate(2024, 3, 1), QTime(12, 0), QTimeZone::utc());
    EXPECT_EQ(t.rows[0][ProvenanceTable::kImportedAt],
              utc.toLocalTime().toString("yyyy-MM-dd HH:mm:ss"));
    EXPECT_EQ(t.columns[ProvenanceTable::kFile], QString::fromUtf8("文件"));
    EXPECT_TRUE(t.summary.contains("/data/Archive.sqlite"));
}

// Looking at the provenance must not create an archive where there is none.
TEST(ArchiveProvenance, MissingArchiveIsReportedNotCreated) {
    QTemporaryDir dir;
    const QString location = dir.filePath("Archive.sqlite");
    ProvenanceTable t;
    QString error;
    ASSERT_TRUE(ReadProvenance(location, UiLanguage::English, t, error));
    EXPECT_TRUE(t.rows.empty());
    EXPECT_TRUE(t.summary.startsWith("No archive yet")) << t.summary.toStdString();
    EXPECT_FALSE(QFileInfo::exists(location));
}
