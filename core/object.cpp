#include "core/object.h"

#include "core/error.h"

namespace qx {

MemoryObject::MemoryObject(String typeName) : typeName_(std::move(typeName)) {}

std::shared_ptr<MemoryObject> MemoryObject::create(String typeName) {
    return std::make_shared<MemoryObject>(std::move(typeName));
}

MemoryObject& MemoryObject::prop(const String& name, Variant value) {
    props_[name] = std::move(value);
    return *this;
}

MemoryObject& MemoryObject::method(const String& name, Method m) {
    methods_[name] = std::move(m);
    return *this;
}

MemoryObject& MemoryObject::addItem(Variant item) {
    items_.push_back(std::move(item));
    return *this;
}

MemoryObject& MemoryObject::onSet(std::function<void(const String&, const Variant&)> hook) {
    onSet_ = std::move(hook);
    return *this;
}

bool MemoryObject::has(const String& name) {
    if (props_.count(name) || methods_.count(name)) return true;
    return !items_.empty() && (equalsNoCase(name, u"Count") || equalsNoCase(name, u"Item"));
}

Variant MemoryObject::get(const String& name) {
    if (auto p = props_.find(name); p != props_.end()) return p->second;
    return call(name, {});
}

void MemoryObject::set(const String& name, const Variant& value) {
    auto p = props_.find(name);
    if (p == props_.end()) raise(err::MemberNotSupported);
    p->second = value;
    if (onSet_) onSet_(p->first, value);
}

Variant MemoryObject::call(const String& name, const std::vector<Variant>& args) {
    if (auto m = methods_.find(name); m != methods_.end()) return m->second(args);
    if (!items_.empty() && !props_.count(name)) {
        if (equalsNoCase(name, u"Count")) return static_cast<std::int32_t>(items_.size());
        if (equalsNoCase(name, u"Item")) {
            if (args.size() != 1) raise(err::InvalidProcedureCall);
            const std::int32_t i = args[0].toInt32();
            if (i < 0 || static_cast<std::size_t>(i) >= items_.size()) raise(err::SubscriptOutOfRange);
            return items_[static_cast<std::size_t>(i)];
        }
    }
    if (args.empty()) {
        if (auto p = props_.find(name); p != props_.end()) return p->second;
    }
    raise(err::MemberNotSupported);
}

}  // namespace qx
