#include "core/variant.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/date.h"
#include "core/error.h"
#include "core/numeric.h"
#include "core/object.h"

namespace qx {

Variant::Type Variant::type() const {
    switch (v_.index()) {
        case 0: return Type::vbEmpty;
        case 1: return Type::vbNull;
        case 2: return Type::vbInteger;
        case 3: return Type::vbLong;
        case 4: return Type::vbDouble;
        case 5: return Type::vbDate;
        case 6: return Type::vbString;
        case 7: return Type::vbObject;
        case 8: return Type::vbBoolean;
        case 9: return Type::vbByte;
        case 10: return Type::vbArray;
        default: return Type::vbError;
    }
}

bool Variant::isNumeric() const {
    switch (type()) {
        case Type::vbInteger:
        case Type::vbLong:
        case Type::vbDouble:
        case Type::vbByte:
        case Type::vbBoolean:
            return true;
        default:
            return false;
    }
}

String numberToText(double v) {
    if (v == 0) return u"0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", v);
    std::string s(buf);
    // Drop trailing zeros of the mantissa, then a trailing point.
    const auto e = s.find('E');
    std::string mant = s.substr(0, e);
    std::string expo = e == std::string::npos ? "" : s.substr(e);
    if (mant.find('.') != std::string::npos) {
        while (!mant.empty() && mant.back() == '0') mant.pop_back();
        if (!mant.empty() && mant.back() == '.') mant.pop_back();
    }
    if (!expo.empty()) {
        // E+020 -> E+20, as the host writes exponents.
        const char sign = expo[1];
        std::string digits = expo.substr(2);
        while (digits.size() > 1 && digits[0] == '0') digits.erase(0, 1);
        expo = std::string("E") + sign + digits;
    }
    return fromUtf8(mant + expo);
}

bool parseNumber(const String& text, double& out) {
    const std::string s = toUtf8(trim(text));
    if (s.empty()) return false;
    if (s.size() > 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        const bool hex = s[1] == 'H' || s[1] == 'h';
        char* end = nullptr;
        errno = 0;
        const unsigned long long u = std::strtoull(s.c_str() + 2, &end, hex ? 16 : 8);
        if (*end != '\0' || s[2] == '-' || s[2] == '+') return false;
        // Up to 16 bits the literal is a 16-bit value, up to 32 bits a 32-bit
        // one, both signed (&HFFFF is -1); beyond that it overflows.
        if (errno == ERANGE || u > 0xFFFFFFFFull) raise(err::Overflow);
        if (u <= 0xFFFFull) out = static_cast<std::int16_t>(static_cast<std::uint16_t>(u));
        else out = static_cast<std::int32_t>(static_cast<std::uint32_t>(u));
        return true;
    }
    for (const char c : s)
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return false;
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    return end != nullptr && *end == '\0';
}

String Variant::toString() const {
    switch (type()) {
        case Type::vbEmpty: return {};
        case Type::vbNull: raise(err::InvalidUseOfNull);
        case Type::vbInteger: return toDecimal(std::get<std::int16_t>(v_));
        case Type::vbLong: return toDecimal(std::get<std::int32_t>(v_));
        case Type::vbByte: return toDecimal(std::get<std::uint8_t>(v_));
        case Type::vbDouble: return numberToText(std::get<double>(v_));
        case Type::vbDate: return dateToText(std::get<DateTag>(v_).value);
        case Type::vbString: return std::get<String>(v_);
        case Type::vbBoolean: return std::get<bool>(v_) ? u"True" : u"False";
        default: raise(err::TypeMismatch);
    }
}

double Variant::toDouble() const {
    switch (type()) {
        case Type::vbEmpty: return 0;
        case Type::vbNull: raise(err::InvalidUseOfNull);
        case Type::vbInteger: return std::get<std::int16_t>(v_);
        case Type::vbLong: return std::get<std::int32_t>(v_);
        case Type::vbByte: return std::get<std::uint8_t>(v_);
        case Type::vbDouble: return std::get<double>(v_);
        case Type::vbDate: return std::get<DateTag>(v_).value;
        case Type::vbBoolean: return std::get<bool>(v_) ? -1 : 0;
        case Type::vbString: {
            const String& s = std::get<String>(v_);
            double d = 0;
            if (parseNumber(s, d)) return d;
            if (equalsNoCase(trim(s), u"True")) return -1;
            if (equalsNoCase(trim(s), u"False")) return 0;
            raise(err::TypeMismatch);
        }
        default: raise(err::TypeMismatch);
    }
}

std::int16_t Variant::toInt16() const {
    if (type() == Type::vbInteger) return std::get<std::int16_t>(v_);
    return qx::toInt16(toDouble());
}

std::int32_t Variant::toInt32() const {
    if (type() == Type::vbLong) return std::get<std::int32_t>(v_);
    return qx::toInt32(toDouble());
}

std::uint8_t Variant::toByte() const {
    if (type() == Type::vbByte) return std::get<std::uint8_t>(v_);
    return qx::toByte(toDouble());
}

bool Variant::toBool() const {
    if (type() == Type::vbBoolean) return std::get<bool>(v_);
    return toDouble() != 0;
}

double Variant::toDate() const {
    switch (type()) {
        case Type::vbDate: return std::get<DateTag>(v_).value;
        case Type::vbString: {
            double d = 0;
            if (parseNumber(std::get<String>(v_), d)) return d;
            return textToDate(std::get<String>(v_));
        }
        default: return toDouble();
    }
}

ObjectRef Variant::toObject() const {
    if (type() != Type::vbObject) raise(err::TypeMismatch);
    return std::get<ObjectRef>(v_);
}

const Variant::Array& Variant::toArray() const {
    if (type() != Type::vbArray) raise(err::TypeMismatch);
    return *std::get<std::shared_ptr<Array>>(v_);
}

String Variant::typeName() const {
    switch (type()) {
        case Type::vbEmpty: return u"Empty";
        case Type::vbNull: return u"Null";
        case Type::vbInteger: return u"Integer";
        case Type::vbLong: return u"Long";
        case Type::vbDouble: return u"Double";
        case Type::vbDate: return u"Date";
        case Type::vbString: return u"String";
        case Type::vbBoolean: return u"Boolean";
        case Type::vbByte: return u"Byte";
        case Type::vbArray: return u"Variant()";
        case Type::vbError: return u"Error";
        case Type::vbObject: {
            const ObjectRef& o = std::get<ObjectRef>(v_);
            return o ? o->typeName() : u"Nothing";
        }
    }
    return {};
}

bool Variant::operator==(const Variant& o) const {
    if (type() == Type::vbArray && o.type() == Type::vbArray) return toArray() == o.toArray();
    if (type() == Type::vbDate || o.type() == Type::vbDate) return type() == o.type() && toDate() == o.toDate();
    return v_ == o.v_;
}

}  // namespace qx
