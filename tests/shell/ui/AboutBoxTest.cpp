#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>

#include "AboutBoxControls.h"
#include "CAboutDlg.h"

using namespace orvane;

namespace {

void LeftClick(QWidget* target, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), target->mapToGlobal(QPointF(at)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

struct AboutBox : ::testing::Test {
    void Open(const QString& web) {
        dialog = std::make_unique<CAboutDlg>(QStringLiteral("Copyright (C) 2026 Orvane"), web);
        dialog->SetUrlOpener([this](const QUrl& url) { opened << url; });
        dialog->show();
        QApplication::processEvents();
    }
    std::unique_ptr<CAboutDlg> dialog;
    QList<QUrl> opened;
};

}  // namespace

TEST_F(AboutBox, ShowsTheIniTextsWithTheLinkUnderlinedInBlue) {
    Open(QStringLiteral("https://orvane.example/"));
    EXPECT_EQ(dialog->windowTitle(), "About Orvane");
    // Each text control carries its dialog id.
    const auto byId = [&](int id) { return dialog->findChild<QLabel*>(QString::number(id)); };
    EXPECT_EQ(byId(AboutBoxId::kCopyright), dialog->CopyrightLabel());
    EXPECT_EQ(byId(AboutBoxId::kWebLink), dialog->LinkLabel());
    EXPECT_EQ(dialog->CopyrightLabel()->text(), "Copyright (C) 2026 Orvane");
    EXPECT_EQ(dialog->LinkLabel()->text(), "https://orvane.example/");
    EXPECT_TRUE(dialog->LinkLabel()->font().underline());
    EXPECT_EQ(dialog->LinkLabel()->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    bool versionShown = false;
    for (QLabel* label : dialog->findChildren<QLabel*>())
        versionShown |= label->text() == "Orvane, 1.6 Ver";
    EXPECT_TRUE(versionShown);
}

TEST_F(AboutBox, OpensTheLinkOnlyForAClickStrictlyInsideItsRectangle) {
    Open(QStringLiteral("https://orvane.example/"));
    const QRect r = dialog->LinkRect();
    ASSERT_GT(r.width(), 2);
    ASSERT_GT(r.height(), 2);
    const int midY = r.top() + r.height() / 2;
    const int midX = r.left() + r.width() / 2;

    // The four edges and points outside open nothing.
    LeftClick(dialog.get(), QPoint(r.left(), midY));
    LeftClick(dialog.get(), QPoint(r.left() + r.width(), midY));
    LeftClick(dialog.get(), QPoint(midX, r.top()));
    LeftClick(dialog.get(), QPoint(midX, r.top() + r.height()));
    LeftClick(dialog.get(), QPoint(r.left() - 5, midY));
    LeftClick(dialog.get(), QPoint(midX, r.top() + r.height() + 5));
    EXPECT_TRUE(opened.isEmpty());

    // One pixel inside each edge opens it.
    LeftClick(dialog.get(), QPoint(r.left() + 1, midY));
    LeftClick(dialog.get(), QPoint(r.left() + r.width() - 1, r.top() + 1));
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], QUrl("https://orvane.example/"));

    // A right click inside does nothing.
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(midX, midY),
                      dialog->mapToGlobal(QPointF(midX, midY)), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QApplication::sendEvent(dialog.get(), &right);
    EXPECT_EQ(opened.size(), 2);
}

TEST_F(AboutBox, ClickOnTheLinkTextReachesTheBox) {
    // The label must not swallow the click: a real click lands on it first.
    Open(QStringLiteral("https://orvane.example/"));
    QLabel* link = dialog->LinkLabel();
    const QPoint inLabel(link->width() / 2, link->height() / 2);
    // Qt routes a click to the child under the pointer that takes mouse
    // events: that must be the box itself, not the link label.
    QWidget* receiver = dialog->childAt(link->mapTo(dialog.get(), inLabel));
    EXPECT_NE(receiver, link);
    LeftClick(dialog.get(), link->mapTo(dialog.get(), inLabel));
    EXPECT_EQ(opened.size(), 1);
}

TEST_F(AboutBox, AnEmptyLinkOpensNothing) {
    // Main.ini without an [About] section: nothing to hand to the desktop.
    Open(QString());
    const QRect r = dialog->LinkRect();
    LeftClick(dialog.get(), r.center());
    EXPECT_TRUE(opened.isEmpty());
}
