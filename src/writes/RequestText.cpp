#include "RequestText.h"

#include <QStringList>

namespace orvane {

namespace {

bool IsGrammarCharacter(char32_t c) {
    return c == U'&' || c == U'<' || c == U'>' || c == U'=';
}

QString Quoted(char32_t c) {
    return u'"' + QString::fromUcs4(&c, 1) + u'"';
}

// Distinct characters of `value` that `pick` selects, quoted, in order of
// first appearance.
template <typename Pick>
QStringList Offending(const QString& value, Pick pick) {
    QStringList found;
    for (char32_t c : value.toUcs4()) {
        if (!pick(c)) continue;
        const QString quoted = Quoted(c);
        if (!found.contains(quoted)) found << quoted;
    }
    return found;
}

}  // namespace

QString RequestValueProblem(const QString& fieldName, const QString& value) {
    const QStringList grammar = Offending(value, IsGrammarCharacter);
    if (!grammar.isEmpty())
        return QStringLiteral("%1 may not contain \"&\", \"<\", \">\" or \"=\" (found %2).")
            .arg(fieldName, grammar.join(QStringLiteral(", ")));
    const QStringList foreign = Offending(value, [](char32_t c) { return c > 0xFF; });
    if (!foreign.isEmpty())
        return QStringLiteral(
                   "%1 may contain only Western European (ISO-8859-1) characters (found %2).")
            .arg(fieldName, foreign.join(QStringLiteral(", ")));
    return QString();
}

bool AcceptRequestValue(ControlWindow& window, const QString& fieldName, const QString& value) {
    const QString problem = RequestValueProblem(fieldName, value);
    if (problem.isEmpty()) return true;
    window.MessageBox(problem);
    return false;
}

}  // namespace orvane
