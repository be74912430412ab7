// The program's style makes a standard icon only when it is drawn, so that a start reads no
// picture through Qt's image plugins (loading each of them took a millisecond of every start).
// The icons must still look as the style draws them.
#include "tests/support/editor_test.h"

#include "editor/globals.h"
#include "platform/qt/windows/style_p.h"

#include <QApplication>
#include <QImage>
#include <QStyle>
#include <QStyleOption>

#include <fstream>
#include <sstream>

namespace {

bool imagePluginLoaded()
{
    std::ifstream maps("/proc/self/maps");
    std::ostringstream text;
    text << maps.rdbuf();
    return text.str().find("/imageformats/") != std::string::npos;
}

QImage drawn(const QStyle* style, QStyle::StandardPixmap which, Qt::LayoutDirection direction)
{
    QStyleOption option;
    option.direction = direction;
    return style->standardIcon(which, &option).pixmap(32).toImage();
}

} // namespace

TEST_F(EditorTest, ShowsItsWindowWithoutLoadingAnImagePlugin)
{
    platform::testing::paintNow(mainWindow);
    EXPECT_FALSE(imagePluginLoaded());
}

TEST(StyleTest, AStandardIconLooksAsTheStyleDrawsIt)
{
    const QStyle* style = QApplication::style();
    const QStyle* drawing = platform::drawingStyle(style);
    ASSERT_NE(style, drawing) << "the program's style is not in use";
    for (const auto which :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_MessageBoxWarning,
          QStyle::SP_MessageBoxQuestion, QStyle::SP_ArrowBack}) {
        for (const auto direction : {Qt::LeftToRight, Qt::RightToLeft}) {
            const QImage icon = drawn(style, which, direction);
            EXPECT_FALSE(icon.isNull()) << which;
            EXPECT_EQ(icon, drawn(drawing, which, direction)) << which << " " << direction;
        }
    }
    // The direction reaches the icon: the menu bar's overflow arrow points the other way.
    EXPECT_NE(drawn(style, QStyle::SP_ToolBarHorizontalExtensionButton, Qt::LeftToRight),
              drawn(style, QStyle::SP_ToolBarHorizontalExtensionButton, Qt::RightToLeft));
}
