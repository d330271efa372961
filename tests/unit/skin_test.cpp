// Skins on in-memory host forms: which controls each routine touches (by
// exact type name), what it assigns and in which order, that failing steps
// are skipped, and the skin the library stores for its own dialog.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "core/clsQXGenRtns.h"
#include "core/object.h"
#include "core/state.h"
#include "test_support.h"

using qx::MemoryObject;
using qx::String;
using qx::Variant;

namespace {

using Log = std::vector<std::pair<String, std::int32_t>>;

// A control of the given type with the named properties (all starting at 0),
// logging every assignment it receives.
std::shared_ptr<MemoryObject> control(const String& type, std::initializer_list<const char16_t*> props,
                                      std::shared_ptr<Log> log) {
    auto c = MemoryObject::create(type);
    for (const char16_t* p : props) c->prop(p, std::int32_t{0});
    c->onSet([log](const String& name, const Variant& v) { log->emplace_back(name, v.toInt32()); });
    return c;
}

const std::initializer_list<const char16_t*> kButtonProps = {
    u"BackColor",         u"MaskColor",    u"BackColorFocus", u"BackColorOver",    u"BackColorDown", u"ForeColor",
    u"BackColorDisabled", u"ToolTipStyle", u"Appearance",     u"AppearanceThemes", u"GradientType",  u"ForeColorFocus"};

struct TestForm {
    std::shared_ptr<MemoryObject> form = MemoryObject::create(u"Form");
    std::shared_ptr<MemoryObject> controls = MemoryObject::create(u"Object");
    std::shared_ptr<Log> formLog = std::make_shared<Log>();

    TestForm() {
        form->prop(u"BackColor", std::int32_t{0x123456})
            .prop(u"ScaleMode", std::int16_t{1})
            .prop(u"Controls", Variant(qx::ObjectRef(controls)));
        form->method(u"ScaleWidth", [](const std::vector<Variant>&) { return Variant(std::int32_t{300}); });
        form->method(u"ScaleHeight", [](const std::vector<Variant>&) { return Variant(std::int32_t{200}); });
        auto log = formLog;
        form->onSet([log](const String& name, const Variant& v) { log->emplace_back(name, v.toInt32()); });
    }
    void add(const std::shared_ptr<MemoryObject>& c) {
        form->addItem(Variant(qx::ObjectRef(c)));
        controls->addItem(Variant(qx::ObjectRef(c)));
    }
};

std::int32_t value(const std::shared_ptr<MemoryObject>& o, const char16_t* name) { return o->get(name).toInt32(); }

}  // namespace

TEST(Skin, ButtonColourWritesEveryButtonPropertyInOrder) {
    qx::clsQXGenRtns lib;
    TestForm f;
    auto log = std::make_shared<Log>();
    auto fancy = control(u"MyButton", kButtonProps, log);
    f.add(fancy);
    lib.ShowButtonTabColor(f.form, 0x804000);
    const Log expected{{u"BackColor", 0x804000},     {u"MaskColor", 0x804000},    {u"BackColorFocus", 0x804000},
                       {u"BackColorOver", 0x804064}, {u"BackColorDown", 0x40C0},  {u"BackColorDisabled", 0xC0C0C0},
                       {u"MaskColor", 0xFF00FF},     {u"ToolTipStyle", 1},        {u"Appearance", 9},
                       {u"AppearanceThemes", 1},     {u"GradientType", 3}};
    EXPECT_EQ(*log, expected);
}

TEST(Skin, ButtonColourSkipsWhatAControlLacksAndMatchesTypesExactly) {
    qx::clsQXGenRtns lib;
    TestForm f;
    auto log = std::make_shared<Log>();
    auto plain = control(u"CommandButton", {u"BackColor", u"MaskColor", u"BackColorOver"}, log);
    auto lower = control(u"commandbutton", {u"BackColor"}, log);
    auto label = control(u"Label", {u"BackStyle"}, log);
    auto text = control(u"TextBox", {u"BackColor", u"BackStyle"}, log);
    label->prop(u"BackStyle", std::int16_t{1});
    f.add(plain);
    f.add(lower);
    f.add(label);
    f.add(text);
    lib.ShowButtonTabColor(f.form, std::numeric_limits<std::int32_t>::max());
    // The plain button takes what it has; the addition that would overflow is skipped.
    EXPECT_EQ(value(plain, u"BackColor"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(value(plain, u"MaskColor"), 0xFF00FF);
    EXPECT_EQ(value(plain, u"BackColorOver"), 0);
    EXPECT_EQ(value(lower, u"BackColor"), 0);
    EXPECT_EQ(value(label, u"BackStyle"), 0);
    EXPECT_EQ(value(text, u"BackColor"), 0);
    EXPECT_EQ(value(text, u"BackStyle"), 0);
    EXPECT_EQ(log->size(), 4u);  // three writes on the button, one on the label
}

TEST(Skin, TextColourGoesToButtonsAndTabStripsButNotLabels) {
    qx::clsQXGenRtns lib;
    TestForm f;
    auto log = std::make_shared<Log>();
    auto tabs = control(u"SSTab", {u"ForeColor", u"ForeColorFocus"}, log);
    auto button = control(u"MyButton", kButtonProps, log);
    auto label = control(u"Label", {u"ForeColor", u"BackStyle"}, log);
    label->prop(u"BackStyle", std::int16_t{1});
    f.add(tabs);
    f.add(button);
    f.add(label);
    lib.ShowButtonTabTextColor(f.form, 0x00FF00);
    for (const auto& c : {tabs, button}) {
        EXPECT_EQ(value(c, u"ForeColor"), 0x00FF00);
        EXPECT_EQ(value(c, u"ForeColorFocus"), 0x00FF00);
    }
    EXPECT_EQ(value(button, u"BackColor"), 0);
    EXPECT_EQ(value(label, u"ForeColor"), 0);
    EXPECT_EQ(value(label, u"BackStyle"), 0);
}

TEST(Skin, FormColourRecoloursContainersAndRespectsNoChange) {
    qx::clsQXGenRtns lib;
    TestForm f;
    auto log = std::make_shared<Log>();
    auto kept = control(u"Frame", {u"BackColor"}, log);
    kept->prop(u"Tag", u"NoChange");
    auto lowerTag = control(u"Frame", {u"BackColor"}, log);
    lowerTag->prop(u"Tag", u"nochange");
    auto untagged = control(u"PictureBox", {u"BackColor"}, log);  // no Tag at all
    auto check = control(u"CheckBox", {u"BackColor", u"Width", u"Height", u"Tag"}, log);
    auto option = control(u"OptionButton", {u"BackColor", u"Width", u"Height", u"Tag"}, log);
    auto list = control(u"ListBox", {u"BackColor"}, log);
    f.add(kept);
    f.add(lowerTag);
    f.add(untagged);
    f.add(check);
    f.add(option);
    f.add(list);
    lib.ShowFormColor(f.form, 0x00C0FF);
    EXPECT_EQ(value(f.form, u"BackColor"), 0x00C0FF);
    EXPECT_EQ(value(kept, u"BackColor"), 0);
    EXPECT_EQ(value(lowerTag, u"BackColor"), 0x00C0FF);
    EXPECT_EQ(value(untagged, u"BackColor"), 0x00C0FF);
    EXPECT_EQ(value(check, u"BackColor"), 0x00C0FF);
    EXPECT_EQ(std::make_pair(value(check, u"Width"), value(check, u"Height")), std::make_pair(190, 110));
    EXPECT_EQ(std::make_pair(value(option, u"Width"), value(option, u"Height")), std::make_pair(190, 90));
    EXPECT_EQ(value(list, u"BackColor"), 0);
}

TEST(Skin, DisplayColourRecolorsGridsListsAndEveryTreeViewOncePerTreeView) {
    qx::clsQXGenRtns lib;
    TestForm f;
    auto log = std::make_shared<Log>();
    auto grid = control(u"MSHFlexGrid", {u"BackColor", u"BackColorBkg"}, log);
    auto rich = control(u"RichTextBox", {u"BackColor"}, log);
    auto listView = control(u"ListView", {u"BackColor"}, log);
    auto button = control(u"CommandButton", {u"BackColor"}, log);
    f.add(grid);
    f.add(rich);
    f.add(listView);
    f.add(button);
    auto nodeLog = std::make_shared<Log>();
    std::vector<std::shared_ptr<MemoryObject>> nodes;
    for (int t = 0; t < 2; ++t) {
        auto tree = control(u"TreeView", {}, log);
        auto treeNodes = MemoryObject::create(u"Nodes");
        for (int n = 0; n < 2; ++n) {
            nodes.push_back(control(u"Node", {u"BackColor"}, nodeLog));
            treeNodes->addItem(Variant(qx::ObjectRef(nodes.back())));
        }
        tree->prop(u"Nodes", Variant(qx::ObjectRef(treeNodes)));  // no hwnd: that step is skipped
        f.add(tree);
    }
    lib.ShowDisplayColor(f.form, 0x202020);
    EXPECT_EQ(value(grid, u"BackColorBkg"), 0x202020);
    EXPECT_EQ(value(grid, u"BackColor"), 0);
    EXPECT_EQ(value(rich, u"BackColor"), 0x202020);
    EXPECT_EQ(value(listView, u"BackColor"), 0x202020);
    EXPECT_EQ(value(button, u"BackColor"), 0);
    for (const auto& n : nodes) EXPECT_EQ(value(n, u"BackColor"), 0x202020);
    // Each tree view found recolours every tree view of the form: four nodes, twice.
    EXPECT_EQ(nodeLog->size(), 8u);

    nodeLog->clear();
    lib.SetTreeViewBackColor(f.form, 0x303030);
    EXPECT_EQ(nodeLog->size(), 4u);
    lib.SetListViewBackColor(f.form, 0x404040);
    EXPECT_EQ(value(listView, u"BackColor"), 0x404040);
    EXPECT_EQ(value(rich, u"BackColor"), 0x202020);
}

TEST(Skin, SkinItStoresTheSkinAsGivenAndDefaultsToNotGiven) {
    qxtest::runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        TestForm f;
        lib.SkinIt(f.form, 1, 2, 3, 4, 5, 6, qx::cHorizontal);
        const qx::SkinColours& s = qx::state().Skin;
        EXPECT_EQ(s.ButtonColor, 1);
        EXPECT_EQ(s.ButtonTextColor, 2);
        EXPECT_EQ(s.ButtonGradientColor, 3);
        EXPECT_EQ(s.BackgroundColor, 4);
        EXPECT_EQ(s.GradientTarget, 5);
        EXPECT_EQ(s.DisplayColor, 4);
        lib.SkinIt(f.form, 7, 8, -999);
        EXPECT_EQ(s.ButtonGradientColor, -999);
        EXPECT_EQ(s.BackgroundColor, -999);
        EXPECT_EQ(s.GradientTarget, -999);
        EXPECT_EQ(s.DisplayColor, -999);
    });
}

TEST(Skin, SkinItKeepsTheFormsBackgroundWhenNoneIsGivenAndRestoresScaleMode) {
    qx::clsQXGenRtns lib;
    TestForm f;
    auto log = std::make_shared<Log>();
    auto grid = control(u"MSHFlexGrid", {u"BackColorBkg"}, log);
    auto button = control(u"MyButton", kButtonProps, log);
    auto tabs = control(u"SSTab", {u"ForeColor", u"ForeColorFocus"}, log);  // no hWnd: its painting is skipped
    auto frame = control(u"Frame", {u"BackColor"}, log);
    f.add(grid);
    f.add(tabs);
    f.add(button);
    f.add(frame);
    lib.SkinIt(f.form, 0x804000, 0xFFFFFF, 0xC0C0C0);
    EXPECT_EQ(value(f.form, u"BackColor"), 0x123456);
    EXPECT_EQ(value(frame, u"BackColor"), 0x123456);
    EXPECT_EQ(value(grid, u"BackColorBkg"), 0);
    EXPECT_EQ(value(button, u"BackColor"), 0x804000);
    EXPECT_EQ(value(button, u"ForeColor"), 0xFFFFFF);
    EXPECT_EQ(value(tabs, u"ForeColor"), 0xFFFFFF);
    // Pixels while painting the gradient, then the form's own mode again.
    const Log scaleModes = [&] {
        Log out;
        for (const auto& e : *f.formLog)
            if (e.first == u"ScaleMode") out.push_back(e);
        return out;
    }();
    EXPECT_EQ(scaleModes, (Log{{u"ScaleMode", 3}, {u"ScaleMode", 1}}));

    lib.SkinIt(f.form, 0x804000, 0xFFFFFF, 0xC0C0C0, 0x00FF00, -999, 0x0000FF);
    EXPECT_EQ(value(f.form, u"BackColor"), 0x00FF00);
    EXPECT_EQ(value(grid, u"BackColorBkg"), 0x0000FF);
}

TEST(Skin, RoutinesGoOnPastObjectsThatFail) {
    qx::clsQXGenRtns lib;
    // A form without Controls, ScaleMode or anything else: nothing is raised.
    auto bare = MemoryObject::create(u"Form");
    EXPECT_NO_THROW(lib.SkinIt(bare, 1, 2, 3));
    EXPECT_NO_THROW(lib.ShowFormColor(bare, 1));
    EXPECT_NO_THROW(lib.ShowDisplayColor(nullptr, 1));
    EXPECT_NO_THROW(lib.SkinIt(nullptr, 1, 2, 3));
    // A collection holding something that is not an object, then a button.
    TestForm f;
    auto log = std::make_shared<Log>();
    auto button = control(u"CommandButton", {u"BackColor"}, log);
    f.form->addItem(Variant(u"not a control"));
    f.add(button);
    lib.ShowButtonTabColor(f.form, 0x10);
    EXPECT_EQ(value(button, u"BackColor"), 0x10);
}
