#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>

#include "StringTable.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QCheckBox;
class QScrollArea;

namespace orvane {

class QtControlWindow;
class DZedit;
class Cmax;
class ShowLog;

// The settings window: every station setting in its group, the current
// readings, and the buttons that read, save, reset and open the max/min,
// SD-card and log windows. Each control is registered under its dialog id
// in a QtControlWindow (Controls()), through which the logic and the worker
// threads reach it. GUI thread only, except Controls(), whose operations
// any thread may call.
class CWriteSetting : public QMainWindow {
    Q_OBJECT
public:
    explicit CWriteSetting(UiLanguage language, QWidget* parent = nullptr);
    ~CWriteSetting() override;

    QtControlWindow& Controls() { return *m_controls; }
    UiLanguage Language() const { return m_language; }

    // The range hint that focusing edit `id` shows in status-bar part 0,
    // in the window's language and the units currently selected.
    QString FocusHint(int id) const;

    // Opens the about box (the system-menu item) and the log window
    // (Ctrl+Alt+Q); both non-blocking for the caller.
    void ShowAbout();
    void ShowLogWindow();

    Cmax& MaxMinWindow() { return *m_cmax; }
    ShowLog& LogWindow() { return *m_log; }

signals:
    // The "Language" menu command (32778); the application shell handles it.
    void LanguageRequested();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Layout of the controls (CWriteSettingLayout.cpp).
    void BuildLayout();
    QWidget* BuildTimeColumn();
    QWidget* BuildUnitColumn();
    QWidget* BuildWebColumn();
    QWidget* BuildAlarmColumn();
    QWidget* BuildWeatherColumn();
    QLabel* MakeLabel(int id, const QString& text);
    QLineEdit* MakeEdit(int id);
    DZedit* MakeHintEdit(int id);
    QComboBox* MakeCombo(int id, bool editable = false);
    QPushButton* MakeButton(int id, const QString& text);
    QCheckBox* MakeCheck(int id, const QString& text);
    QGroupBox* MakeGroup(int id, const QString& title);
    QLabel* MakeValue(int id);

    // Start-up steps that need no station.
    void ApplyCaptions();
    void FillIntervalCombos();
    void BuildMenus();
    void AttachStartupTooltips();
    void ApplyDefaults();

    void OnWebComboChosen();
    void OnShowPassword(bool checked);
    void ClearHint();

    UiLanguage m_language;
    QtControlWindow* m_controls = nullptr;
    QLabel* m_statusHint = nullptr;
    QLabel* m_statusLink = nullptr;
    QScrollArea* m_scroll = nullptr;
    Cmax* m_cmax = nullptr;
    ShowLog* m_log = nullptr;
    QString m_aboutCopyright;
    QString m_aboutWeb;
};

}  // namespace orvane
