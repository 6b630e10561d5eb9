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

TEST(SdCardRequests, UnsafeFileNamesAreRefused) {
    EXPECT_TRUE(IsSafeFileName("20130501.CSV"));
    EXPECT_TRUE(IsSafeFileName("LOG 1.TXT"));
    for (const char* bad : {"", ".", "..", "../x.csv", "a/b.csv", "a\\b.csv", "a=b", "a<b", "a&b"})
        EXPECT_FALSE(IsSafeFileName(bad)) << bad;
    EXPECT_FALSE(IsSafeFileName(QString("a") + QChar(0x4E2D)));
    EXPECT_FALSE(IsSafeFileName(QString("a\nb")));
}
