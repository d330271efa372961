#pragma once
// The host's late-bound object: forms, controls, collections and the host
// application object all reach the library through this interface. Members are
// found by name without regard to case; a missing member raises error 438.
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "core/variant.h"

namespace qx {

class Object {
public:
    virtual ~Object() = default;

    // Reads a property, or calls a member that takes no arguments.
    virtual Variant get(const String& name) = 0;
    virtual void set(const String& name, const Variant& value) = 0;
    virtual Variant call(const String& name, const std::vector<Variant>& args) = 0;
    // The runtime's type name of the object ("Form", "CommandButton", ...).
    virtual String typeName() = 0;
    // The items the object enumerates, in order (a form yields its controls).
    virtual std::vector<Variant> items() = 0;
    // Whether the object has a member of this name.
    virtual bool has(const String& name) = 0;
};

// An object built in memory by a C++ host or a test: named properties,
// methods, and items for enumeration. When no "Count" or "Item" member is
// defined and the object has items, "Count" gives their number and
// "Item"(i) the item at index i, counted from 0.
class MemoryObject : public Object, public std::enable_shared_from_this<MemoryObject> {
public:
    using Method = std::function<Variant(const std::vector<Variant>&)>;

    explicit MemoryObject(String typeName = u"Object");
    static std::shared_ptr<MemoryObject> create(String typeName = u"Object");

    MemoryObject& prop(const String& name, Variant value);
    MemoryObject& method(const String& name, Method m);
    MemoryObject& addItem(Variant item);
    // Runs after every assignment to a property (name, new value): lets a test or host react.
    MemoryObject& onSet(std::function<void(const String&, const Variant&)> hook);

    Variant get(const String& name) override;
    void set(const String& name, const Variant& value) override;
    Variant call(const String& name, const std::vector<Variant>& args) override;
    String typeName() override { return typeName_; }
    std::vector<Variant> items() override { return items_; }
    bool has(const String& name) override;

private:
    String typeName_;
    std::map<String, Variant, NoCaseLess> props_;
    std::map<String, Method, NoCaseLess> methods_;
    std::vector<Variant> items_;
    std::function<void(const String&, const Variant&)> onSet_;
};

}  // namespace qx
