// The platform layer: the one window, its 32-bit framebuffer, drawing into it, images,
// input, time, files and the console. Toolkit and game code reach the window system only
// through this header.
//
// Sections: backends · window and framebuffer · drawing · images · input and time ·
// files and console.
//
// Contract every backend fulfils:
// - The framebuffer belongs to the platform, not to the window system: `pixels()` and
//   `strideBytes()` are fixed from `openWindow` to the end of the run, so cairo surfaces and
//   other long-lived pointers into it stay valid. Pixels are 0xAARRGGBB, stored exactly as
//   drawn; the alpha byte has no visible effect.
// - `unlock()` presents the whole frame. Drawing done outside a lock (cairo, primitives)
//   becomes visible by itself within a few milliseconds of the next input poll: drawing marks
//   the frame dirty, and the backend presents a dirty frame when it polls. A window that is
//   mapped late or exposed again shows the last frame again.
// - Nothing here throws; failures are results (false, null, empty).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

using Color = std::uint32_t;

// ---------------------------------------------------------------------------------------------
// Backends. A program installs exactly one before it opens the window: the SDL2 window for the
// real program, the headless one (platform/headless.h) for tests.

struct MouseState {
    int x = -1;      // window pixels; negative while the pointer is outside the window
    int y = -1;
    int wheel = 0;   // running counter of wheel steps (away from the user counts up)
    int buttons = 0; // bit 1 left, bit 2 right, bit 4 middle
};

class Backend {
public:
    virtual ~Backend() = default;
    // Creates the window for a framebuffer of width × height pixels that the platform owns.
    virtual bool open(int width, int height) = 0;
    virtual void close() = 0;
    // Title bytes are code page 437.
    virtual void setTitle(std::string_view cp437Title) = 0;
    // Shows the framebuffer; stride in bytes.
    virtual void present(const std::uint32_t* pixels, int width, int height, int strideBytes) = 0;
    // Pumps the window system; presents the frame when `dirty` says so (and clears it).
    virtual MouseState queryMouse(bool& dirty) = 0;
    // "" when no key is waiting, one character, or "\xFF" + code for an extended key.
    virtual std::string readKey() = 0;
    virtual void sleepMs(int ms) = 0;
    virtual std::uint64_t nowMs() = 0;
};

void installBackend(std::unique_ptr<Backend> backend);
Backend* backend();

// ---------------------------------------------------------------------------------------------
// Window and framebuffer.

// One window at a time; false when it cannot be opened (no backend, no display, bad size).
bool openWindow(int width, int height);
void closeWindow();
bool windowOpen();
int windowWidth();
int windowHeight();
void setTitle(std::string_view cp437Title);

// The text grid fixes the font: the cell height is windowHeight() / rows, and text is drawn
// with the 8-pixel-wide font of height 16 (cell >= 16), 14 (14, 15) or 8 (8 to 13).
void setTextGrid(int columns, int rows);
int textColumns();
int textRows();
int glyphHeight(); // 0 when the cell is smaller than 8 pixels

std::uint32_t* pixels();
int strideBytes();
void lock();
void unlock(); // presents the whole frame
// Marks the frame changed by drawing that bypassed this header (cairo).
void invalidate();
// For backends: the framebuffer as it is, without marking it changed; null before the first
// openWindow.
const std::uint32_t* framePixels();

void setDefaultColors(Color foreground, Color background);
Color defaultForeground();
Color defaultBackground();
void clearWindow(); // whole window to the default background

// ---------------------------------------------------------------------------------------------
// Drawing. Every primitive clips to the window; corners and end points are inclusive.

void setPixel(int x, int y, Color color);
Color getPixel(int x, int y); // 0 outside the window
void drawLine(int x1, int y1, int x2, int y2, Color color); // Bresenham, both ends drawn
void drawBox(int x1, int y1, int x2, int y2, Color color);  // one-pixel outline
void fillBox(int x1, int y1, int x2, int y2, Color color);
// One glyph per byte (code page 437), top-left at (x, y); only set glyph pixels are drawn.
void drawText(int x, int y, std::string_view cp437Text, Color color);

// ---------------------------------------------------------------------------------------------
// Images: w × h pixels of 0xAARRGGBB, owned by whoever holds the handle.

struct Image;
struct ImageDeleter {
    void operator()(Image* image) const;
};
using ImagePtr = std::unique_ptr<Image, ImageDeleter>;

ImagePtr createImage(int width, int height); // null when width or height < 1 or no memory
int imageWidth(const Image& image);
int imageHeight(const Image& image);
// Copies the window rectangle of the image's size at (x, y); pixels outside the window
// become 0.
void copyToImage(Image& image, int x, int y);
Color getImagePixel(const Image& image, int x, int y); // 0 outside the image
void setImagePixel(Image& image, int x, int y, Color color);
// Pixels of the colour 0xFFFF00FF (the toolkit's TRANSPARENT) do not belong to the picture:
// putting and blending leave the window unchanged there.
// Opaque copy of every other pixel, clipped to the window.
void putImage(const Image& image, int x, int y);
// Per channel, alpha included: (image × opacity + window × (255 − opacity) + 127) / 255;
// opacity is clamped to 0..255.
void blendImage(const Image& image, int x, int y, int opacity);

// ---------------------------------------------------------------------------------------------
// Input and time.

MouseState queryMouse();
std::string readKey();
inline constexpr int EXTENDED_KEY = 255;
inline constexpr int KEY_CLOSE = 107; // the window's close button, as an extended key
void sleepMs(int ms);
std::uint64_t nowMs();

// ---------------------------------------------------------------------------------------------
// Files and console. A "\" in a file name is a folder separator.

std::string nativePath(std::string_view name);
bool fileExists(std::string_view name); // plain files only, not folders
std::optional<std::string> readFile(std::string_view name);
// Splits at LF, CR LF and lone CR; a last line without an end is kept; nullopt when unreadable.
std::optional<std::vector<std::string>> readLines(std::string_view name);
// Writes to a temporary file beside the target, flushes it to disk and renames it over the
// target; on any failure the old file is untouched and the result is false.
bool writeFileReplacing(std::string_view name, std::string_view content);
void writeConsoleLine(std::string_view line);

} // namespace platform
