// The host's coercion rules on variants: numbers from text, booleans as -1,
// Null and non-objects raising the runtime's errors.
#include <gtest/gtest.h>

#include <cstdint>

#include "core/error.h"
#include "core/variant.h"
#include "test_support.h"

using qx::Variant;

TEST(VariantCoercion, TextBooleansNullAndObjects) {
    EXPECT_EQ(Variant(u"  12 ").toInt32(), 12);
    EXPECT_EQ(Variant(u"-2.5").toInt16(), -2);
    EXPECT_EQ(Variant(u"1.5E2").toDouble(), 150.0);
    // Four hex digits (six octal) are a 16-bit value; more make a 32-bit one.
    EXPECT_EQ(Variant(u"&HFFFF").toInt16(), -1);
    EXPECT_EQ(Variant(u"&H10000").toInt32(), 65536);
    EXPECT_EQ(Variant(u"&O177777").toInt16(), -1);
    EXPECT_RAISES(qx::err::Overflow, Variant(u"&H100000000").toInt32());
    EXPECT_RAISES(qx::err::Overflow, Variant(u"40000").toInt16());
    EXPECT_RAISES(qx::err::TypeMismatch, Variant(u"12abc").toDouble());
    EXPECT_RAISES(qx::err::TypeMismatch, Variant(u"").toInt32());
    EXPECT_EQ(Variant(u"true").toInt16(), -1);
    EXPECT_EQ(Variant(true).toString(), u"True");
    EXPECT_RAISES(qx::err::TypeMismatch, Variant(u"yes").toBool());
    EXPECT_RAISES(qx::err::InvalidUseOfNull, Variant::null().toString());
    EXPECT_RAISES(qx::err::TypeMismatch, Variant(u"App").toObject());
    EXPECT_EQ(Variant::nothing().toObject(), nullptr);
}
