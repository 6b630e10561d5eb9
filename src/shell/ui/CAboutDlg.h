#pragma once

#include <QDialog>
#include <QRect>
#include <QString>
#include <QUrl>
#include <functional>

class QLabel;
class QMouseEvent;

namespace orvane {

// The about box: program name and version, the copyright text and the web
// link of Main.ini. The link opens only on a left click strictly inside the
// rectangle of its text control. GUI thread only.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    using UrlOpener = std::function<void(const QUrl&)>;

    // `copyright` is [Copyright] Copyright and `web` is [About] Web of Main.ini.
    CAboutDlg(const QString& copyright, const QString& web, QWidget* parent = nullptr);

    // Replaces QDesktopServices::openUrl (tests record the request instead).
    void SetUrlOpener(UrlOpener opener) { m_open = std::move(opener); }

    // Rectangle of the link control (AboutBoxId::kWebLink) in the box's client coordinates.
    QRect LinkRect() const;
    QLabel* LinkLabel() const { return m_link; }
    QLabel* CopyrightLabel() const { return m_copyright; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString m_web;
    QLabel* m_copyright = nullptr;
    QLabel* m_link = nullptr;
    UrlOpener m_open;
};

}  // namespace orvane
