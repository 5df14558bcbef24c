// The page's numbers and the measure its figures lay text out by.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "tools/report/PageNumber.h"
#include "tools/report/TextWidth.h"

namespace {

const double INF = std::numeric_limits<double>::infinity();

TEST(PageNumberTest, ThreeSignificantDigitsPlainInTheMiddleRange)
{
    EXPECT_EQ(PageNumber(0.123456), "0.123");
    EXPECT_EQ(PageNumber(0.5), "0.5");
    EXPECT_EQ(PageNumber(1.0), "1");
    EXPECT_EQ(PageNumber(0.99999), "1");  // rounds up to one digit less
    EXPECT_EQ(PageNumber(999.7), "1000"); // the exponent of the rounded value
    EXPECT_EQ(PageNumber(-1287.9), "-1290");
    EXPECT_EQ(PageNumber(123456.0), "123000");
    EXPECT_EQ(PageNumber(0.000123456), "0.000123");
    EXPECT_EQ(PageNumber(2.0 / 3.0), "0.667");
    EXPECT_EQ(PageNumber(-0.0105), "-0.0105");
    EXPECT_EQ(PageNumber(42.0), "42");
}

TEST(PageNumberTest, ShortExponentsOutsideAndABoundBelowOneMillionth)
{
    EXPECT_EQ(PageNumber(999999.0), "1e6");
    EXPECT_EQ(PageNumber(2.5e12), "2.5e12");
    EXPECT_EQ(PageNumber(-3.14159e7), "-3.14e7");
    EXPECT_EQ(PageNumber(1.5e-5), "1.5e-5");
    EXPECT_EQ(PageNumber(1e-6), "1e-6"); // the floor itself is a number
    // No more digits than any estimate here carries.
    EXPECT_EQ(PageNumber(2.035e-35), "< 1e-6");
    EXPECT_EQ(PageNumber(9.99e-7), "< 1e-6");
    EXPECT_EQ(PageNumber(std::numeric_limits<double>::denorm_min()), "< 1e-6");
    EXPECT_EQ(PageNumber(-4e-9), "> -1e-6");
    EXPECT_EQ(PageNumber(std::numeric_limits<double>::max()), "1.8e308");
    EXPECT_EQ(PageNumber(std::numeric_limits<double>::lowest()), "-1.8e308");
}

TEST(PageNumberTest, ZeroInfinitiesAndNotANumber)
{
    EXPECT_EQ(PageNumber(0.0), "0");
    EXPECT_EQ(PageNumber(-0.0), "0");
    EXPECT_EQ(PageNumber(-1e-300 * 1e-300), "0"); // underflows to -0
    EXPECT_EQ(PageNumber(INF), "\u221e");
    EXPECT_EQ(PageNumber(-INF), "-\u221e");
    EXPECT_EQ(PageNumber(std::numeric_limits<double>::quiet_NaN()), "n/a");
}

TEST(TextWidthTest, WiderLettersMeasureWiderAndSizeScales)
{
    EXPECT_EQ(TextWidth("", 12), 0.0);
    // DejaVu Sans: 'i' 0.278 em, 'W' 0.989 em, digits 0.636 em; and a margin
    // over them.
    EXPECT_GT(TextWidth("W", 12), 3 * TextWidth("i", 12));
    EXPECT_DOUBLE_EQ(TextWidth("0123456789", 12), 10 * TextWidth("5", 12));
    EXPECT_DOUBLE_EQ(TextWidth("Pkinase", 24), 2 * TextWidth("Pkinase", 12));
    EXPECT_GE(TextWidth("0", 12), 0.636 * 12);
    // At least the advances of DejaVu Sans, the widest common sans-serif
    // face, for a mix of its widest characters.
    EXPECT_GE(TextWidth("MWQ%@", 12), (0.863 + 0.989 + 0.787 + 0.95 + 1.0) * 12);
    // Beyond ASCII a code point counts a full em, whatever its bytes.
    EXPECT_DOUBLE_EQ(TextWidth("\u2013", 12), TextWidth("\u4e2d", 12));
    EXPECT_GE(TextWidth("\u4e2d", 12), 12.0);
    EXPECT_DOUBLE_EQ(TextWidth("a\u00e9b", 12), TextWidth("a", 12) + TextWidth("\u00e9", 12) + TextWidth("b", 12));
}

TEST(TextWidthTest, WrapBreaksAtBlanksAndSplitsOnlyTooWideWords)
{
    const double px = 12;
    const std::string text = "motif Pkinase (PF00069) on ABC1 (P12345), with partner XYZ2 (P67890)";
    const double limit = TextWidth("motif Pkinase (PF00069) on", px);
    const std::vector<std::string> lines = WrapText(text, limit, px);
    EXPECT_EQ(lines,
              (std::vector<std::string>{"motif Pkinase (PF00069) on", "ABC1 (P12345), with", "partner XYZ2 (P67890)"}));
    for (const auto& l : lines) {
        EXPECT_LE(TextWidth(l, px), limit) << l;
    }
    EXPECT_EQ(WrapText(text, 10000, px), std::vector<std::string>{text});
    EXPECT_EQ(WrapText("", 50, px), std::vector<std::string>{""});
    EXPECT_EQ(WrapText("  two   blanks ", 1000, px), std::vector<std::string>{"two blanks"});

    // A word wider than a line is split, after its last hyphen (or '_',
    // '/', '.') that fits, and no character is lost.
    const std::string word = "Pkinase_Tyr-SH2-SH3-WD40";
    const std::vector<std::string> parts = WrapText(word, TextWidth("Pkinase_Tyr-SH2", px), px);
    ASSERT_GE(parts.size(), 2u);
    EXPECT_EQ(parts[0], "Pkinase_Tyr-");
    std::string joined;
    for (const auto& p : parts) {
        EXPECT_LE(TextWidth(p, px), TextWidth("Pkinase_Tyr-SH2", px)) << p;
        joined += p;
    }
    EXPECT_EQ(joined, word);
    // Even a line narrower than one character takes one code point a line,
    // never half of one.
    const std::vector<std::string> narrow = WrapText("a\u4e2db", 1, px);
    EXPECT_EQ(narrow, (std::vector<std::string>{"a", "\u4e2d", "b"}));
}

} // namespace
