#include "CAboutDlg.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "AboutBoxControls.h"

namespace orvane {

CAboutDlg::CAboutDlg(const QString& copyright, const QString& web, QWidget* parent)
    : QDialog(parent), m_web(web), m_open([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    setWindowTitle(QStringLiteral("About Orvane"));

    auto* icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    auto* name = new QLabel(QStringLiteral("Orvane, 1.6 Ver"), this);

    m_copyright = new QLabel(copyright, this);
    m_copyright->setObjectName(QString::number(AboutBoxId::kCopyright));

    m_link = new QLabel(web, this);
    m_link->setObjectName(QString::number(AboutBoxId::kWebLink));
    QFont linkFont = font();
    linkFont.setUnderline(true);
    m_link->setFont(linkFont);
    QPalette linkPalette = m_link->palette();
    linkPalette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    m_link->setPalette(linkPalette);
    m_link->setCursor(Qt::PointingHandCursor);
    // The box itself decides whether a click hit the link.
    m_link->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(m_copyright);
    texts->addWidget(m_link, 0, Qt::AlignLeft);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
}

QRect CAboutDlg::LinkRect() const {
    return QRect(m_link->mapTo(this, QPoint(0, 0)), m_link->size());
}

void CAboutDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QRect r = LinkRect();
        const QPoint p = event->position().toPoint();
        // Strictly inside: a click on the border line does nothing.
        const bool inside = r.left() < p.x() && p.x() < r.left() + r.width() && r.top() < p.y() &&
                            p.y() < r.top() + r.height();
        // An empty link has nothing to open; asking the desktop to open ""
        // would only raise an error dialog of its own.
        if (inside && !m_web.trimmed().isEmpty() && m_open) {
            m_open(QUrl::fromUserInput(m_web.trimmed()));
            event->accept();
            return;
        }
    }
    QDialog::mousePressEvent(event);
}

}  // namespace orvane
