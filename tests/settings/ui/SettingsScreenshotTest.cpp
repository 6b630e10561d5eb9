// Renders the real window, filled from the simulator, in both languages.
// With ORVANE_SCREENSHOT_DIR set the pictures are saved there as
// settings-en.png and settings-zh.png (run under Xvfb for real fonts).
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPixmap>

#include "SettingsWindowHarness.h"

using namespace orvane;
using namespace orvane::test;

TEST(SettingsWindowPicture, RendersFilledInBothLanguages) {
    const QString folder = qEnvironmentVariable("ORVANE_SCREENSHOT_DIR");
    for (UiLanguage language : {UiLanguage::English, UiLanguage::Chinese}) {
        SettingsWindowHarness h(language);
        h.window->resize(1366, 700);
        ASSERT_TRUE(h.ShowAndWaitForSettings());
        ASSERT_TRUE(WaitFor([&] { return !h.Controls().Text(1116).isEmpty(); }, 5000));
        ASSERT_TRUE(WaitFor([&] { return !h.Controls().StatusText(1).isEmpty(); }));
        // A range hint in the status bar, as after focusing an edit.
        h.Controls().SetStatusText(0, h.window->FocusHint(1055));
        QApplication::processEvents();
        const QImage image = h.window->grab().toImage();
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), h.window->width());
        if (!folder.isEmpty()) {
            QDir().mkpath(folder);
            const QString name =
                language == UiLanguage::Chinese ? "settings-zh.png" : "settings-en.png";
            EXPECT_TRUE(image.save(folder + "/" + name));
        }
        h.window->close();
    }
}
