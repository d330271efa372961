// The host's coercion rules on variants: numbers from text, booleans as -1,
// Null and non-objects raising the runtime's errors.
#include <gtest/gtest.h>

#include <cstdint>

#include "core/error.h"
#include "core/object.h"
#include "core/variant.h"
#include "test_support.h"

using qx::Variant;

TEST(VariantCoercion, TextToNumber) {
    EXPECT_EQ(Variant(u"12").toInt16(), 12);
    EXPECT_EQ(Variant(u"  12 ").toInt32(), 12);
    EXPECT_EQ(Variant(u"-2.5").toInt16(), -2);
    EXPECT_EQ(Variant(u"1.5E2").toDouble(), 150.0);
    EXPECT_EQ(Variant(u"&HFFFF").toInt16(), -1);  // four hex digits are a 16-bit value
    EXPECT_EQ(Variant(u"&H10000").toInt32(), 65536);
    EXPECT_EQ(Variant(u"&HFFFFFFFF").toInt32(), -1);
    EXPECT_EQ(Variant(u"&O177777").toInt16(), -1);  // octal by the same widths
    EXPECT_EQ(Variant(u"&O200000").toInt32(), 65536);
    EXPECT_RAISES(qx::err::Overflow, Variant(u"&H100000000").toInt32());
    EXPECT_EQ(Variant(u"true").toInt16(), -1);

    EXPECT_RAISES(qx::err::TypeMismatch, Variant(u"abc").toInt16());
    EXPECT_RAISES(qx::err::TypeMismatch, Variant(u"12abc").toDouble());
    EXPECT_RAISES(qx::err::TypeMismatch, Variant(u"").toInt32());
    EXPECT_RAISES(qx::err::TypeMismatch, Variant(u"yes").toBool());
    EXPECT_RAISES(qx::err::Overflow, Variant(u"40000").toInt16());
}

TEST(VariantCoercion, BooleansAndWidths) {
    EXPECT_EQ(Variant(true).toInt16(), -1);
    EXPECT_EQ(Variant(false).toInt32(), 0);
    EXPECT_EQ(Variant(true).toString(), u"True");
    EXPECT_TRUE(Variant(std::int32_t{2}).toBool());
    EXPECT_FALSE(Variant(u"0").toBool());

    EXPECT_EQ(Variant(std::int32_t{-32768}).toInt16(), -32768);
    EXPECT_RAISES(qx::err::Overflow, Variant(std::int32_t{40000}).toInt16());
    EXPECT_RAISES(qx::err::Overflow, Variant(std::int32_t{256}).toByte());
    EXPECT_EQ(Variant(std::int16_t{-5}).toInt32(), -5);
}

TEST(VariantCoercion, EmptyNullAndObjects) {
    EXPECT_EQ(Variant().toInt16(), 0);
    EXPECT_EQ(Variant().toString(), u"");
    EXPECT_RAISES(qx::err::InvalidUseOfNull, Variant::null().toInt16());
    EXPECT_RAISES(qx::err::InvalidUseOfNull, Variant::null().toString());

    EXPECT_RAISES(qx::err::TypeMismatch, Variant(u"App").toObject());
    EXPECT_RAISES(qx::err::TypeMismatch, Variant(std::int32_t{1}).toObject());
    EXPECT_EQ(Variant::nothing().toObject(), nullptr);
    const qx::ObjectRef obj = qx::MemoryObject::create();
    EXPECT_EQ(Variant(obj).toObject(), obj);
    EXPECT_RAISES(qx::err::TypeMismatch, Variant(obj).toInt16());

    EXPECT_RAISES(qx::err::TypeMismatch, Variant(u"a").toArray());
    const Variant arr(Variant::Array{Variant(std::int16_t{1}), Variant(u"b")});
    ASSERT_EQ(arr.toArray().size(), 2u);
    EXPECT_EQ(arr.toArray()[1].toString(), u"b");
}

TEST(VariantTypeName, NamesEveryKind) {
    EXPECT_EQ(Variant().typeName(), u"Empty");
    EXPECT_EQ(Variant::null().typeName(), u"Null");
    EXPECT_EQ(Variant(std::int16_t{1}).typeName(), u"Integer");
    EXPECT_EQ(Variant(std::int32_t{1}).typeName(), u"Long");
    EXPECT_EQ(Variant::date(1.0).typeName(), u"Date");
    EXPECT_EQ(Variant(u"x").typeName(), u"String");
    EXPECT_EQ(Variant::nothing().typeName(), u"Nothing");
    EXPECT_EQ(Variant(qx::ObjectRef(qx::MemoryObject::create(u"CommandButton"))).typeName(), u"CommandButton");
}
