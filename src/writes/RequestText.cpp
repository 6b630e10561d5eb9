#include "RequestText.h"

#include <QStringList>
#include <utility>

#include "StringTable.h"

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

// The free-text fields by the English names their builders give, with the
// string-table entry of the name in the user-interface language.
constexpr std::pair<const char*, int> kFieldNames[] = {
    {"Telephone 1", 410},
    {"Telephone 2", 411},
    {"Telephone 3", 412},
    {"SMS ID", 413},
    {"GPRS APN", 414},
    {"GPRS user", 415},
    {"GPRS password", 416},
    {"Web server address", 417},
    {"Web station ID", 418},
    {"Web password", 419},
    {"Port", 420},
    {"Data logger interval", 421},
    {"Send current interval", 422},
    {"Next alarm SMS interval", 423},
    {"Web upload interval", 424},
    {"SMS check interval", 425},
};
constexpr int kGrammarRefusal = 402;
constexpr int kEncodingRefusal = 403;

QString LocalFieldName(const QString& fieldName) {
    for (const auto& [english, string] : kFieldNames)
        if (fieldName == QLatin1String(english)) return LoadString(string);
    return fieldName;
}

}  // namespace

QString RequestValueProblem(const QString& fieldName, const QString& value) {
    const QStringList grammar = Offending(value, IsGrammarCharacter);
    if (!grammar.isEmpty())
        return LoadString(kGrammarRefusal)
            .arg(LocalFieldName(fieldName), grammar.join(QStringLiteral(", ")));
    const QStringList foreign = Offending(value, [](char32_t c) { return c > 0xFF; });
    if (!foreign.isEmpty())
        return LoadString(kEncodingRefusal)
            .arg(LocalFieldName(fieldName), foreign.join(QStringLiteral(", ")));
    return QString();
}

bool AcceptRequestValue(ControlWindow& window, const QString& fieldName, const QString& value) {
    const QString problem = RequestValueProblem(fieldName, value);
    if (problem.isEmpty()) return true;
    window.MessageBox(problem);
    return false;
}

}  // namespace orvane
