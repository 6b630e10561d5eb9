#pragma once

#include <QString>

namespace orvane {

// Main.ini in the data folder, read and written the way private-profile
// files are: "[section]" headers and "key=value" lines, names compared
// without regard to case, surrounding blanks and quotes dropped from values,
// at most 259 characters returned. A write changes only the one line it
// concerns (or adds it), keeping every other line, comment and order byte
// for byte. A missing file, section or key reads as the empty text.
//
// Any thread; each call reads or rewrites the file afresh.
class AppIni {
public:
    explicit AppIni(QString path) : m_path(std::move(path)) {}

    const QString& Path() const { return m_path; }
    QString Read(const QString& section, const QString& key) const;
    // False when the file cannot be written (read-only, no folder).
    bool Write(const QString& section, const QString& key, const QString& value) const;

    // The keys of Main.ini.
    static constexpr const char* kLanguageSection = "Language";
    static constexpr const char* kLanguageKey = "Language";
    static constexpr const char* kAboutSection = "About";
    static constexpr const char* kWebKey = "Web";
    static constexpr const char* kCopyrightSection = "Copyright";
    static constexpr const char* kCopyrightKey = "Copyright";
    static constexpr const char* kUnitSection = "Unit";
    static constexpr const char* kStageKey = "Stage";

    static constexpr int kMaxValueLength = 259;

private:
    QString m_path;
};

}  // namespace orvane
