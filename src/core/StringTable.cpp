#include "StringTable.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <atomic>
#include <memory>

namespace orvane {

namespace {

struct Entry {
    int id;
    const char16_t* english;
    const char16_t* chinese;
};

constexpr Entry kTable[] = {
#include "StringTable.inc"
};

std::atomic<int> g_language{int(UiLanguage::SystemDefault)};

}  // namespace

void SetCurrentLanguage(UiLanguage language) {
    g_language = int(language);
}

UiLanguage CurrentLanguage() {
    return UiLanguage(g_language.load());
}

UiLanguage EffectiveLanguage(UiLanguage language) {
    if (language != UiLanguage::SystemDefault) return language;
    return QLocale::system().language() == QLocale::Chinese ? UiLanguage::Chinese
                                                            : UiLanguage::English;
}

QString LoadString(int id, UiLanguage language) {
    const bool chinese = EffectiveLanguage(language) == UiLanguage::Chinese;
    for (const Entry& e : kTable)
        if (e.id == id) return QString::fromUtf16(chinese ? e.chinese : e.english);
    return QString();
}

QString LoadString(int id) {
    return LoadString(id, CurrentLanguage());
}

bool InstallQtTranslation(UiLanguage language) {
    static QTranslator* installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    if (EffectiveLanguage(language) != UiLanguage::Chinese) return false;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    installed = translator.release();
    QCoreApplication::installTranslator(installed);
    return true;
}

}  // namespace orvane
