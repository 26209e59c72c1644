// Backend-independent half of the platform layer: the installed backend, the window state,
// the framebuffer and everything drawn into it, images, and the input and time calls that
// forward to the backend.
//
// Sections: state · backends · window and framebuffer · drawing · images · input and time.
#include "platform/platform.h"

#include "platform/font.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <new>
#include <utility>

namespace platform {

// ---------------------------------------------------------------------------------------------
// State.

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Color> pixels;
};

namespace {

// Larger windows are refused: the framebuffer is width × height × 4 bytes in one block, and
// the products below stay far from int overflow.
constexpr int MAX_WINDOW_SIDE = 16384;
constexpr int MAX_IMAGE_SIDE = 16384;
constexpr Color IMAGE_TRANSPARENT = 0xFFFF00FF;

struct WindowState {
    std::unique_ptr<Backend> backend;
    bool open = false;
    int width = 0;
    int height = 0;
    // Kept when the window closes, so that pointers taken into it (a cairo surface) never
    // dangle; reallocated only when a window of another size is opened.
    std::vector<std::uint32_t> frame;
    int columns = 0;
    int rows = 0;
    Color foreground = 0xFFFFFF;
    Color background = 0x000000;
    int lockDepth = 0;
    bool dirty = false;
};

WindowState& state() {
    static WindowState s;
    return s;
}

bool inside(int x, int y) {
    const WindowState& s = state();
    return x >= 0 && y >= 0 && x < s.width && y < s.height;
}

// Fills the clipped span [x1, x2] of row y; the caller has ordered x1 <= x2.
void fillSpan(int x1, int x2, int y, Color color) {
    WindowState& s = state();
    if (y < 0 || y >= s.height || x2 < 0 || x1 >= s.width) {
        return;
    }
    x1 = std::max(x1, 0);
    x2 = std::min(x2, s.width - 1);
    std::uint32_t* row = s.frame.data() + static_cast<std::size_t>(y) * s.width;
    std::fill(row + x1, row + x2 + 1, color);
}

void fillColumn(int x, int y1, int y2, Color color) {
    WindowState& s = state();
    if (x < 0 || x >= s.width || y2 < 0 || y1 >= s.height) {
        return;
    }
    y1 = std::max(y1, 0);
    y2 = std::min(y2, s.height - 1);
    for (int y = y1; y <= y2; ++y) {
        s.frame[static_cast<std::size_t>(y) * s.width + x] = color;
    }
}

std::uint32_t blendChannel(std::uint32_t over, std::uint32_t under, std::uint32_t opacity) {
    return (over * opacity + under * (255 - opacity) + 127) / 255;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Backends.

void installBackend(std::unique_ptr<Backend> newBackend) {
    WindowState& s = state();
    if (s.open && s.backend) {
        s.backend->close();
    }
    s.open = false;
    s.lockDepth = 0;
    s.dirty = false;
    s.backend = std::move(newBackend);
}

Backend* backend() {
    return state().backend.get();
}

// ---------------------------------------------------------------------------------------------
// Window and framebuffer.

bool openWindow(int width, int height) {
    WindowState& s = state();
    if (!s.backend || width < 1 || height < 1 || width > MAX_WINDOW_SIDE ||
        height > MAX_WINDOW_SIDE) {
        return false;
    }
    if (s.open) {
        closeWindow();
    }
    const auto size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    try {
        if (s.frame.size() != size) {
            s.frame.assign(size, s.background);
        } else {
            std::fill(s.frame.begin(), s.frame.end(), s.background);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    s.width = width;
    s.height = height;
    s.columns = width / font::GLYPH_WIDTH;
    s.rows = std::max(height / 16, 1);
    s.lockDepth = 0;
    if (!s.backend->open(width, height)) {
        return false;
    }
    s.open = true;
    // The first poll shows the cleared frame even if nothing is drawn before it.
    s.dirty = true;
    return true;
}

void closeWindow() {
    WindowState& s = state();
    if (s.open && s.backend) {
        s.backend->close();
    }
    s.open = false;
    s.lockDepth = 0;
    s.dirty = false;
}

bool windowOpen() {
    return state().open;
}

int windowWidth() {
    return state().width;
}

int windowHeight() {
    return state().height;
}

void setTitle(std::string_view cp437Title) {
    WindowState& s = state();
    if (s.backend) {
        s.backend->setTitle(cp437Title);
    }
}

void setTextGrid(int columns, int rows) {
    // A grid without rows would make the cell height a division by zero: it is ignored.
    if (columns < 1 || rows < 1) {
        return;
    }
    state().columns = columns;
    state().rows = rows;
}

int textColumns() {
    return state().columns;
}

int textRows() {
    return state().rows;
}

int glyphHeight() {
    const WindowState& s = state();
    if (s.rows < 1) {
        return 0;
    }
    const int cell = s.height / s.rows;
    if (cell >= 16) {
        return 16;
    }
    if (cell >= 14) {
        return 14;
    }
    return cell >= 8 ? 8 : 0;
}

std::uint32_t* pixels() {
    WindowState& s = state();
    // Whoever takes the pointer is about to draw through it.
    s.dirty = true;
    return s.frame.empty() ? nullptr : s.frame.data();
}

const std::uint32_t* framePixels() {
    const WindowState& s = state();
    return s.frame.empty() ? nullptr : s.frame.data();
}

int strideBytes() {
    return state().width * 4;
}

void lock() {
    ++state().lockDepth;
}

void unlock() {
    WindowState& s = state();
    if (s.lockDepth > 0) {
        --s.lockDepth;
    }
    if (s.lockDepth > 0 || !s.open) {
        return;
    }
    s.backend->present(s.frame.data(), s.width, s.height, strideBytes());
    s.dirty = false;
}

void invalidate() {
    state().dirty = true;
}

void setDefaultColors(Color foreground, Color background) {
    state().foreground = foreground;
    state().background = background;
}

Color defaultForeground() {
    return state().foreground;
}

Color defaultBackground() {
    return state().background;
}

void clearWindow() {
    WindowState& s = state();
    std::fill(s.frame.begin(), s.frame.end(), s.background);
    s.dirty = true;
}

// ---------------------------------------------------------------------------------------------
// Drawing.

void setPixel(int x, int y, Color color) {
    if (!inside(x, y)) {
        return;
    }
    WindowState& s = state();
    s.frame[static_cast<std::size_t>(y) * s.width + x] = color;
    s.dirty = true;
}

Color getPixel(int x, int y) {
    if (!inside(x, y)) {
        return 0;
    }
    const WindowState& s = state();
    return s.frame[static_cast<std::size_t>(y) * s.width + x];
}

void drawLine(int x1, int y1, int x2, int y2, Color color) {
    WindowState& s = state();
    s.dirty = true;
    if (y1 == y2) {
        fillSpan(std::min(x1, x2), std::max(x1, x2), y1, color);
        return;
    }
    if (x1 == x2) {
        fillColumn(x1, std::min(y1, y2), std::max(y1, y2), color);
        return;
    }
    // A line whose bounding box misses the window draws nothing; skip the walk.
    if (std::max(x1, x2) < 0 || std::min(x1, x2) >= s.width || std::max(y1, y2) < 0 ||
        std::min(y1, y2) >= s.height) {
        return;
    }
    // Integer Bresenham over 64-bit error terms, so that far-away end points cannot overflow.
    std::int64_t x = x1;
    std::int64_t y = y1;
    const std::int64_t dx = x2 >= x1 ? std::int64_t{x2} - x1 : std::int64_t{x1} - x2;
    const std::int64_t dy = -(y2 >= y1 ? std::int64_t{y2} - y1 : std::int64_t{y1} - y2);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    std::int64_t error = dx + dy;
    for (;;) {
        if (x >= 0 && y >= 0 && x < s.width && y < s.height) {
            s.frame[static_cast<std::size_t>(y) * s.width + static_cast<std::size_t>(x)] = color;
        }
        if (x == x2 && y == y2) {
            break;
        }
        const std::int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

void drawBox(int x1, int y1, int x2, int y2, Color color) {
    const int left = std::min(x1, x2);
    const int right = std::max(x1, x2);
    const int top = std::min(y1, y2);
    const int bottom = std::max(y1, y2);
    state().dirty = true;
    fillSpan(left, right, top, color);
    if (bottom != top) {
        fillSpan(left, right, bottom, color);
    }
    if (bottom - top >= 2) {
        fillColumn(left, top + 1, bottom - 1, color);
        if (right != left) {
            fillColumn(right, top + 1, bottom - 1, color);
        }
    }
}

void fillBox(int x1, int y1, int x2, int y2, Color color) {
    WindowState& s = state();
    const int left = std::max(std::min(x1, x2), 0);
    const int right = std::min(std::max(x1, x2), s.width - 1);
    const int top = std::max(std::min(y1, y2), 0);
    const int bottom = std::min(std::max(y1, y2), s.height - 1);
    s.dirty = true;
    for (int y = top; y <= bottom; ++y) {
        fillSpan(left, right, y, color);
    }
}

void drawText(int x, int y, std::string_view cp437Text, Color color) {
    WindowState& s = state();
    const int height = glyphHeight();
    if (height == 0) {
        return;
    }
    s.dirty = true;
    // 64-bit pen so that a long text starting far left cannot overflow.
    std::int64_t penX = x;
    for (const char c : cp437Text) {
        if (penX >= s.width) {
            break;
        }
        if (penX + font::GLYPH_WIDTH > 0) {
            const std::uint8_t* rows = font::glyphRows(height, static_cast<unsigned char>(c));
            for (int row = 0; row < height; ++row) {
                const std::uint8_t bits = rows[row];
                for (int column = 0; column < font::GLYPH_WIDTH; ++column) {
                    if ((bits & (0x80 >> column)) != 0) {
                        setPixel(static_cast<int>(penX) + column, y + row, color);
                    }
                }
            }
        }
        penX += font::GLYPH_WIDTH;
    }
}

// ---------------------------------------------------------------------------------------------
// Images.

void ImageDeleter::operator()(Image* image) const {
    delete image;
}

ImagePtr createImage(int width, int height) {
    if (width < 1 || height < 1 || width > MAX_IMAGE_SIDE || height > MAX_IMAGE_SIDE) {
        return nullptr;
    }
    auto* image = new (std::nothrow) Image;
    if (image == nullptr) {
        return nullptr;
    }
    ImagePtr owned(image);
    try {
        image->pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    image->width = width;
    image->height = height;
    return owned;
}

int imageWidth(const Image& image) {
    return image.width;
}

int imageHeight(const Image& image) {
    return image.height;
}

void copyToImage(Image& image, int x, int y) {
    for (int row = 0; row < image.height; ++row) {
        for (int column = 0; column < image.width; ++column) {
            image.pixels[static_cast<std::size_t>(row) * image.width + column] =
                getPixel(x + column, y + row);
        }
    }
}

Color getImagePixel(const Image& image, int x, int y) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) {
        return 0;
    }
    return image.pixels[static_cast<std::size_t>(y) * image.width + x];
}

void setImagePixel(Image& image, int x, int y, Color color) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) {
        return;
    }
    image.pixels[static_cast<std::size_t>(y) * image.width + x] = color;
}

void putImage(const Image& image, int x, int y) {
    for (int row = 0; row < image.height; ++row) {
        for (int column = 0; column < image.width; ++column) {
            const Color color = image.pixels[static_cast<std::size_t>(row) * image.width + column];
            if (color != IMAGE_TRANSPARENT) {
                setPixel(x + column, y + row, color);
            }
        }
    }
    state().dirty = true;
}

void blendImage(const Image& image, int x, int y, int opacity) {
    const auto alpha = static_cast<std::uint32_t>(std::clamp(opacity, 0, 255));
    for (int row = 0; row < image.height; ++row) {
        for (int column = 0; column < image.width; ++column) {
            const Color over = image.pixels[static_cast<std::size_t>(row) * image.width + column];
            if (over == IMAGE_TRANSPARENT || !inside(x + column, y + row)) {
                continue;
            }
            const Color under = getPixel(x + column, y + row);
            Color blended = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                blended |= blendChannel(over >> shift & 0xFF, under >> shift & 0xFF, alpha)
                           << shift;
            }
            setPixel(x + column, y + row, blended);
        }
    }
    state().dirty = true;
}

// ---------------------------------------------------------------------------------------------
// Input and time. Without a backend there is no window: no pointer, no keys, no time.

MouseState queryMouse() {
    WindowState& s = state();
    if (!s.backend) {
        return MouseState{};
    }
    // A frame half drawn under the lock is not shown; the unlock presents it.
    bool presentNow = s.open && s.dirty && s.lockDepth == 0;
    const bool wanted = presentNow;
    MouseState mouse = s.backend->queryMouse(presentNow);
    if (wanted && !presentNow) {
        s.dirty = false;
    }
    return mouse;
}

std::string readKey() {
    WindowState& s = state();
    return s.backend ? s.backend->readKey() : std::string{};
}

void sleepMs(int ms) {
    WindowState& s = state();
    if (s.backend) {
        s.backend->sleepMs(std::max(ms, 0));
    }
}

std::uint64_t nowMs() {
    WindowState& s = state();
    return s.backend ? s.backend->nowMs() : 0;
}

} // namespace platform
