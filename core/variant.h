#pragma once
// The host's variant: a tagged value that may hold a number, text, a date, a
// boolean, an object, an array of variants, or nothing. Conversions follow the
// host runtime's coercion rules and raise its error numbers.
#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

#include "core/qxstring.h"

namespace qx {

class Object;
using ObjectRef = std::shared_ptr<Object>;

class Variant {
public:
    // Named as the host's VarType constants; vbError is a left-out optional argument.
    enum class Type { vbEmpty, vbNull, vbInteger, vbLong, vbDouble, vbDate, vbString, vbObject, vbBoolean, vbByte, vbArray, vbError };

    struct NullTag {
        friend bool operator==(NullTag, NullTag) { return true; }
    };
    struct MissingTag {
        friend bool operator==(MissingTag, MissingTag) { return true; }
    };
    struct DateTag {
        double value;
        friend bool operator==(DateTag a, DateTag b) { return a.value == b.value; }
    };
    using Array = std::vector<Variant>;

    Variant() = default;
    Variant(std::int16_t v) : v_(v) {}
    Variant(std::int32_t v) : v_(v) {}
    Variant(double v) : v_(v) {}
    Variant(bool v) : v_(v) {}
    Variant(std::uint8_t v) : v_(v) {}
    Variant(String v) : v_(std::move(v)) {}
    Variant(const char16_t* v) : v_(String(v)) {}
    Variant(ObjectRef v) : v_(std::move(v)) {}
    Variant(Array v) : v_(std::make_shared<Array>(std::move(v))) {}

    static Variant null() { return Variant(NullTag{}); }
    // An optional argument that the caller left out.
    static Variant missing() { return Variant(MissingTag{}); }
    static Variant date(double d) { return Variant(DateTag{d}); }
    // An object variable that holds Nothing.
    static Variant nothing() { return Variant(ObjectRef{}); }

    Type type() const;
    bool isEmpty() const { return type() == Type::vbEmpty; }
    bool isMissing() const { return type() == Type::vbError; }
    bool isObject() const { return type() == Type::vbObject; }
    bool isNumeric() const;

    // Coercions, as the host runtime's CStr, CInt, CLng, CDbl, CBool, CByte, CDate.
    String toString() const;
    std::int16_t toInt16() const;
    std::int32_t toInt32() const;
    double toDouble() const;
    bool toBool() const;
    std::uint8_t toByte() const;
    double toDate() const;
    // The object held; raises 13 when the variant holds no object. Nothing gives a null reference.
    ObjectRef toObject() const;
    // The elements of an array; raises 13 when the variant holds no array.
    const Array& toArray() const;

    // Host runtime's TypeName of the value ("String", "Integer", "Nothing", ...).
    String typeName() const;

    bool operator==(const Variant& o) const;
    bool operator!=(const Variant& o) const { return !(*this == o); }

private:
    explicit Variant(NullTag t) : v_(t) {}
    explicit Variant(MissingTag t) : v_(t) {}
    explicit Variant(DateTag t) : v_(t) {}

    std::variant<std::monostate, NullTag, std::int16_t, std::int32_t, double, DateTag, String, ObjectRef, bool,
                 std::uint8_t, std::shared_ptr<Array>, MissingTag>
        v_;
};

// Text of a double as the host writes it: up to 15 significant digits, no trailing zeros.
String numberToText(double v);
// Parses text as a number the way the host's coercion does (surrounding spaces,
// sign, decimals, exponent, &H and &O prefixes); false when it is not a number.
bool parseNumber(const String& text, double& out);

}  // namespace qx
