// The large readout and the indicator lamp: their texts and what they paint.
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <cmath>
#include <limits>

#include "korvel/components/kv_indicator.h"
#include "korvel/components/kv_label.h"

namespace korvel {
namespace {

TEST(FormatReadout, PadsToTheOrderAndGroupsTheDigits) {
    struct Case {
        double value;
        int order;
        int orderAC;
        const char* padding;
        const char* digits;
    };
    const Case cases[] = {
        {1.5e9, 4, 0, "00", "1 500 000 000"},
        {0.0, 4, 0, "000 000 000 00", "0"},
        {110000000001.0, 4, 0, "", "110 000 000 001"},
        {1234567890123.0, 4, 0, "", "1 234 567 890 123"},  // wider than the order: all shown
        {-10.0, 1, 2, " ", "-10.00"},                      // negative: blank padding
        {-130.0, 1, 0, "", "-130"},
        {5.25, 1, 2, "00", "5.25"},
        {0.000255, 1, 6, "00", "0.000 255"},
        {-0.001, 1, 2, "00", "0.00"},  // rounds to zero: no sign
    };
    for (const auto& c : cases) {
        const ReadoutText text = FormatReadout(c.value, c.order, c.orderAC);
        EXPECT_TRUE(text.isNumber);
        EXPECT_EQ(text.padding, QString::fromUtf8(c.padding)) << c.value;
        EXPECT_EQ(text.digits, QString::fromUtf8(c.digits)) << c.value;
    }
    const ReadoutText blank = FormatReadout(std::numeric_limits<double>::quiet_NaN(), 4, 0);
    EXPECT_FALSE(blank.isNumber);
    EXPECT_EQ(blank.digits, "---");
    EXPECT_EQ(FormatReadout(std::numeric_limits<double>::infinity(), 4, 0).digits, "---");
}

TEST(ColorFromBgr, ReadsBlueFromTheHighByte) {
    EXPECT_EQ(ColorFromBgr(3322980), QColor(0x64, 0xB4, 0x32));
    EXPECT_EQ(ColorFromBgr(0x000000FF), QColor(Qt::red));
    EXPECT_EQ(ColorFromBgr(0x00FF0000), QColor(Qt::blue));
}

TEST(TKvLabel, ShowsTheValueAndPaintsItsBorder) {
    TKvLabel label;
    label.SetUnits(EUnits::Frequency);
    label.SetLabel("F0:");
    label.SetOrder(4);
    label.SetShowSignatures(true);
    label.SetBorderColor(QColor(Qt::blue));
    label.SetValue(2.5e9);
    EXPECT_EQ(label.Text(), "2 500 000 000");
    label.SetValue(std::nan(""));
    EXPECT_EQ(label.Text(), "---");
    label.SetOrderAC(1);
    label.SetValue(1.26);
    EXPECT_EQ(label.Text(), "1.3");  // rounded to one digit after the point
    label.resize(label.sizeHint());
    // Signatures need their own line below the digits.
    TKvLabel plain;
    plain.SetOrder(4);
    EXPECT_GT(label.sizeHint().height(), plain.sizeHint().height());
    const QImage image = label.grab().toImage();
    EXPECT_EQ(QColor(image.pixel(0, 0)), QColor(Qt::blue));
    EXPECT_EQ(QColor(image.pixel(image.width() - 1, image.height() - 1)), QColor(Qt::blue));
}

TEST(TKvIndicator, LightsInItsColours) {
    TKvIndicator lamp;
    lamp.SetCaption("Захват");
    lamp.SetOnColor(ColorFromBgr(3322980));
    lamp.SetOffColor(QColor(Qt::lightGray));
    lamp.resize(lamp.sizeHint());
    const auto centre = [&lamp]() {
        const QImage image = lamp.grab().toImage();
        const int size = lamp.fontMetrics().height();
        return QColor(image.pixel(1 + size / 2, lamp.height() / 2));
    };
    EXPECT_FALSE(lamp.Active());
    EXPECT_EQ(centre(), QColor(Qt::lightGray));
    lamp.SetActive(true);
    EXPECT_TRUE(lamp.Active());
    EXPECT_EQ(lamp.LampColor(), ColorFromBgr(3322980));
    EXPECT_EQ(centre(), ColorFromBgr(3322980));
    EXPECT_GT(lamp.sizeHint().width(), lamp.fontMetrics().horizontalAdvance("Захват"));
}

}  // namespace
}  // namespace korvel
