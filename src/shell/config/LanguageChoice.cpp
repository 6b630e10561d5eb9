#include "LanguageChoice.h"

namespace orvane {

UiLanguage LanguageFromKey(const QString& key) {
    if (key == QLatin1String("English")) return UiLanguage::English;
    if (key == QLatin1String("Chinese")) return UiLanguage::Chinese;
    return UiLanguage::SystemDefault;
}

UiLanguage ChooseLanguage(const AppIni& ini, const std::function<void()>& askUser) {
    QString key = ini.Read(AppIni::kLanguageSection, AppIni::kLanguageKey);
    if (key.isEmpty()) {
        ini.Write(AppIni::kLanguageSection, AppIni::kLanguageKey, QStringLiteral("English"));
        if (askUser) askUser();
        key = ini.Read(AppIni::kLanguageSection, AppIni::kLanguageKey);
    }
    return LanguageFromKey(key);
}

}  // namespace orvane
