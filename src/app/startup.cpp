#include "app/startup.h"

#include "app/instance_mutex.h"
#include "app/setup_window.h"

namespace app {
namespace {

int Run(setupdata::SetupContext& context, ui::WindowSystem& ws) {
    MessageLoop loop(ws);
    SetupWindow mainWindow(ws, context, loop);
    if (!mainWindow.Create()) return 0;
    ws.ShowWindow(mainWindow.window, true);
    return loop.Run();
}

}  // namespace

int RunSetup(setupdata::SetupContext& context, ui::WindowSystem& ws) {
    InstanceMutex mutex;
    using Result = os::NamedMutex::Result;
    const Result created = mutex.Create(context.mutexName);
    // Another setup runs, or the name is taken: this one ends, releasing the mutex on the way out.
    if (created == Result::AlreadyExists || created == Result::NameTakenByOtherKind) return 0;
    return Run(context, ws);
}

}  // namespace app
