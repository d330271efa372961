#pragma once
// The host runtime's screen object and its message pump. Windows answers from
// the system; elsewhere a host may install its own, and sensible headless
// defaults serve until it does.
#include <cstdint>
#include <functional>
#include <memory>

namespace qx {

class Screen {
public:
    virtual ~Screen() = default;
    // Size of the whole screen in twips.
    virtual std::int32_t width() = 0;
    virtual std::int32_t height() = 0;
    virtual std::int32_t twipsPerPixelX() = 0;
    virtual std::int32_t twipsPerPixelY() = 0;
    // 11 is the hourglass, 0 the default pointer.
    virtual std::int16_t mousePointer() = 0;
    virtual void setMousePointer(std::int16_t pointer) = 0;
};

// A screen with fixed figures, for hosts without a display and for tests.
class FixedScreen : public Screen {
public:
    FixedScreen(std::int32_t widthPixels, std::int32_t heightPixels, std::int32_t twipsPerPixel = 15)
        : w_(widthPixels), h_(heightPixels), tpp_(twipsPerPixel) {}
    std::int32_t width() override { return w_ * tpp_; }
    std::int32_t height() override { return h_ * tpp_; }
    std::int32_t twipsPerPixelX() override { return tpp_; }
    std::int32_t twipsPerPixelY() override { return tpp_; }
    std::int16_t mousePointer() override { return pointer_; }
    void setMousePointer(std::int16_t p) override { pointer_ = p; }

private:
    std::int32_t w_;
    std::int32_t h_;
    std::int32_t tpp_;
    std::int16_t pointer_ = 0;
};

// The screen in use: the one the host installed, or the platform's own.
Screen& screen();
// Installs a host's screen for the calling thread; an empty pointer goes back to the platform's own.
void setScreen(std::shared_ptr<Screen> s);

// Lets the thread's pending window messages run once, as the host's DoEvents.
void doEvents();
// Installs the host's own message pump for the calling thread (run by doEvents); empty goes back to the platform's.
void setMessagePump(std::function<void()> pump);
// Whether the calling thread's host installed a message pump.
bool messagePumpInstalled();

}  // namespace qx
