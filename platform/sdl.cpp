// The SDL2 backend. The window is drawn through SDL's window surface (software only: no GL
// stack is loaded, which keeps the waiting game small), and every present copies the whole
// platform framebuffer into it.
//
// Input is read from SDL's event queue, not from polled device state, so that nothing is lost
// between two polls: a press and its release that arrive together (a quick click) are reported
// in two consecutive polls, the press first. Keys are queued as they are typed.
#include "platform/sdl.h"

#include "platform/cp437.h"
#include "platform/platform.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <poll.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>
#include <string>

namespace platform::sdl {
namespace {

// Classic PC extended key codes for the keys the toolkit knows.
int extendedCode(SDL_Keycode key) {
    switch (key) {
    case SDLK_UP:
        return 72;
    case SDLK_DOWN:
        return 80;
    case SDLK_LEFT:
        return 75;
    case SDLK_RIGHT:
        return 77;
    case SDLK_HOME:
        return 71;
    case SDLK_END:
        return 79;
    case SDLK_PAGEUP:
        return 73;
    case SDLK_PAGEDOWN:
        return 81;
    case SDLK_INSERT:
        return 82;
    case SDLK_DELETE:
        return 83;
    case SDLK_F11:
        return 133;
    case SDLK_F12:
        return 134;
    default:
        if (key >= SDLK_F1 && key <= SDLK_F10) {
            return 59 + (key - SDLK_F1);
        }
        return -1;
    }
}

// Keys that type a control character rather than text.
int controlCode(SDL_Keycode key) {
    switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return '\r';
    case SDLK_BACKSPACE:
        return '\b';
    case SDLK_TAB:
        return '\t';
    case SDLK_ESCAPE:
        return 27;
    default:
        return -1;
    }
}

int buttonBit(Uint8 button) {
    switch (button) {
    case SDL_BUTTON_LEFT:
        return 1;
    case SDL_BUTTON_RIGHT:
        return 2;
    case SDL_BUTTON_MIDDLE:
        return 4;
    default:
        return 0;
    }
}

class SdlBackend final : public Backend {
public:
    ~SdlBackend() override { close(); }

    bool open(int w, int h) override {
        close();
        // The window surface must stay a plain memory framebuffer: an accelerated one pulls in a
        // GL driver stack many times the size of the game.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
        // The X window system first (SDL would try Wayland before it); SDL_VIDEODRIVER in the
        // environment still decides.
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11,wayland", SDL_HINT_DEFAULT);
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            return false;
        }
        window = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h,
                                  SDL_WINDOW_SHOWN);
        if (window == nullptr) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            return false;
        }
        width = w;
        height = h;
        pointerX = -1;
        pointerY = -1;
        buttons = 0;
        wheel = 0;
        inside = false;
        closeQueued = false;
        pending.clear();
        keys.clear();
        if (!title.empty()) {
            SDL_SetWindowTitle(window, title.c_str());
        }
        SDL_StartTextInput();
        xConnection = -1;
        nextFullPump = 0;
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (SDL_GetWindowWMInfo(window, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11) {
            xConnection = ConnectionNumber(info.info.x11.display);
        }
        return true;
    }

    void close() override {
        if (window == nullptr) {
            return;
        }
        SDL_StopTextInput();
        SDL_DestroyWindow(window);
        window = nullptr;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        // Nothing else of SDL is in use: release what it set up behind the subsystems too
        // (its D-Bus connection).
        if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) {
            SDL_Quit();
        }
    }

    void setTitle(std::string_view cp437Title) override {
        title = cp437ToUtf8(cp437Title);
        if (window != nullptr) {
            SDL_SetWindowTitle(window, title.c_str());
        }
    }

    void present(const std::uint32_t* pixels, int w, int h, int stride) override {
        if (window == nullptr || pixels == nullptr) {
            return;
        }
        SDL_Surface* surface = SDL_GetWindowSurface(window);
        if (surface == nullptr) {
            return;
        }
        const int rows = std::min(h, surface->h);
        const int columns = std::min(w, surface->w);
        if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) {
            return;
        }
        // The platform's 0xAARRGGBB is the X server's usual 32-bit layout: a plain row copy.
        if (surface->format->format == SDL_PIXELFORMAT_RGB888 ||
            surface->format->format == SDL_PIXELFORMAT_ARGB8888) {
            for (int y = 0; y < rows; ++y) {
                std::memcpy(static_cast<unsigned char*>(surface->pixels) +
                                static_cast<std::ptrdiff_t>(y) * surface->pitch,
                            reinterpret_cast<const unsigned char*>(pixels) +
                                static_cast<std::ptrdiff_t>(y) * stride,
                            static_cast<std::size_t>(columns) * 4);
            }
        } else {
            SDL_ConvertPixels(columns, rows, SDL_PIXELFORMAT_ARGB8888, pixels, stride,
                              surface->format->format, surface->pixels, surface->pitch);
        }
        if (SDL_MUSTLOCK(surface)) {
            SDL_UnlockSurface(surface);
        }
        SDL_UpdateWindowSurface(window);
        nextFullPump = 0;
    }

    MouseState queryMouse(bool& dirty) override {
        if (window == nullptr) {
            return MouseState{};
        }
        const bool exposed = pump();
        pumpedForKeys = true;
        applyPendingMouse();
        if (dirty || exposed) {
            present(framePixels(), width, height, width * 4);
            dirty = false;
        }
        MouseState mouse;
        mouse.x = inside ? pointerX : -1;
        mouse.y = inside ? pointerY : -1;
        mouse.wheel = wheel;
        mouse.buttons = buttons;
        return mouse;
    }

    std::string readKey() override {
        // The usual poll reads the pointer and then the key: one pump serves both.
        if (window != nullptr && keys.empty() && !pumpedForKeys && pump()) {
            present(framePixels(), width, height, width * 4);
        }
        pumpedForKeys = false;
        if (keys.empty()) {
            return {};
        }
        std::string key = std::move(keys.front());
        keys.pop_front();
        return key;
    }

    void sleepMs(int ms) override { SDL_Delay(static_cast<Uint32>(ms)); }

    std::uint64_t nowMs() override { return SDL_GetTicks64(); }

private:
    // Moves every waiting event into the pending pointer events or the key queue; true when
    // the window needs its picture again.
    bool pump() {
        if (!worthPumping()) {
            return false;
        }
        bool exposed = false;
        closeQueued = false;
        SDL_PumpEvents();
        // SDL_PollEvent would pump again for every event it returns; the poll runs every
        // millisecond, so the queue is drained without that.
        SDL_Event event;
        while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
            exposed = take(event) || exposed;
        }
        return exposed;
    }

    // Sorts one event into the pending pointer events or the key queue; true when the window
    // needs its picture again.
    bool take(const SDL_Event& event) {
        switch (event.type) {
        case SDL_QUIT:
            queueClose();
            return false;
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
            case SDL_WINDOWEVENT_CLOSE:
                queueClose();
                return false;
            case SDL_WINDOWEVENT_SHOWN:
            case SDL_WINDOWEVENT_EXPOSED:
            case SDL_WINDOWEVENT_RESTORED:
            case SDL_WINDOWEVENT_MAXIMIZED:
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                return true;
            case SDL_WINDOWEVENT_ENTER:
            case SDL_WINDOWEVENT_LEAVE:
                pending.push_back(event);
                return false;
            default:
                return false;
            }
        case SDL_MOUSEMOTION:
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
        case SDL_MOUSEWHEEL:
            pending.push_back(event);
            return false;
        case SDL_TEXTINPUT:
            typeText(event.text.text);
            return false;
        case SDL_KEYDOWN: {
            const SDL_Keycode key = event.key.keysym.sym;
            if (const int code = extendedCode(key); code >= 0) {
                std::string text(1, static_cast<char>(EXTENDED_KEY));
                text += static_cast<char>(code);
                keys.push_back(std::move(text));
            } else if (const int control = controlCode(key); control >= 0) {
                keys.emplace_back(1, static_cast<char>(control));
            }
            return false;
        }
        default:
            return false;
        }
    }

    // A full pump costs several system calls and SDL's whole event machinery; the game polls
    // every millisecond, and nearly every poll finds nothing. When the X connection has nothing
    // to read and SDL's queue is empty, there is nothing to pump. Xlib may still hold events it
    // read while waiting for a reply (presenting waits for one), so a full pump also follows
    // every present and runs at least every FULL_PUMP_MS.
    bool worthPumping() {
        const std::uint64_t now = SDL_GetTicks64();
        if (xConnection >= 0 && now < nextFullPump &&
            SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) == SDL_FALSE) {
            pollfd connection{xConnection, POLLIN, 0};
            if (::poll(&connection, 1, 0) == 0) {
                return false;
            }
        }
        nextFullPump = now + FULL_PUMP_MS;
        return true;
    }

    void queueClose() {
        // Closing the last window gives a window event and a quit event together: one request.
        if (closeQueued) {
            return;
        }
        closeQueued = true;
        std::string text(1, static_cast<char>(EXTENDED_KEY));
        text += static_cast<char>(KEY_CLOSE);
        keys.push_back(std::move(text));
    }

    void typeText(const char* utf8) {
        const auto* p = reinterpret_cast<const unsigned char*>(utf8);
        while (*p != 0) {
            std::uint32_t cp = *p;
            int extra = cp < 0x80 ? 0 : cp >= 0xF0 ? 3 : cp >= 0xE0 ? 2 : cp >= 0xC0 ? 1 : -1;
            ++p;
            if (extra < 0) {
                continue;
            }
            cp &= 0x7Fu >> extra;
            for (; extra > 0 && (*p & 0xC0) == 0x80; --extra, ++p) {
                cp = cp << 6 | (*p & 0x3F);
            }
            if (extra != 0) {
                continue;
            }
            if (const auto byte = unicodeToCp437(cp)) {
                keys.emplace_back(1, static_cast<char>(*byte));
            }
        }
    }

    // Applies the pending pointer events in order, but stops before an event that would undo
    // a button change made in this poll, so that every press and release is seen once.
    void applyPendingMouse() {
        int changed = 0;
        while (!pending.empty()) {
            const SDL_Event& event = pending.front();
            switch (event.type) {
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: {
                const int bit = buttonBit(event.button.button);
                if ((changed & bit) != 0) {
                    return;
                }
                changed |= bit;
                if (event.type == SDL_MOUSEBUTTONDOWN) {
                    buttons |= bit;
                } else {
                    buttons &= ~bit;
                }
                movePointer(event.button.x, event.button.y);
                break;
            }
            case SDL_MOUSEMOTION:
                movePointer(event.motion.x, event.motion.y);
                break;
            case SDL_MOUSEWHEEL: {
                const int steps = event.wheel.y;
                wheel += event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -steps : steps;
                break;
            }
            case SDL_WINDOWEVENT:
                if (event.window.event == SDL_WINDOWEVENT_LEAVE) {
                    inside = false;
                } else {
                    int x = 0;
                    int y = 0;
                    SDL_GetMouseState(&x, &y);
                    movePointer(x, y);
                }
                break;
            default:
                break;
            }
            pending.pop_front();
        }
    }

    void movePointer(int x, int y) {
        pointerX = x;
        pointerY = y;
        // While a button is held the window keeps receiving motion beyond its edges.
        inside = x >= 0 && y >= 0 && x < width && y < height;
    }

    SDL_Window* window = nullptr;
    int width = 0;
    int height = 0;
    std::string title;
    int pointerX = -1;
    int pointerY = -1;
    bool inside = false;
    int buttons = 0;
    int wheel = 0;
    bool closeQueued = false;
    bool pumpedForKeys = false;
    static constexpr std::uint64_t FULL_PUMP_MS = 10;
    int xConnection = -1; // the X server connection's descriptor; -1 on other window systems
    std::uint64_t nextFullPump = 0;
    std::deque<SDL_Event> pending;
    std::deque<std::string> keys;
};

} // namespace

void install() {
    installBackend(std::make_unique<SdlBackend>());
}

} // namespace platform::sdl
