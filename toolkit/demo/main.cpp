// toolkit-demo: what an application on the VESKA toolkit looks like. One window with a menu
// bar (one disabled item, one disabled menu), two check boxes, two push buttons (one
// disabled), one of each decoration primitive, and a status line saying what happened last.
// Closing the window, or File > Quit, ends it with exit code 0.
#include "platform/sdl.h"
#include "toolkit/demo/screen.h"

#include <string>

int main() {
    using namespace VESKA;
    platform::sdl::install();
    if (!platform::openWindow(demo::WIDTH, demo::HEIGHT)) {
        platform::writeConsoleLine("Error: Can't open the window");
        return 1;
    }
    platform::setTextGrid(demo::GRID_COLUMNS, demo::GRID_ROWS);
    platform::setTitle("VESKA toolkit demo");
    initTheme(true);
    demo::paintScene();

    // Declared after the window is open and destroyed before it closes: the gadgets own
    // images of the window.
    {
        EVENTHANDLE handle;
        const demo::Gadgets gadgets = demo::createGadgets(handle);
        demo::createMenus(handle);
        demo::showStatus("Ready.");

        while (true) {
            pollEvents(&handle, 1, 1);
            if (handle.quit) {
                break;
            }
            if (handle.chosenItem) {
                if (handle.chosenItemId == demo::ID_QUIT) {
                    break;
                }
                demo::showStatus("Chosen: " + handle.chosenItem->text);
            } else if (GADGET* clicked = handle.clicked) {
                if (clicked == gadgets.sound || clicked == gadgets.hints) {
                    demo::showStatus(clicked->text + (clicked->value ? " on" : " off"));
                } else {
                    demo::showStatus("Clicked: " + clicked->text);
                }
            }
        }
    }
    platform::closeWindow();
    return 0;
}
