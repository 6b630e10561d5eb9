#include <gtest/gtest.h>

#include "SdCardProtocol.h"

using namespace orvane;

TEST(SdCardFileList, NamesEndAtAmpersandsAndTheTerminatorIsIgnored) {
    EXPECT_EQ(ParseFileList("SDcard file:File<A.CSV&B.CSV&>\r\n@"),
              QStringList({"A.CSV", "B.CSV"}));
    // A name with no "&" after it is not a name.
    EXPECT_EQ(ParseFileList("SDcard file:File<A.CSV>@"), QStringList());
    EXPECT_EQ(ParseFileList("SDcard file:File<A.CSV&B.CSV>@"), QStringList({"A.CSV"}));
    // An "&" alone names no file; neither do doubled separators.
    EXPECT_EQ(ParseFileList("SDcard file:File<&>@"), QStringList());
    EXPECT_EQ(ParseFileList("SDcard file:File<A.CSV&&B.CSV&>@"), QStringList({"A.CSV", "B.CSV"}));
    // A reply split over reports keeps its names whole.
    EXPECT_EQ(ParseFileList("SDcard file:File<20130501.CSV&2013"
                            "0502.CSV&>@"),
              QStringList({"20130501.CSV", "20130502.CSV"}));
}

TEST(SdCardFileList, HoldsAtMostAThousandNames) {
    QString reply = "SDcard file:File<";
    for (int i = 0; i < 1005; ++i) reply += QString("F%1.CSV&").arg(i);
    reply += ">@";
    const QStringList names = ParseFileList(reply);
    ASSERT_EQ(names.size(), kMaxListedFiles);
    EXPECT_EQ(names.last(), "F999.CSV");
}

TEST(SdCardFileSize, ShownInKilobytesUpToAThousandThenMegabytes) {
    EXPECT_EQ(FormatFileSize(2048), "2.00KB");
    EXPECT_EQ(FormatFileSize(2000000), "1.91MB");
    EXPECT_EQ(FormatFileSize(1024000), "1000.00KB");
    EXPECT_EQ(FormatFileSize(0), "0.00KB");

    EXPECT_EQ(ParseFileSizeReply("File Size:File<size=2048>"), 2048);
    EXPECT_EQ(ParseFileSizeReply("File Size:File<size=>"), 0);
    EXPECT_EQ(ParseFileSizeReply("File Size:nothing"), std::nullopt);
}

TEST(SdCardDownloadHeader, TotalBetweenEqualsAndBracketDataAfterTheBracket) {
    ReadFileHeader h = ParseReadFileHeader("Read File:File<size=1000>abc");
    EXPECT_EQ(h.total, 1000);
    EXPECT_EQ(h.data, "abc");
    // Data may itself hold "=" and ">" after the header's own.
    h = ParseReadFileHeader("Read File:File<size=12>a=b>c");
    EXPECT_EQ(h.total, 12);
    EXPECT_EQ(h.data, "a=b>c");
    h = ParseReadFileHeader("Read File:no bracket");
    EXPECT_EQ(h.total, 0);
    EXPECT_EQ(h.data, "Read File:no bracket");
    h = ParseReadFileHeader("Read File:File<size>xyz");
    EXPECT_EQ(h.total, 0);
    EXPECT_EQ(h.data, "xyz");
}

TEST(SdCardRequests, TextsAndByteImage) {
    EXPECT_EQ(BuildFileSizeRequest("A.CSV"), "Read&File Size=A.CSV&http 1.0");
    EXPECT_EQ(BuildReadFileRequest("A.TXT", 0), "read&File=A.TXT&Start=0&http 1.0");
    EXPECT_EQ(BuildReadFileRequest("A.TXT", 4096), "read&File=A.TXT&Start=4096&http 1.0");
    EXPECT_EQ(BuildDeleteFileRequest("A.CSV"), "Write&Delet file=A.CSV&http 1.0");

    const QByteArray bytes = ReportBytes(QString("a\r\n") + QChar(0xB0) + QChar(0));
    EXPECT_EQ(bytes, QByteArray("a\r\n\xB0\0", 5));
}

TEST(SdCardRequests, UnsafeFileNamesAreRefused) {
    EXPECT_TRUE(IsSafeFileName("20130501.CSV"));
    EXPECT_TRUE(IsSafeFileName("LOG 1.TXT"));
    for (const char* bad : {"", ".", "..", "../x.csv", "a/b.csv", "a\\b.csv", "a=b", "a<b", "a&b"})
        EXPECT_FALSE(IsSafeFileName(bad)) << bad;
    EXPECT_FALSE(IsSafeFileName(QString("a") + QChar(0x4E2D)));
    EXPECT_FALSE(IsSafeFileName(QString("a\nb")));
}
