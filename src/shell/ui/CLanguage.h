#pragma once

#include <QDialog>

#include "AppIni.h"
#include "QtControlWindow.h"

namespace orvane {

// The language dialog: a drop-down list of "English" and "Chinese"; OK
// stores the choice in Main.ini. Its own texts follow the current UI
// language. GUI thread.
class CLanguage : public QDialog {
    Q_OBJECT
public:
    enum ControlId { kOk = 1, kCancel = 2, kList = 1009, kLabel = 1236 };

    explicit CLanguage(AppIni ini, QWidget* parent = nullptr);

    QtControlWindow& Controls() { return m_controls; }

    void accept() override;

private:
    AppIni m_ini;
    QtControlWindow m_controls;
};

}  // namespace orvane
