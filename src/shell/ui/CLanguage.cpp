#include "CLanguage.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "StringTable.h"

namespace orvane {

CLanguage::CLanguage(AppIni ini, QWidget* parent)
    : QDialog(parent), m_ini(std::move(ini)), m_controls(this) {
    auto* label = new QLabel(this);
    auto* list = new QComboBox(this);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(label, list);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    m_controls.Register(kOk, ok);
    m_controls.Register(kCancel, cancel);
    m_controls.Register(kList, list);
    m_controls.Register(kLabel, label);

    const QString title = LoadString(152);
    setWindowTitle(title);
    m_controls.SetText(kLabel, title + u':');
    m_controls.SetText(kOk, LoadString(114));
    m_controls.SetItems(kList, {QStringLiteral("English"), QStringLiteral("Chinese")});
    const bool english =
        m_ini.Read(AppIni::kLanguageSection, AppIni::kLanguageKey) == QLatin1String("English");
    m_controls.SelectIndex(kList, english ? 0 : 1);
}

void CLanguage::accept() {
    const QString choice = m_controls.Text(kList);
    if (choice == QLatin1String("English") || choice == QLatin1String("Chinese"))
        m_ini.Write(AppIni::kLanguageSection, AppIni::kLanguageKey, choice);
    QDialog::accept();
}

}  // namespace orvane
