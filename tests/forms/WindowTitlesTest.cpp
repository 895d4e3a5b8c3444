// Every window's title as the X server holds it for the window manager (_NET_WM_NAME and
// WM_NAME): the window's caption alone, with nothing of the application appended. Runs on a
// virtual X display of its own (tests/forms/CMakeLists.txt); on a platform without a window
// system there is no such title to read, and the test says so.
#include "tests/forms/EveryWindow.h"
#include "tests/forms/MainWindowFixture.h"

#include <QGuiApplication>
#include <QProcess>

namespace {

class WindowTitlesUnderX : public testing_support::MainWindow {
protected:
    // The title properties of one window, as xprop prints them.
    static QString titlesOf(QWidget* window)
    {
        QProcess xprop;
        xprop.start(QStringLiteral("xprop"),
                    {QStringLiteral("-id"), QString::number(window->winId()),
                     QStringLiteral("_NET_WM_NAME"), QStringLiteral("WM_NAME")});
        EXPECT_TRUE(xprop.waitForFinished(10000));
        return QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    }
};

TEST_F(WindowTitlesUnderX, EveryTitleIsTheWindowsCaptionAlone)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X display; run by the WindowTitlesUnderX test";
    const testing_support::EveryWindow windows(*window);
    for (const auto& [w, caption] : windows.withCaptions) {
        SCOPED_TRACE(caption);
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        EXPECT_EQ(titlesOf(w).toStdString(), QStringLiteral("_NET_WM_NAME(UTF8_STRING) = \"%1\"\n"
                                                            "WM_NAME(STRING) = \"%1\"")
                                                 .arg(QLatin1String(caption))
                                                 .toStdString());
        w->hide();
    }
}

} // namespace
