#include "core/vb.h"

#include <gtest/gtest.h>

using namespace lumi;

TEST(Vb, RoundingIsHalfToEvenAndChecksRange) {
    EXPECT_EQ(arrodonir_parell(2.5), 2.0);
    EXPECT_EQ(arrodonir_parell(3.5), 4.0);
    EXPECT_EQ(arrodonir_parell(-2.5), -2.0);
    EXPECT_EQ(arrodonir_parell(1.25 * 2), 2.0);
    EXPECT_EQ(a_enter16(32767.4).value(), 32767);
    EXPECT_FALSE(a_enter16(32767.5).has_value()); // rounds to 32768
    EXPECT_EQ(a_enter16(-32768.5).value(), -32768);
    EXPECT_FALSE(a_enter16(std::numeric_limits<double>::quiet_NaN()).has_value());
    EXPECT_EQ(a_enter32(2147483647.0).value(), 2147483647);
    EXPECT_FALSE(a_enter32(2147483648.0).has_value());
}

TEST(Vb, LeadingNumberReadsLikeTheFormsRuntime) {
    EXPECT_EQ(valor_inicial(QStringLiteral("  12abc")), 12.0);
    EXPECT_EQ(valor_inicial(QStringLiteral("2»a.bmp")), 2.0);
    EXPECT_EQ(valor_inicial(QStringLiteral("-.5")), -0.5);
    EXPECT_EQ(valor_inicial(QStringLiteral("1.5E2x")), 150.0);
    EXPECT_EQ(valor_inicial(QStringLiteral("3E")), 3.0);
    EXPECT_EQ(valor_inicial(QStringLiteral("abc")), 0.0);
    EXPECT_EQ(valor_inicial(QString()), 0.0);
    EXPECT_EQ(valor_inicial(QStringLiteral("&H1F")), 31.0);
    EXPECT_EQ(valor_inicial(QStringLiteral("&HFFFF")), -1.0);
    EXPECT_EQ(valor_inicial(QStringLiteral("&HFFFFFFFFFFFFFFFF")), 18446744073709551615.0);
    // "," is never a decimal separator, whatever the locale.
    EXPECT_EQ(valor_inicial(QStringLiteral("2,5")), 2.0);
}

TEST(Vb, NumbersAsText) {
    EXPECT_EQ(numero_text(125), QStringLiteral(" 125"));
    EXPECT_EQ(numero_text(0), QStringLiteral(" 0"));
    EXPECT_EQ(numero_text(-3), QStringLiteral("-3"));
    EXPECT_EQ(single_text(1.0f), QStringLiteral("1"));
    EXPECT_EQ(single_text(5.0f), QStringLiteral("5"));
    EXPECT_EQ(single_text(2.5f), QStringLiteral("2.5"));
    EXPECT_EQ(single_text(0.1f), QStringLiteral(".1"));
    EXPECT_EQ(single_text(-0.25f), QStringLiteral("-.25"));
    EXPECT_EQ(single_text(1.0f / 3.0f), QStringLiteral(".3333333"));
    EXPECT_EQ(single_text(12345678.0f), QStringLiteral("12345680"));
    EXPECT_EQ(single_text(0.0001f), QStringLiteral(".0001"));
    // Every value written reads back as the same 32-bit float to 7 digits.
    for (float v : {0.3f, 1.7f, 99.9f, 123.456f, 1e-3f}) {
        EXPECT_FLOAT_EQ(single_text(v).toFloat(), v) << v;
    }
}
