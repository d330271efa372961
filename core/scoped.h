// Owners of system resources that must be given back (descriptors, handles,
// keys), and the retry of a call a signal interrupted. The owner template is
// portable; the kinds of resource live in core/scoped_posix.h and
// core/scoped_win.h, so that a portable file never sees a system header.
#pragma once

#include <cerrno>

namespace qx {

// Owns one resource described by Traits:
//   using Value = ...;                 the resource's type
//   static Value none();               the value that owns nothing
//   static bool valid(Value);          whether a value is a resource to give back
//   static bool close(Value);          gives it back; false when that failed
template <class Traits>
class Scoped {
public:
    using Value = typename Traits::Value;

    Scoped() noexcept : value_(Traits::none()) {}
    explicit Scoped(Value value) noexcept : value_(value) {}
    ~Scoped() { reset(); }
    Scoped(Scoped&& other) noexcept : value_(other.release()) {}
    Scoped& operator=(Scoped&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;

    Value get() const noexcept { return value_; }
    bool valid() const noexcept { return Traits::valid(value_); }
    explicit operator bool() const noexcept { return valid(); }

    // Gives up ownership without closing.
    Value release() noexcept {
        const Value value = value_;
        value_ = Traits::none();
        return value;
    }
    // Closes what is owned (a failure goes unseen) and takes `value` instead.
    void reset(Value value = Traits::none()) noexcept {
        const Value old = value_;
        value_ = value;
        if (Traits::valid(old)) Traits::close(old);
    }
    // Closes now and reports whether the close itself succeeded (it can carry
    // a delayed write error); owning nothing counts as success.
    bool close() noexcept {
        if (!valid()) return true;
        return Traits::close(release());
    }
    // For a call that returns a new resource through a pointer: closes what is
    // owned and hands out the place for the new one.
    Value* put() noexcept {
        reset();
        return &value_;
    }

private:
    Value value_;
};

// Calls `call` again for as long as it fails (a negative result) with EINTR,
// a signal arriving before it could do anything; returns its last result,
// errno left as that call set it.
template <class Call>
auto retryOnEintr(Call&& call) -> decltype(call()) {
    for (;;) {
        const auto result = call();
        if (!(result < 0 && errno == EINTR)) return result;
    }
}

}  // namespace qx
