// The layer's scroll bars (the edit control's and the list boxes') draw themselves in bands and
// keep the drawing; what they show must still be what the style draws for a whole bar, in every
// state the user can put it in.
#include "platform/qt/controls/kept_scroll_bar_p.h"

#include <QImage>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace {

struct Difference {
    int pixels = 0;  // how many differ
    int largest = 0; // the largest difference of a colour channel, 0 to 255
};

Difference between(const QImage& a, const QImage& b)
{
    Difference found;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (p == q)
                continue;
            ++found.pixels;
            found.largest =
                std::max({found.largest, std::abs(qRed(p) - qRed(q)),
                          std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return found;
}

class ScrollBarTest : public ::testing::TestWithParam<Qt::Orientation> {
protected:
    void SetUp() override
    {
        window_.resize(420, 420);
        const bool across = GetParam() == Qt::Horizontal;
        for (QScrollBar* bar : {static_cast<QScrollBar*>(&kept_), &plain_}) {
            bar->setGeometry(across ? QRect(0, 0, 400, 16) : QRect(0, 0, 16, 400));
            bar->setRange(0, 900);
            bar->setPageStep(300);
        }
        plain_.move(across ? QPoint(0, 200) : QPoint(200, 0));
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    }

    // Both bars in the same place and state, then compared.
    Difference compared(const std::function<void(QScrollBar&)>& step)
    {
        step(kept_);
        step(plain_);
        return between(kept_.grab().toImage(), plain_.grab().toImage());
    }

    QWidget window_;
    platform::KeptScrollBar kept_{GetParam(), &window_};
    QScrollBar plain_{GetParam(), &window_};
};

// A kept bar is drawn onto a clear picture first, and its bands' lines end at their edges, so its
// soft edges may come out a few shades apart from a bar drawn straight onto the window; a band
// drawn in the wrong place, or in another state, would differ by far more.
TEST_P(ScrollBarTest, ABarDrawnInBandsLooksAsTheStyleDrawsItWhole)
{
    const auto expectAlike = [](const Difference& difference, const char* state) {
        EXPECT_LE(difference.largest, 24) << state << ", " << difference.pixels << " pixels apart";
    };
    expectAlike(compared([](QScrollBar&) {}), "at the start");
    expectAlike(compared([](QScrollBar& bar) { bar.setValue(450); }), "in the middle");
    // The slider alone changes here, which a kept bar draws again only around its ends.
    expectAlike(compared([](QScrollBar& bar) { bar.setValue(470); }), "moved a little");
    expectAlike(compared([](QScrollBar& bar) { bar.setMaximum(960); }), "a little shorter");
    expectAlike(compared([](QScrollBar& bar) { bar.setMaximum(4000); }), "a shorter slider");
    expectAlike(compared([](QScrollBar& bar) { bar.setValue(100); }), "moved far");
    expectAlike(compared([](QScrollBar& bar) { bar.setValue(bar.maximum()); }), "at the end");
    const auto sliderMiddle = [](QScrollBar& bar) {
        QStyleOptionSlider option;
        option.initFrom(&bar);
        option.orientation = bar.orientation();
        option.minimum = bar.minimum();
        option.maximum = bar.maximum();
        option.sliderPosition = bar.sliderPosition();
        option.pageStep = bar.pageStep();
        if (bar.orientation() == Qt::Horizontal)
            option.state |= QStyle::State_Horizontal;
        return bar.style()
            ->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, &bar)
            .center();
    };
    expectAlike(compared([&](QScrollBar& bar) {
                    QTest::mousePress(&bar, Qt::LeftButton, {}, sliderMiddle(bar));
                }),
                "the slider held down");
    expectAlike(compared([&](QScrollBar& bar) {
                    QTest::mouseRelease(&bar, Qt::LeftButton, {}, sliderMiddle(bar));
                }),
                "let go");
    expectAlike(compared([](QScrollBar& bar) { bar.setEnabled(false); }), "disabled");
}

INSTANTIATE_TEST_SUITE_P(BothWays, ScrollBarTest, ::testing::Values(Qt::Vertical, Qt::Horizontal),
                         [](const auto& name) {
                             return name.param == Qt::Vertical ? "Vertical" : "Horizontal";
                         });

} // namespace
