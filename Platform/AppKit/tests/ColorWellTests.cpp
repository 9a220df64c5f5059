// The colour well shows the chosen colour exactly, focused or not, draws focus around it, tells
// screen readers which colour it holds, and opens a colour dialog named after it.
#include <AppKit/AppKit.h>
#include <AppKit/AppKitApplication.h>

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

TEST(ColorWell, ShowsAndSaysTheChosenColourExactlyWithFocusDrawnAroundIt)
{
    AppKitEnsureApplication();
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* swatch = new QPushButton;
    auto* elsewhere = new QPushButton(QStringLiteral("Elsewhere"));
    swatch->setFixedSize(64, 28);
    layout->addWidget(swatch);
    layout->addWidget(elsewhere);
    NSColorWell* well = NSView::viewForWidget<NSColorWell>(swatch);
    window.show();
    window.activateWindow();
    QApplication::processEvents();

    struct Case {
        NSColor color;
        QColor shown;
        const char* said;
    };
    const Case cases[] = {
        {NSColor::colorWithCalibratedRed(1.0, 128 / 255.0, 0.0, 1.0), QColor(255, 128, 0), "RGB(255,128,0)"},
        {NSColor::blackColor(), QColor(0, 0, 0), "RGB(0,0,0)"},
        {NSColor::colorWithCalibratedRed(1 / 255.0, 254 / 255.0, 127 / 255.0, 1.0), QColor(1, 254, 127), "RGB(1,254,127)"},
        {NSColor::colorWithCalibratedWhite(0.5, 1.0), QColor(128, 128, 128), "RGB(128,128,128)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown.name().toStdString());
        well->setColor(c.color);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(swatch)->text(QAccessible::Description).toStdString(), c.said);
        QRgb edge[2];
        for (bool focused : {false, true}) {
            (focused ? swatch : elsewhere)->setFocus();
            QApplication::processEvents();
            ASSERT_EQ(swatch->hasFocus(), focused);
            const QImage shot = swatch->grab().toImage();
            const int scale = static_cast<int>(shot.devicePixelRatio());
            auto colourAt = [&shot](int x, int y) { return QColor(shot.pixel(x, y)).name().toStdString(); };
            EXPECT_EQ(colourAt(shot.width() / 2, shot.height() / 2), c.shown.name().toStdString()) << (focused ? "focused" : "not focused");
            EXPECT_EQ(colourAt(7 * scale, 7 * scale), c.shown.name().toStdString()) << "the colour reaches the frame";
            edge[focused] = shot.pixel(1 * scale, shot.height() / 2);
        }
        EXPECT_NE(edge[true], edge[false]) << "focus is drawn around the swatch";
    }
}

TEST(ColorWell, TheColourDialogIsTitledWithTheWellsNameAndCancellingChangesNothing)
{
    AppKitEnsureApplication();
    QPushButton swatch;
    swatch.setAccessibleName(QStringLiteral("Background colour"));
    NSColorWell* well = NSView::viewForWidget<NSColorWell>(&swatch);
    well->setColor(NSColor::colorWithCalibratedRed(1.0, 128 / 255.0, 0.0, 1.0));
    int actionsSent = 0;
    well->setAction("changed:", [&actionsSent](id) { ++actionsSent; });

    QString title;
    QTimer::singleShot(0, [&title] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            title = dialog->windowTitle();
            dialog->reject();
        }
    });
    swatch.click();

    EXPECT_EQ(title.toStdString(), "Background colour");
    EXPECT_EQ(actionsSent, 0);
    EXPECT_DOUBLE_EQ(well->color().greenComponent(), 128 / 255.0);
}
