// The menu of the window: Exit closes it; every other item is one of the
// game's commands, found by its id in the table the page uses too.
#include <windows.h>

#include "app/commands.h"
#include "app/resource_ids.h"
#include "app/win32/win32_app.h"

namespace lanterra::win32 {

void OnMenuCommand(Application& app, int commandId) {
  if (commandId == IDC_EXIT) {
    // The window's destruction ends the message loop and the process.
    DestroyWindow(app.handles.mainWindow);
  } else if (const std::optional<Command> command = CommandForId(commandId)) {
    app.game->Run(*command);
  }
  // Any other id is swallowed.
}

}  // namespace lanterra::win32
