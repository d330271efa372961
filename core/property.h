#pragma once
// A stored property with the host's get/let pair: NAME() reads it, NAME(v) assigns it.
#define QX_PROPERTY(Type, Name)                    \
public:                                            \
    const Type& Name() const { return Name##_; }   \
    void Name(const Type& value) { Name##_ = value; } \
                                                   \
private:                                           \
    Type Name##_{};                                \
                                                   \
public:
