// Paints the frames the demo must show at each step of its end-to-end test, with the demo's own
// screen code on the headless backend, and writes them as binary PPMs into the given folder:
// start, file-open, new-game, hints.
#include "platform/headless.h"
#include "toolkit/demo/screen.h"

#include <functional>
#include <string>

namespace {

using Steps = std::function<void(VESKA::EVENTHANDLE&, demo::Gadgets&)>;

// The demo's start-up, then `steps`, saved as <folder>/<name>.ppm.
bool paintFrame(const std::string& folder, const char* name, const Steps& steps) {
    VESKA::theme = VESKA::Theme{};
    platform::headless::install();
    if (!platform::openWindow(demo::WIDTH, demo::HEIGHT)) {
        return false;
    }
    platform::setTextGrid(demo::GRID_COLUMNS, demo::GRID_ROWS);
    VESKA::initTheme(true);
    demo::paintScene();
    bool saved = false;
    {
        VESKA::EVENTHANDLE handle;
        demo::Gadgets gadgets = demo::createGadgets(handle);
        demo::createMenus(handle);
        demo::showStatus("Ready.");
        steps(handle, gadgets);
        saved = platform::headless::saveFrame(folder + "/" + name + ".ppm");
    }
    platform::closeWindow();
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        platform::writeConsoleLine("usage: toolkit_demo_frames <folder>");
        return 2;
    }
    const std::string folder = argv[1];
    using VESKA::EVENTHANDLE;
    const bool ok =
        paintFrame(folder, "start", [](EVENTHANDLE&, demo::Gadgets&) {}) &&
        // Held on "File": the menu opens, then its title is highlighted.
        paintFrame(folder, "file-open",
                   [](EVENTHANDLE& handle, demo::Gadgets&) {
                       VESKA::MENUHEADER* file = VESKA::getFirstMenu(&handle);
                       file->onOpen(&handle, file);
                       file->onHighlight(file, 1);
                   }) &&
        // Closing puts back what the drop-down covered.
        paintFrame(folder, "new-game",
                   [](EVENTHANDLE&, demo::Gadgets&) { demo::showStatus("Chosen: New game"); }) &&
        paintFrame(folder, "hints", [](EVENTHANDLE&, demo::Gadgets& gadgets) {
            demo::showStatus("Chosen: New game");
            VESKA::setGadgetValue(gadgets.hints, 1);
            demo::showStatus("Hints on");
        });
    return ok ? 0 : 1;
}
