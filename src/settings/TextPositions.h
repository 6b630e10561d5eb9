#pragma once

#include <QList>
#include <QString>

namespace orvane {

// Positions of the first `limit` occurrences of `what` in `text`, in order.
// The reply parsers pair separators by their rank.
inline QList<qsizetype> TextPositions(const QString& text, const QString& what, int limit) {
    QList<qsizetype> positions;
    qsizetype at = text.indexOf(what);
    while (at >= 0 && positions.size() < limit) {
        positions.append(at);
        at = text.indexOf(what, at + what.size());
    }
    return positions;
}

}  // namespace orvane
