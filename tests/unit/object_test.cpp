// Late-bound host objects: members by name without regard to case, error 438
// for a missing member, and Count/Item over an object's items.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/error.h"
#include "core/object.h"
#include "test_support.h"

using qx::MemoryObject;
using qx::Variant;

TEST(MemoryObject, MembersByNameWithoutCaseItemsAnd438ForTheRest) {
    auto form = MemoryObject::create(u"Form");
    form->prop(u"BackColor", std::int32_t{0})
        .method(u"Move", [](const std::vector<Variant>& a) { return a.at(1); })
        .addItem(qx::ObjectRef(MemoryObject::create(u"CommandButton")))
        .addItem(qx::ObjectRef(MemoryObject::create(u"Label")));
    form->set(u"BACKCOLOR", std::int32_t{0xC0C0C0});
    EXPECT_EQ(form->get(u"backcolor").toInt32(), 0xC0C0C0);
    EXPECT_EQ(form->call(u"move", {Variant(std::int16_t{1}), Variant(std::int16_t{2})}).toInt16(), 2);
    EXPECT_RAISES(qx::err::MemberNotSupported, form->set(u"Cation", u"x"));
    EXPECT_RAISES(qx::err::MemberNotSupported, form->set(u"Move", u"x")) << "a method is no assignable property";
    EXPECT_FALSE(form->has(u"Cation")) << "a failed assignment leaves no new member behind";
    // Count and Item over the items, counted from 0.
    EXPECT_EQ(form->get(u"count").toInt32(), 2);
    EXPECT_EQ(form->call(u"ITEM", {Variant(u"1")}).toObject()->typeName(), u"Label");
    EXPECT_RAISES(qx::err::SubscriptOutOfRange, form->call(u"Item", {Variant(std::int16_t{2})}));
}
