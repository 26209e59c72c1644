// A real SDL2 window for the end-to-end test platform/tests/e2e/sdl_window_e2e.py, which runs
// it under Xvfb and drives it with real X pointer and key events.
//
// At start it paints a known picture (primitives, text, a blended image and a cairo disc
// drawn over pixels()), presents it once right after opening - before the X server has mapped
// the window, so the picture only reaches the screen if the backend presents again when the
// window is exposed - and writes the framebuffer to $DISC_PROBE_DIR/frame-a.ppm. Then it polls
// like the game does (pointer, key, 1 ms sleep) and reports every change on stdout:
//   mouse <x> <y> <buttons> <wheel>
//   key <hex bytes>
// Typing "b" paints a second picture without lock or unlock (the poll must present it) and
// writes frame-b.ppm. The window's close request ends the program with exit code 0.
#include "platform/headless.h"
#include "platform/platform.h"
#include "platform/sdl.h"

#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void paintPictureA(cairo_t* context) {
    platform::setDefaultColors(0xE0E0E0, 0x202020);
    platform::clearWindow();
    platform::fillBox(0, 0, 383, 48, 0x101010);
    platform::drawBox(10, 60, 120, 140, 0xFF0000);
    platform::drawLine(10, 150, 370, 200, 0x00FF00);
    platform::drawLine(370, 150, 10, 300, 0x0000FF);
    for (int x = 200; x < 380; x += 3) {
        platform::setPixel(x, 70, 0xFFFF00);
    }
    platform::drawText(24, 16, "Wei\xE1 am Zug \x01\x02\xC9\xCD\xBB", 0xE0E0E0);
    platform::ImagePtr image = platform::createImage(40, 30);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            platform::setImagePixel(*image, x, y, (x * 6) << 16 | (y * 8) << 8 | 0x80);
        }
    }
    platform::blendImage(*image, 300, 90, 168);
    // A disc as the board view paints one: over the framebuffer's own pixels.
    cairo_set_source_rgb(context, 176 / 255.0, 176 / 255.0, 176 / 255.0);
    cairo_arc(context, 96, 384, 20, 0.0, 6.283185308);
    cairo_fill(context);
    platform::invalidate();
}

void paintPictureB() {
    platform::fillBox(0, 432, 383, 479, 0x336699);
    platform::drawText(8, 440, "b: drawn without unlock", 0xFFFFFF);
}

bool save(const char* name) {
    const char* folder = std::getenv("DISC_PROBE_DIR");
    const std::string path = std::string(folder != nullptr ? folder : ".") + "/" + name;
    // The headless writer only reads the platform framebuffer, whichever backend shows it.
    return platform::headless::saveFrame(path);
}

} // namespace

int main() {
    platform::sdl::install();
    if (!platform::openWindow(384, 480)) {
        std::fprintf(stderr, "no window\n");
        return 2;
    }
    platform::setTitle("Vier gewinnt \x81\x01");
    platform::setTextGrid(48, 30);
    cairo_surface_t* surface =
        cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(platform::pixels()),
                                            CAIRO_FORMAT_ARGB32, 384, 480, platform::strideBytes());
    cairo_t* context = cairo_create(surface);
    platform::lock();
    paintPictureA(context);
    platform::unlock();
    if (!save("frame-a.ppm")) {
        std::fprintf(stderr, "cannot write frame-a.ppm\n");
        return 2;
    }
    std::printf("ready\n");
    std::fflush(stdout);

    platform::MouseState last{};
    int exitCode = 1;
    for (;;) {
        const platform::MouseState mouse = platform::queryMouse();
        const std::string key = platform::readKey();
        if (mouse.x != last.x || mouse.y != last.y || mouse.buttons != last.buttons ||
            mouse.wheel != last.wheel) {
            std::printf("mouse %d %d %d %d\n", mouse.x, mouse.y, mouse.buttons, mouse.wheel);
            last = mouse;
        }
        if (!key.empty()) {
            std::printf("key");
            for (const char c : key) {
                std::printf(" %02x", static_cast<unsigned char>(c));
            }
            std::printf("\n");
            if (key.size() == 2 && static_cast<unsigned char>(key[0]) == platform::EXTENDED_KEY &&
                key[1] == platform::KEY_CLOSE) {
                exitCode = 0;
                std::fflush(stdout);
                break;
            }
            if (key == "b") {
                paintPictureB();
                save("frame-b.ppm");
                std::printf("painted b\n");
            }
        }
        std::fflush(stdout);
        platform::sleepMs(1);
    }
    cairo_destroy(context);
    cairo_surface_destroy(surface);
    platform::closeWindow();
    return exitCode;
}
