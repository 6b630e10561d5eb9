// Any text as a file-list reply, a file name, a size report or a download
// header: the list keeps its limits, and a name taken as safe can neither
// leave the data folder nor break a request.
#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "ReplyDispatcher.h"
#include "SdCardProtocol.h"

using namespace orvane;
using orvane::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));

    const QStringList names = ParseFileList(text);
    Require(names.size() <= kMaxListedFiles);
    for (const QString& name : names) {
        Require(!name.isEmpty());
        Require(!name.contains(u'&'));
    }
    for (const QString& name : names + QStringList{text}) {
        if (!IsSafeFileName(name)) continue;
        Require(!name.contains(u'/') && !name.contains(u'\\'));
        Require(name != QLatin1String(".") && name != QLatin1String(".."));
        for (QChar c : {u'&', u'<', u'>', u'='}) Require(!name.contains(c));
        for (QChar c : name) Require(c.unicode() < 256);
    }

    const qint64 fileSize = ReplyDispatcher::ParseFileSize(text);
    Require(!ReplyDispatcher::FileSizeText(fileSize).isEmpty());
    (void)ReplyDispatcher::ParseHeaderSize(text);
    return 0;
}
