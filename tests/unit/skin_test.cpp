// Skins on in-memory host forms: which controls each routine touches (by exact type name), what
// it assigns and in which order, and that failing steps are skipped.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "core/clsQXGenRtns.h"
#include "form_support.h"

using qx::String;
using qx::Variant;
using Log = std::vector<std::pair<String, std::int32_t>>;

namespace {

// A control with the named properties (all starting at 0), logging what is assigned to it.
qxtest::MemoryRef control(const String& type, std::initializer_list<const char16_t*> props, Log* log = nullptr) {
    auto c = qx::MemoryObject::create(type);
    for (const char16_t* p : props) c->prop(p, std::int32_t{0});
    if (log) c->onSet([log](const String& name, const Variant& v) { log->emplace_back(name, v.toInt32()); });
    return c;
}

std::int32_t value(const qxtest::MemoryRef& o, const char16_t* name) { return o->get(name).toInt32(); }

}  // namespace

TEST(Skin, ButtonColoursGoToButtonsOfTheExactTypesInOrder) {
    qx::clsQXGenRtns lib;
    Log log;
    auto fancy = control(u"MyButton",
                         {u"BackColor", u"MaskColor", u"BackColorFocus", u"BackColorOver", u"BackColorDown",
                          u"BackColorDisabled", u"ToolTipStyle", u"Appearance", u"AppearanceThemes", u"GradientType"},
                         &log);
    auto plain = control(u"CommandButton", {u"BackColor", u"BackColorOver"});
    auto lower = control(u"commandbutton", {u"BackColor"});
    auto label = control(u"Label", {u"ForeColor"});
    label->prop(u"BackStyle", std::int16_t{1});
    auto tabs = control(u"SSTab", {u"ForeColor", u"ForeColorFocus"});
    auto f = qxtest::form(u"frm", {fancy, label, lower, tabs, plain});
    lib.ShowButtonTabColor(f, 0x804000);
    const Log expected{{u"BackColor", 0x804000},     {u"MaskColor", 0x804000},    {u"BackColorFocus", 0x804000},
                       {u"BackColorOver", 0x804064}, {u"BackColorDown", 0x40C0},  {u"BackColorDisabled", 0xC0C0C0},
                       {u"MaskColor", 0xFF00FF},     {u"ToolTipStyle", 1},        {u"Appearance", 9},
                       {u"AppearanceThemes", 1},     {u"GradientType", 3}};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(value(plain, u"BackColor"), 0x804000);  // reached past what it lacks
    EXPECT_EQ(value(lower, u"BackColor") + value(label, u"BackStyle"), 0);
    // The addition that would overflow is skipped; the rest is written.
    lib.ShowButtonTabColor(f, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(value(plain, u"BackColorOver"), 0x804064);
    EXPECT_EQ(value(plain, u"BackColor"), std::numeric_limits<std::int32_t>::max());
    // The text colour goes to tab strips too, and not to labels.
    lib.ShowButtonTabTextColor(f, 0x00FF00);
    EXPECT_EQ(value(tabs, u"ForeColor") + value(tabs, u"ForeColorFocus"), 2 * 0x00FF00);
    EXPECT_EQ(value(label, u"ForeColor"), 0);
}

TEST(Skin, FormDisplayAndWholeSkinsPickTheirControls) {
    qx::clsQXGenRtns lib;
    auto kept = control(u"Frame", {u"BackColor"});
    kept->prop(u"Tag", u"NoChange");
    auto lowerTag = control(u"PictureBox", {u"BackColor"});
    lowerTag->prop(u"Tag", u"nochange");
    auto check = control(u"CheckBox", {u"BackColor", u"Width", u"Height"});
    auto option = control(u"OptionButton", {u"Width", u"Height"});
    auto grid = control(u"MSHFlexGrid", {u"BackColor", u"BackColorBkg"});
    auto list = control(u"ListBox", {u"BackColor"});
    auto listView = control(u"ListView", {u"BackColor"});
    auto button = control(u"CommandButton", {u"BackColor"});
    Log nodeLog;
    auto nodes = qx::MemoryObject::create(u"Nodes");
    for (int n = 0; n < 2; ++n) nodes->addItem(Variant(qx::ObjectRef(control(u"Node", {u"BackColor"}, &nodeLog))));
    auto tree = control(u"TreeView", {});
    tree->prop(u"Nodes", Variant(qx::ObjectRef(nodes)));  // no hWnd: that step is skipped
    auto f = qxtest::form(u"frm", {kept, lowerTag, check, option, grid, tree, list, listView, tree, button});
    lib.ShowFormColor(f, 0x00C0FF);
    EXPECT_EQ(value(f, u"BackColor") + value(lowerTag, u"BackColor") + value(check, u"BackColor"), 3 * 0x00C0FF);
    EXPECT_EQ(value(kept, u"BackColor") + value(list, u"BackColor") + value(grid, u"BackColor"), 0);
    EXPECT_EQ(std::vector<std::int32_t>({value(check, u"Width"), value(check, u"Height"), value(option, u"Width"),
                                         value(option, u"Height")}),
              std::vector<std::int32_t>({190, 110, 190, 90}));

    lib.ShowDisplayColor(f, 0x202020);
    EXPECT_EQ(value(grid, u"BackColorBkg"), 0x202020);
    EXPECT_EQ(value(list, u"BackColor") + value(listView, u"BackColor"), 2 * 0x202020);
    EXPECT_EQ(value(grid, u"BackColor"), 0);
    // Each tree view found recolours every tree view of the form: two nodes, twice per tree view.
    EXPECT_EQ(nodeLog, Log(8, {u"BackColor", 0x202020}));
    lib.SetListViewBackColor(f, 0x404040);
    EXPECT_EQ(value(list, u"BackColor") + value(listView, u"BackColor"), 0x202020 + 0x404040);

    // A whole skin keeps the form's own background when none is given, and its scale mode.
    Log scaleModes;
    f->onSet([&](const String& name, const Variant& v) {
        if (name == u"ScaleMode") scaleModes.emplace_back(name, v.toInt32());
    });
    f->set(u"BackColor", std::int32_t{0x123456});
    lib.SkinIt(f, 0x804000, 0xFFFFFF, 0xC0C0C0);
    EXPECT_EQ(value(lowerTag, u"BackColor") + value(button, u"BackColor"), 0x123456 + 0x804000);
    EXPECT_EQ(value(grid, u"BackColorBkg"), 0x202020);
    // Pixels while painting the gradient, then the form's own mode again.
    EXPECT_EQ(scaleModes, (Log{{u"ScaleMode", 3}, {u"ScaleMode", 1}}));
    lib.SkinIt(f, 1, 2, 3, 0x00FF00, 5, 0x0000FF, qx::cHorizontal);
    EXPECT_EQ(value(f, u"BackColor") + value(grid, u"BackColorBkg"), 0x00FF00 + 0x0000FF);
    EXPECT_NO_THROW(lib.SkinIt(qx::MemoryObject::create(u"Form"), 1, 2, 3));  // a form without members
}
