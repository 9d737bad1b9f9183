#include "app/RectText.h"

#include <gtest/gtest.h>

namespace {

using velk::app::rectFromText;
using velk::app::rectToText;

TEST(RectText, readsBackWhatItWrites) {
    for (const QRect& rect : {QRect(0, 0, 0, 0), QRect(120, 45, 960, 650), QRect(-1920, -30, 1, 2)})
        EXPECT_EQ(rectFromText(rectToText(rect)), rect) << rectToText(rect).toStdString();
}

TEST(RectText, writesOriginThenSize) {
    EXPECT_EQ(rectToText(QRect(1, 2, 3, 4)), QStringLiteral("{{1, 2}, {3, 4}}"));
}

TEST(RectText, toleratesSpacing) {
    EXPECT_EQ(rectFromText(QStringLiteral(" {{1,2},{3,4}} ")), QRect(1, 2, 3, 4));
}

TEST(RectText, anythingElseIsTheZeroRectangle) {
    for (const char* text :
         {"", "garbage", "{{1, 2}, {3}}", "{{1, 2}, {-3, 4}}", "{{99999999999, 2}, {3, 4}}"})
        EXPECT_EQ(rectFromText(QString::fromLatin1(text)), QRect()) << text;
}

}  // namespace
