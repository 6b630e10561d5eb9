#include "Cmax.h"

#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "MaxMinBlocks.h"
#include "MaxMinControls.h"
#include "MaxMinLayout.h"
#include "QtControlWindow.h"

namespace orvane {

Cmax::Cmax(std::function<UiLanguage()> language, QWidget* parent)
    : QDialog(parent), m_language(std::move(language)), m_controls(new QtControlWindow(this)) {
    setWindowTitle(QStringLiteral("Max/Min"));
    m_controls->SetLayout(MaxMinControlLayout());
    auto* grid = new QGridLayout(this);
    const char* placeholders[4] = {"Max", "Min", "Today Max", "Today Min"};
    for (int i = 0; i < 4; ++i) {
        auto* edit = new QPlainTextEdit(this);
        edit->setReadOnly(true);
        edit->setPlaceholderText(QString::fromLatin1(placeholders[i]));
        edit->setMinimumSize(220, 160);
        m_blocks[i] = edit;
        m_controls->Register(MaxMinId::kBlocks[i], edit);
        grid->addWidget(edit, i / 2, i % 2);
    }
    m_exit = new QPushButton(QStringLiteral("Exit"), this);
    m_controls->Register(MaxMinId::kExit, m_exit);
    m_controls->VerifyLayout();
    connect(m_exit, &QPushButton::clicked, this, &QDialog::accept);
    grid->addWidget(m_exit, 2, 1, Qt::AlignRight);
}

Cmax::~Cmax() {
    m_controls->Shutdown();
    delete m_controls;
}

void Cmax::Open(const QString& replyText) {
    m_replyText = replyText;
    Fill();
    // Modeless: the settings window goes on while the max/min window is up.
    show();
    raise();
    activateWindow();
}

void Cmax::Fill() {
    ShowMaxMinRecords(*m_controls, m_replyText, m_language ? m_language() : CurrentLanguage());
}

}  // namespace orvane
