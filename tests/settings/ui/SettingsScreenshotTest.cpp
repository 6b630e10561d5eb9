// Renders the real window, filled from the simulator, in both languages.
// With ORVANE_SCREENSHOT_DIR set the pictures are saved there as
// settings-en.png and settings-zh.png (run under Xvfb for real fonts).
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QStatusBar>

#include "SettingsWindowHarness.h"

using namespace orvane;
using namespace orvane::SettingsId;
using namespace orvane::test;

namespace {

// Pixels of `area` whose colour differs from its top-left pixel.
int DifferingPixels(const QImage& image, const QRect& area) {
    const QRgb background = image.pixel(area.topLeft());
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) n += image.pixel(x, y) != background;
    return n;
}

}  // namespace

TEST(SettingsWindowPicture, RendersFilledInBothLanguages) {
    const QString folder = qEnvironmentVariable("ORVANE_SCREENSHOT_DIR");
    for (UiLanguage language : {UiLanguage::English, UiLanguage::Chinese}) {
        SettingsWindowHarness h(language);
        h.window->setWindowState(Qt::WindowNoState);  // whatever the test screen
        h.window->resize(1366, 700);
        ASSERT_TRUE(h.ShowAndWaitForSettings());
        ASSERT_TRUE(WaitFor([&] { return !h.Controls().Text(kNowTime).isEmpty(); }, 5000));
        ASSERT_TRUE(
            WaitFor([&] { return !h.Controls().StatusText(kConnectionStatusPart).isEmpty(); }));
        // A range hint in the status bar, as after focusing an edit.
        h.Controls().SetStatusText(kHintStatusPart, h.window->FocusHint(kHighWind));
        QApplication::processEvents();
        const QImage image = h.window->grab().toImage();
        ASSERT_FALSE(image.isNull());
        // The picture shows the controls, and the connection state is drawn
        // inside it, at the bottom.
        EXPECT_GT(DifferingPixels(image, image.rect()), image.width() * image.height() / 50);
        QLabel* link = nullptr;
        for (QLabel* label : h.window->statusBar()->findChildren<QLabel*>())
            if (label->isVisible() &&
                label->text() == h.Controls().StatusText(kConnectionStatusPart))
                link = label;
        ASSERT_NE(link, nullptr);
        const QRect linkRect(link->mapTo(h.window.get(), QPoint(0, 0)), link->size());
        EXPECT_TRUE(image.rect().contains(linkRect));
        EXPECT_GT(linkRect.top(), image.height() * 9 / 10);
        EXPECT_GT(DifferingPixels(image, linkRect), 20);  // its text is drawn
        if (!folder.isEmpty()) {
            QDir().mkpath(folder);
            const QString name =
                language == UiLanguage::Chinese ? "settings-zh.png" : "settings-en.png";
            EXPECT_TRUE(image.save(folder + "/" + name));
        }
        h.window->close();
    }
}
