#include "ShowLog.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "ShowLogControls.h"

namespace orvane {

ShowLog::ShowLog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Log"));
    m_edit = new QPlainTextEdit(this);
    m_edit->setObjectName(QString::number(ShowLogId::kLogText));
    m_edit->setReadOnly(true);
    m_edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_edit);
    layout->addWidget(buttons);
    resize(420, 300);
}

void ShowLog::Open() {
    show();
    raise();
    activateWindow();
}

}  // namespace orvane
